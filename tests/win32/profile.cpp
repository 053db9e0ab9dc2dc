// The older Windows' paths: which functions each profile lacks, the resolver that refuses them,
// and that Wine reports the profile's Windows.

#include "profile.h"

#include "app/win32/laterapi.h"
#include "driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>

namespace windowtest {

namespace {

constexpr DWORD windows(DWORD major, DWORD minor)
{
    return (major << 8U) | minor;
}

// Every function that the program looks up at run time, with the Windows that brought it.
constexpr std::array<std::pair<std::string_view, DWORD>, 6> since { {
    { "LoadIconWithScaleDown", windows(6, 0) },
    { "AddDllDirectory", windows(6, 2) },
    { "GetDpiForMonitor", windows(6, 3) },
    { "GetDpiForWindow", windows(10, 0) },
    { "AdjustWindowRectExForDpi", windows(10, 0) },
    { "EnableNonClientDpiScaling", windows(10, 0) },
} };

constexpr std::array<WindowsProfile, 2> profiles { {
    { "win7", 6, 1 },
    { "win81", 6, 3 },
} };

WindowsProfile running { "", 0, 0 };
std::set<std::string> unknown;

FARPROC asOnTheProfile(const wchar_t *module, const char *name)
{
    const std::string_view function(name);
    const auto *known = std::find_if(since.begin(), since.end(),
        [function](const auto &entry) { return entry.first == function; });
    if (known == since.end()) {
        unknown.emplace(function);
        return nullptr;
    }
    if (!running.name.empty() && known->second > windows(running.major, running.minor))
        return nullptr;
    return tarnwick::win32::systemResolver(module, name);
}

// The version Windows reports, as the kernel knows it (no compatibility shim in the way).
std::pair<DWORD, DWORD> reportedVersion()
{
    using GetVersion = LONG WINAPI(OSVERSIONINFOW *);
    auto *get
        = reinterpret_cast<GetVersion *>( // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
            reinterpret_cast<void *>(
                GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (get == nullptr || get(&info) != 0)
        return { 0, 0 };
    return { info.dwMajorVersion, info.dwMinorVersion };
}

} // namespace

bool takeWindowsProfile(std::string_view argument)
{
    constexpr std::string_view flag = "--windows=";
    if (argument.starts_with(flag)) {
        const std::string_view name = argument.substr(flag.size());
        const auto *profile = std::find_if(profiles.begin(), profiles.end(),
            [name](const WindowsProfile &candidate) { return candidate.name == name; });
        if (profile == profiles.end())
            return false;
        running = *profile;
    }
    // Also without a profile, so that every lookup is checked against the table.
    tarnwick::win32::setLaterFunctionResolver(asOnTheProfile);
    return true;
}

const WindowsProfile &windowsProfile()
{
    return running;
}

std::set<std::string> unknownLookups()
{
    return unknown;
}

namespace {

TEST(Profile, WineReportsItsWindows)
{
    if (running.name.empty())
        GTEST_SKIP() << "the running system's own paths";
    EXPECT_EQ(reportedVersion(), std::pair(running.major, running.minor));
}

// A new lookup must say which Windows brought its function, or the profiles would not refuse
// it.
TEST(Profile, EveryLookupIsKnown)
{
    const Driver driver;
    driver.typeInto("Text1", L"1");
    EXPECT_EQ(unknownLookups(), std::set<std::string>());
}

// Found in the system folder, by the search flag where there is one, else by full path.
TEST(Profile, SystemLibrariesComeFromTheSystemFolder)
{
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetSystemDirectoryW(folder.data(), MAX_PATH));
    for (const wchar_t *module : { L"version.dll", L"oledlg.dll" }) {
        HMODULE handle = tarnwick::win32::loadSystemLibrary(module);
        ASSERT_NE(handle, nullptr) << narrow(module);
        std::wstring path(MAX_PATH, L'\0');
        path.resize(GetModuleFileNameW(handle, path.data(), MAX_PATH));
        EXPECT_EQ(
            CompareStringOrdinal(path.c_str(), -1, (folder + L'\\' + module).c_str(), -1, TRUE),
            CSTR_EQUAL)
            << narrow(path);
    }
}

} // namespace

} // namespace windowtest
