#include "app/win32/messageloop.h"

namespace tarnwick::win32 {

void handleMessage(HWND window, MSG *message)
{
    const bool toWindow = message->hwnd == window || IsChild(window, message->hwnd) != FALSE;
    // The dialog manager would turn Enter into a click of the focused push button (or IDOK)
    // and Escape into IDCANCEL.
    if (toWindow && message->message == WM_KEYDOWN
        && (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE))
        return;
    if (toWindow && IsDialogMessageW(window, message) != FALSE)
        return;
    TranslateMessage(message);
    DispatchMessageW(message);
}

int runMessageLoop(HWND window)
{
    MSG message {};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        handleMessage(window, &message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace tarnwick::win32
