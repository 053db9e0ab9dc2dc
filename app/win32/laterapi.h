#pragma once

#include <windows.h>

// What later Windows added (and what the import libraries lack), looked up at run time so that
// the program still loads on Windows 7 SP1, each with the fallback the older systems take.
namespace tarnwick::win32 {

// The density the window is shown at: its monitor's on Windows 8.1 and later (per-monitor
// aware), the system's on Windows 7.
UINT windowDpi(HWND window);

// The window's outer rectangle for the given client rectangle at a density.
void adjustWindowRect(RECT *rect, DWORD style, DWORD exStyle, UINT dpi);

// The named icon of the module at the side in pixels: scaled down from a larger image with a
// good filter where the icon has no image of that size (Vista's comctl32 6), else as LoadImage
// picks it.
HICON loadIcon(HINSTANCE instance, const wchar_t *name, int side);

// Lets Windows 10 1607 scale the title bar of a per-monitor (version 1) aware window; later
// Windows do it by themselves, earlier ones cannot.
void enableNonClientDpiScaling(HWND window);

// A system DLL, from the system folder only: the one already loaded, else loaded from there
// (with the safe search flag where this Windows has it, by its full path where not).
HMODULE loadSystemLibrary(const wchar_t *module);

// Finds a function of a system DLL by name; null where this Windows lacks it.
using Resolver = FARPROC (*)(const wchar_t *module, const char *name);

// The resolver every lookup above goes through: the system's own (GetProcAddress) unless
// replaced. Each function is looked up once, at its first use; a test program replaces the
// resolver before the first window to take the paths of older Windows.
void setLaterFunctionResolver(Resolver resolver);
FARPROC systemResolver(const wchar_t *module, const char *name);

} // namespace tarnwick::win32
