#include "app/win32/copymenu.h"

#include "app/captions.h"
#include "app/controltable.h"
#include "app/win32/wintext.h"
#include "panels/text.h"

#include <algorithm>
#include <optional>
#include <string>

namespace tarnwick::win32 {

namespace {

constexpr UINT copyItem = 1;
// Opening the clipboard is tried this often, this far apart: 50 ms in all.
constexpr int clipboardAttempts = 6;
constexpr DWORD clipboardPauseMs = 10;

// The result label under the point on the screen.
std::optional<std::size_t> labelAt(std::span<const HWND> controls, POINT at)
{
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        RECT place {};
        if (controlTable[index].kind == Kind::ResultLabel
            && GetWindowRect(controls[index], &place) != FALSE && PtInRect(&place, at) != FALSE)
            return index;
    }
    return std::nullopt;
}

// The result label that the control answers for.
std::optional<std::size_t> labelAnsweredBy(std::span<const HWND> controls, HWND control)
{
    const auto found = std::find(controls.begin(), controls.end(), control);
    if (found == controls.end())
        return std::nullopt;
    const std::string_view label = resultAnsweredBy(
        controlTable.at(static_cast<std::size_t>(found - controls.begin())).name);
    if (label.empty())
        return std::nullopt;
    return controlIndex(label);
}

} // namespace

bool offerCopy(HWND window, std::span<const HWND> controls, WPARAM source, LPARAM at)
{
    const bool fromKeyboard = static_cast<DWORD>(at) == 0xFFFFFFFF; // (-1, -1)
    const POINT point { static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)) };
    const std::optional<std::size_t> label = fromKeyboard
        ? labelAnsweredBy(controls, reinterpret_cast<HWND>(source)) // NOLINT: Win32's
        : labelAt(controls, point);
    if (!label)
        return false;

    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return true;
    AppendMenuW(menu, MF_STRING, copyItem, wide(toUtf16(copyCaption)).c_str());
    UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN;
    TPMPARAMS beside { sizeof(beside), {} };
    POINT place = point;
    if (fromKeyboard) {
        // Below the label, or above it where the screen ends; the label stays in sight.
        GetWindowRect(controls[*label], &beside.rcExclude);
        place = { beside.rcExclude.left, beside.rcExclude.bottom };
        flags |= TPM_VERTICAL;
    }
    const BOOL chosen
        = TrackPopupMenuEx(menu, flags, place.x, place.y, window, fromKeyboard ? &beside : nullptr);
    DestroyMenu(menu);
    if (chosen == copyItem)
        copyText(window, windowText(controls[*label]));
    return true;
}

bool copyText(HWND owner, std::wstring_view text)
{
    // The text first, so that nothing is emptied for a copy that cannot be made.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto *copy = static_cast<wchar_t *>(memory != nullptr ? GlobalLock(memory) : nullptr);
    if (copy == nullptr) {
        if (memory != nullptr)
            GlobalFree(memory);
        MessageBeep(MB_ICONWARNING);
        return false;
    }
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = L'\0'; // NOLINT: the block holds one more
    GlobalUnlock(memory);

    // Another program (a clipboard manager, a remote desktop's) may hold the clipboard for a
    // moment.
    bool open = false;
    for (int attempt = 0; attempt < clipboardAttempts && !open; ++attempt) {
        if (attempt > 0)
            Sleep(clipboardPauseMs);
        open = OpenClipboard(owner) != FALSE;
    }
    // Emptied only once it is ours; the system owns the text once it is set.
    const bool placed
        = open && EmptyClipboard() != FALSE && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (open)
        CloseClipboard();
    if (!placed) {
        GlobalFree(memory);
        MessageBeep(MB_ICONWARNING);
    }
    return placed;
}

} // namespace tarnwick::win32
