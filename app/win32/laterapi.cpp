#include "app/win32/laterapi.h"

#include <string>

namespace tarnwick::win32 {

namespace {

Resolver resolver = systemResolver;

// The function of that name in the module, or null where this Windows lacks it.
template <class Function>
Function *lookUp(const wchar_t *module, const char *name)
{
    // A resolver hands back a generic function pointer: the cast names its real type.
    return reinterpret_cast<Function *>( // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
        reinterpret_cast<void *>(resolver(module, name)));
}

UINT systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

void setLaterFunctionResolver(Resolver replacement)
{
    resolver = replacement != nullptr ? replacement : systemResolver;
}

HMODULE loadSystemLibrary(const wchar_t *module)
{
    if (HMODULE loaded = GetModuleHandleW(module))
        return loaded;
    // The search flag came with AddDllDirectory (Windows 8; on Windows 7 with KB2533623),
    // and is refused without it.
    if (resolver(L"kernel32.dll", "AddDllDirectory") != nullptr)
        return LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length == 0 || length >= path.size())
        return nullptr;
    path.resize(length);
    path += L'\\';
    path += module;
    return LoadLibraryW(path.c_str());
}

FARPROC systemResolver(const wchar_t *module, const char *name)
{
    HMODULE handle = loadSystemLibrary(module);
    return handle != nullptr ? GetProcAddress(handle, name) : nullptr;
}

UINT windowDpi(HWND window)
{
    // Windows 10 1607.
    static auto *const forWindow = lookUp<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi != 0)
            return dpi;
    }
    // Windows 8.1: the monitor's effective density (MDT_EFFECTIVE_DPI).
    static auto *const forMonitor
        = lookUp<HRESULT WINAPI(HMONITOR, int, UINT *, UINT *)>(L"shcore.dll", "GetDpiForMonitor");
    if (forMonitor != nullptr) {
        UINT x = 0;
        UINT y = 0;
        const int effectiveDpi = 0;
        if (SUCCEEDED(forMonitor(
                MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), effectiveDpi, &x, &y))
            && y != 0)
            return y;
    }
    return systemDpi();
}

void adjustWindowRect(RECT *rect, DWORD style, DWORD exStyle, UINT dpi)
{
    static auto *const forDpi = lookUp<BOOL WINAPI(RECT *, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    if (forDpi == nullptr || forDpi(rect, style, FALSE, exStyle, dpi) == FALSE)
        AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

HICON loadIcon(HINSTANCE instance, const wchar_t *name, int side)
{
    static auto *const scaledDown
        = lookUp<HRESULT WINAPI(HINSTANCE, const wchar_t *, int, int, HICON *)>(
            L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaledDown != nullptr && SUCCEEDED(scaledDown(instance, name, side, side, &icon)))
        return icon;
    return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}

void enableNonClientDpiScaling(HWND window)
{
    static auto *const enable
        = lookUp<BOOL WINAPI(HWND)>(L"user32.dll", "EnableNonClientDpiScaling");
    if (enable != nullptr)
        enable(window);
}

} // namespace tarnwick::win32
