// Stands in for the browser in the window tests: the shell starts it with the address, it adds
// the address as a line to the file that TARNWICK_URL_LOG names, and ends. A window program of
// its own, so that no console window takes the front from the window under test.

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>

int WINAPI wWinMain(
    HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::array<wchar_t, MAX_PATH> log {};
    if (arguments == nullptr || count != 2
        || GetEnvironmentVariableW(L"TARNWICK_URL_LOG", log.data(), static_cast<DWORD>(log.size()))
            == 0)
        return 1;
    const std::wstring address = arguments[1];
    LocalFree(arguments);
    const int size
        = WideCharToMultiByte(CP_UTF8, 0, address.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, address.c_str(), -1, line.data(), size, nullptr, nullptr);
    line += '\n';
    HANDLE file = CreateFileW(log.data(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
