#pragma once

#include "app/windowmodel.h"

#include <windows.h>

namespace tarnwick::win32 {

// The window commands' platform calls: the topmost band through SetWindowPos, the web page
// through the shell.
class Win32Platform final : public PlatformSeam
{
public:
    void attach(HWND window) { window_ = window; }

    // SWP_NOMOVE | SWP_NOSIZE: the window neither moves nor changes size.
    void setStayOnTop(bool onTop) override;
    // Opens the address with the user's default browser and returns at once; where the shell
    // cannot, nothing happens and the window goes on.
    void openWebPage(std::string_view address) override;

private:
    HWND window_ = nullptr;
};

} // namespace tarnwick::win32
