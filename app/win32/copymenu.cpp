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
    if (OpenClipboard(owner) == FALSE)
        return false;
    EmptyClipboard();
    bool placed = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (auto *copy = static_cast<wchar_t *>(GlobalLock(memory))) {
            std::copy(text.begin(), text.end(), copy);
            copy[text.size()] = L'\0'; // NOLINT: the block holds one more
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!placed)
            GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

} // namespace tarnwick::win32
