#pragma once

// A fresh window per test, and the user's ways of acting on it: characters into the focused
// edit, clicks, keys through the window's own message loop. What the tests read back is what
// the user sees: the controls' texts, checks, focus and the window's band.

#include "app/win32/mainwindow.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace windowtest {

// The window's text of a control, and the model's, compared as UTF-16.
std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view text);

class Driver
{
public:
    // Makes the window as the program does, shows it and waits until it is active.
    Driver();
    Driver(const Driver &) = delete;
    Driver &operator=(const Driver &) = delete;
    ~Driver();

    [[nodiscard]] tarnwick::win32::MainWindow &window() const { return *window_; }
    [[nodiscard]] HWND handle() const { return window_->handle(); }
    [[nodiscard]] HWND control(std::string_view name) const;
    [[nodiscard]] std::wstring text(std::string_view name) const;
    [[nodiscard]] std::wstring modelText(std::string_view name) const;
    [[nodiscard]] bool checked(std::string_view name) const;
    // The table name of the control that holds the focus; "" where none of them does.
    [[nodiscard]] std::string focused() const;

    // Runs the window's own loop until it has nothing left to do.
    void pump() const;
    // The user pauses: runs the window's loop until the typing has settled and a little more.
    void pause() const;
    // Puts the focus into the control, with the caret at the end of a field's text.
    void focus(std::string_view name) const;
    // Characters into the focused control, one WM_CHAR each, as a keyboard delivers them.
    void type(std::wstring_view characters) const;
    // Focus into the field, then type at its end.
    void typeInto(std::string_view name, std::wstring_view characters) const;
    // Select all, then type: the first character replaces the whole text.
    void retype(std::string_view name, std::wstring_view characters) const;
    // Select all, then Backspace.
    void clear(std::string_view name) const;
    // What an input method commits, one WM_IME_CHAR a character.
    void commit(std::string_view name, std::wstring_view committed) const;
    // The text through the clipboard into the field (WM_PASTE), over its whole text or at the
    // caret.
    void paste(std::string_view name, std::wstring_view text, bool overAll = true) const;
    // BM_CLICK: the button's own click, as the mouse gives it.
    void click(std::string_view name) const;
    // A left button press and release on the control's middle, through the message loop.
    void mouseClick(std::string_view name) const;
    // A key pressed and released on the focused control, through the message loop.
    void key(UINT virtualKey, bool shift = false, bool control = false) const;

private:
    std::unique_ptr<tarnwick::win32::MainWindow> window_;
};

// One step of a user, written as a test row:
//   "Text1+2000"  2000 typed at the end of the field, one WM_CHAR a character
//   "Text1=2000"  select all and type 2000
//   "Text1-"      Backspace at the end of the field
//   "Text1~2000"  2000 pasted over the whole text
//   "Text1^２０"  what an input method commits
//   "Command1"    BM_CLICK on a button or option; "Command1!" a mouse click through the loop
void perform(const Driver &driver, const std::string &step);

// Every text the window writes into a control (WM_SETTEXT), in order.
class TextHistory
{
public:
    explicit TextHistory(HWND control);
    TextHistory(const TextHistory &) = delete;
    TextHistory &operator=(const TextHistory &) = delete;
    ~TextHistory();

    [[nodiscard]] const std::vector<std::wstring> &texts() const { return texts_; }
    void clear() { texts_.clear(); }

private:
    static LRESULT CALLBACK record(
        HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    HWND control_;
    std::vector<std::wstring> texts_;
};

// Takes the place of the browser for https addresses: the shell hands each address to
// url_recorder.exe beside the tests, which writes it to a file. Installed for the current user and
// removed again; where the system does not let the user's classes override the machine's (Wine),
// the machine-wide handler is replaced for the while and put back. Meanwhile this program's
// import of ShellExecuteW goes through a counter first: what the program hands to the shell is
// known at once, whether or not the handler the shell starts for it runs (under load, Wine now
// and then loses the start of a program).
class UrlCatcher
{
public:
    UrlCatcher();
    UrlCatcher(const UrlCatcher &) = delete;
    UrlCatcher &operator=(const UrlCatcher &) = delete;
    ~UrlCatcher();

    // The addresses handed to ShellExecuteW so far, in order.
    [[nodiscard]] const std::vector<std::wstring> &handedOver() const;
    // The addresses the stand-in has recorded so far, after waiting until there are `expected`
    // of them or `patienceMs` have passed (the handler runs as a program of its own).
    [[nodiscard]] std::vector<std::wstring> addresses(
        std::size_t expected, int patienceMs = 15000) const;

private:
    std::wstring log_;
    std::wstring replacedCommand_; // the machine-wide handler it had to stand in for
    bool replacedMachineWide_ = false;
    IMAGE_THUNK_DATA *shellExecuteImport_ = nullptr;
};

// The size of a long paste: a megabyte. Wine's edit control takes time that grows with the
// square of a line's length (a minute for 128 Ki characters here, where Windows takes a moment),
// so under Wine the long pastes are 32 Ki characters.
std::size_t longPasteSize();

} // namespace windowtest
