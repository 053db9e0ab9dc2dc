#include "app/win32/mainwindow.h"
#include "app/win32/messageloop.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#if defined(__GLIBCXX__)
// A window program has no console to print an uncaught exception's name to: libstdc++'s verbose
// handler would only bring its C++ name demangler (45 KB) into the program file.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif

// The program: one window; closing it ends the program.
int WINAPI wWinMain(
    HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int showCommand)
{
    // The shell, the image decoder and the accessibility service are COM components.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls { sizeof(controls), ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);

    int status = 1;
    if (auto window = tarnwick::win32::MainWindow::create(instance)) {
        window->show(showCommand);
        status = tarnwick::win32::runMessageLoop(window->handle());
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
