#pragma once

#include <windows.h>

namespace tarnwick::win32 {

// Handles one message of the thread as the window's loop does: Tab and Shift+Tab walk the
// controls and the arrow keys move within an option group, as in a dialog; Enter and Escape
// press nothing (no button is the window's default or cancel button).
void handleMessage(HWND window, MSG *message);

// Runs the loop until the window ends it; returns the program's exit status.
int runMessageLoop(HWND window);

} // namespace tarnwick::win32
