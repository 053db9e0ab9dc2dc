#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace tarnwick::win32 {

// The model's UTF-16 text as Windows takes it (wchar_t is 16 bits there).
inline std::wstring wide(std::u16string_view text)
{
    return { text.begin(), text.end() };
}

// The control's whole text as it holds it now.
inline std::wstring windowText(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)), L'\0');
    const int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

} // namespace tarnwick::win32
