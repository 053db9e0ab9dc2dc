#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace tarnwick::win32 {

// The context menu of a result label, with its one item "复制(&C)", for a WM_CONTEXTMENU that the
// window receives: a right click on the label (which lets the mouse through to the window), or
// the keyboard's menu key with the focus on a button that answers for a label (a panel's
// "重量：", "="), the menu then placed at the label. `controls` are the window's children by
// control id. Returns whether the message concerned a result label; the menu changes nothing
// but the clipboard.
bool offerCopy(HWND window, std::span<const HWND> controls, WPARAM source, LPARAM at);

// Puts the text on the clipboard as Unicode text; returns whether it did. The text is made ready
// before the clipboard is touched, the clipboard opened with a few brief retries while another
// program holds it; where the copy still fails, the system's warning sound plays and the
// clipboard keeps what it held.
bool copyText(HWND owner, std::wstring_view text);

} // namespace tarnwick::win32
