#include "app/win32/platform.h"

#include "panels/text.h"

#include <shellapi.h>
#include <string>

namespace tarnwick::win32 {

void Win32Platform::setStayOnTop(bool onTop)
{
    SetWindowPos(
        window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32Platform::openWebPage(std::string_view address)
{
    const std::u16string wide = toUtf16(address);
    const std::wstring url(wide.begin(), wide.end());
    ShellExecuteW(window_, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace tarnwick::win32
