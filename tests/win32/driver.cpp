#include "driver.h"

#include "app/controltable.h"
#include "app/win32/messageloop.h"
#include "panels/text.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace windowtest {

using tarnwick::controlIndex;
using tarnwick::controlTable;
using tarnwick::win32::MainWindow;

std::wstring wide(std::string_view utf8)
{
    const std::u16string text = tarnwick::toUtf16(utf8);
    return { text.begin(), text.end() };
}

std::string narrow(std::wstring_view text)
{
    return tarnwick::toUtf8(std::u16string(text.begin(), text.end()));
}

namespace {

std::wstring windowText(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)), L'\0');
    const int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void selectAll(HWND field)
{
    SendMessageW(field, EM_SETSEL, 0, -1);
}

} // namespace

Driver::Driver()
    : window_(MainWindow::create(GetModuleHandleW(nullptr)))
{
    if (!window_) {
        std::fprintf(stderr, "the window could not be made\n");
        std::abort();
    }
    window_->show(SW_SHOWNORMAL);
    SetForegroundWindow(handle());
    for (int round = 0; round < 100 && GetForegroundWindow() != handle(); ++round) {
        pump();
        Sleep(10);
    }
    pump();
}

Driver::~Driver()
{
    window_.reset();
    pump();
}

HWND Driver::control(std::string_view name) const
{
    return window_->control(controlIndex(name));
}

std::wstring Driver::text(std::string_view name) const
{
    return windowText(control(name));
}

std::wstring Driver::modelText(std::string_view name) const
{
    const std::u16string &text = window_->model().form().text(controlIndex(name));
    return { text.begin(), text.end() };
}

bool Driver::checked(std::string_view name) const
{
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Driver::focused() const
{
    const int id = GetDlgCtrlID(GetFocus()) - MainWindow::firstControlId;
    if (GetFocus() == nullptr || id < 0 || id >= static_cast<int>(controlTable.size()))
        return {};
    return std::string(controlTable.at(static_cast<std::size_t>(id)).name);
}

// Handles what is queued, then waits briefly for what Wine still delivers (X events), twice.
void Driver::pump() const
{
    HWND window = window_ ? window_->handle() : nullptr;
    MSG message {};
    for (int idle = 0; idle < 2;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message != WM_QUIT)
                tarnwick::win32::handleMessage(window, &message);
            idle = 0;
        } else {
            ++idle;
            MsgWaitForMultipleObjectsEx(0, nullptr, 2, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
}

void Driver::pause() const
{
    const auto settling = static_cast<DWORD>(tarnwick::Announcements::settlingTime.count());
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < settling + 300) {
        pump();
        Sleep(10);
    }
    pump();
}

void Driver::focus(std::string_view name) const
{
    // As a user clicks into it: the window comes to the front first where something else (a
    // browser the window opened) has taken it.
    if (GetForegroundWindow() != handle()) {
        SetForegroundWindow(handle());
        pump();
    }
    HWND target = control(name);
    SetFocus(target);
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(target));
    if (tarnwick::controlRow(name).kind == tarnwick::Kind::TextField)
        SendMessageW(target, EM_SETSEL, end, static_cast<LPARAM>(end));
    pump();
}

void Driver::type(std::wstring_view characters) const
{
    for (const wchar_t character : characters) {
        PostMessageW(GetFocus(), WM_CHAR, character, 1);
        pump();
    }
}

void Driver::typeInto(std::string_view name, std::wstring_view characters) const
{
    focus(name);
    type(characters);
}

void Driver::retype(std::string_view name, std::wstring_view characters) const
{
    focus(name);
    selectAll(control(name));
    type(characters);
}

void Driver::clear(std::string_view name) const
{
    retype(name, L"\b");
}

void Driver::commit(std::string_view name, std::wstring_view committed) const
{
    focus(name);
    for (const wchar_t character : committed) {
        PostMessageW(GetFocus(), WM_IME_CHAR, character, 1);
        pump();
    }
}

void Driver::paste(std::string_view name, std::wstring_view text, bool overAll) const
{
    for (int attempt = 0; OpenClipboard(handle()) == FALSE; ++attempt) {
        if (attempt == 100) {
            std::fprintf(stderr, "the clipboard stays closed\n");
            std::abort();
        }
        Sleep(10);
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto *copy = static_cast<wchar_t *>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    focus(name);
    if (overAll)
        selectAll(control(name));
    PostMessageW(control(name), WM_PASTE, 0, 0);
    pump();
}

void Driver::click(std::string_view name) const
{
    SendMessageW(control(name), BM_CLICK, 0, 0);
    pump();
}

void Driver::mouseClick(std::string_view name) const
{
    HWND target = control(name);
    RECT area {};
    GetClientRect(target, &area);
    const LPARAM middle = MAKELPARAM((area.right - area.left) / 2, (area.bottom - area.top) / 2);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(target, WM_LBUTTONUP, 0, middle);
    pump();
}

void Driver::key(UINT virtualKey, bool shift, bool control) const
{
    std::array<BYTE, 256> saved {};
    GetKeyboardState(saved.data());
    std::array<BYTE, 256> pressed = saved;
    if (shift)
        pressed[VK_SHIFT] = pressed[VK_LSHIFT] = 0x80;
    if (control)
        pressed[VK_CONTROL] = pressed[VK_LCONTROL] = 0x80;
    pressed.at(virtualKey) = 0x80;
    SetKeyboardState(pressed.data());
    HWND target = GetFocus() != nullptr ? GetFocus() : handle();
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    const LPARAM down = 1 | (scan << 16);
    PostMessageW(target, WM_KEYDOWN, virtualKey, down);
    pump();
    pressed.at(virtualKey) = 0;
    SetKeyboardState(pressed.data());
    PostMessageW(target, WM_KEYUP, virtualKey, down | (1LL << 30) | (1LL << 31));
    pump();
    SetKeyboardState(saved.data());
}

std::size_t longPasteSize()
{
    const bool underWine
        = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return underWine ? std::size_t { 1 } << 15 : std::size_t { 1 } << 20;
}

void perform(const Driver &driver, const std::string &step)
{
    const std::size_t sign = step.find_first_of("=+-~^!", 1);
    const std::string name = step.substr(0, sign);
    if (sign == std::string::npos) {
        driver.click(name);
        return;
    }
    const std::wstring text = wide(step.substr(sign + 1));
    switch (step[sign]) {
    case '+':
        driver.typeInto(name, text);
        break;
    case '=':
        driver.retype(name, text);
        break;
    case '-':
        driver.typeInto(name, L"\b");
        break;
    case '~':
        driver.paste(name, text);
        break;
    case '^':
        driver.commit(name, text);
        break;
    default:
        driver.mouseClick(name);
        break;
    }
}

TextHistory::TextHistory(HWND control)
    : control_(control)
{
    SetWindowSubclass(control_, record, 1, reinterpret_cast<DWORD_PTR>(this));
}

TextHistory::~TextHistory()
{
    RemoveWindowSubclass(control_, record, 1);
}

LRESULT CALLBACK TextHistory::record(
    HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR self)
{
    if (message == WM_SETTEXT)
        reinterpret_cast<TextHistory *>(self)->texts_.emplace_back(
            reinterpret_cast<const wchar_t *>(lParam));
    return DefSubclassProc(control, message, wParam, lParam);
}

namespace {

const wchar_t handlerKey[] = L"Software\\Classes\\https";
const wchar_t logVariable[] = L"TARNWICK_URL_LOG";

std::wstring recorderProgram()
{
    std::array<wchar_t, MAX_PATH> path {};
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring program = path.data();
    return program.substr(0, program.find_last_of(L'\\') + 1) + L"url_recorder.exe";
}

const wchar_t commandKey[] = L"https\\shell\\open\\command";

void setValue(HKEY root, const std::wstring &key, const wchar_t *name, const std::wstring &value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

std::wstring value(HKEY root, const wchar_t *key)
{
    std::array<wchar_t, 2 * MAX_PATH> text {};
    auto size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(root, key, nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &size)
        != ERROR_SUCCESS)
        return {};
    return text.data();
}

using ShellExecuteFunction = HINSTANCE(WINAPI *)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
ShellExecuteFunction shellExecute = nullptr;
std::vector<std::wstring> handedToShell;

HINSTANCE WINAPI countedShellExecute(
    HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show)
{
    handedToShell.emplace_back(file != nullptr ? file : L"");
    return shellExecute(window, verb, file, parameters, folder, show);
}

// The slot of this program's import table through which its calls of the function go; null where
// it does not call the function.
IMAGE_THUNK_DATA *importOf(FARPROC function)
{
    auto *base = reinterpret_cast<BYTE *>(GetModuleHandleW(nullptr));
    const auto *headers = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports
        = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *library
         = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        for (auto *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + library->FirstThunk);
             slot->u1.Function != 0; ++slot) {
            if (slot->u1.Function == reinterpret_cast<ULONG_PTR>(function))
                return slot;
        }
    }
    return nullptr;
}

void pointImport(IMAGE_THUNK_DATA *slot, ULONG_PTR function)
{
    if (slot == nullptr)
        return;
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    slot->u1.Function = function;
    VirtualProtect(slot, sizeof(*slot), protection, &protection);
}

} // namespace

UrlCatcher::UrlCatcher()
{
    std::array<wchar_t, MAX_PATH> folder {};
    GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    log_ = std::wstring(folder.data()) + L"tarnwick-urls-" + std::to_wstring(GetCurrentProcessId())
        + L".txt";
    DeleteFileW(log_.c_str());
    SetEnvironmentVariableW(logVariable, log_.c_str());
    const std::wstring key = handlerKey;
    const std::wstring command = L"\"" + recorderProgram() + L"\" \"%1\"";
    setValue(HKEY_CURRENT_USER, key, nullptr, L"URL:HyperText Transfer Protocol with Privacy");
    setValue(HKEY_CURRENT_USER, key, L"URL Protocol", L"");
    setValue(HKEY_CURRENT_USER, key + L"\\shell\\open\\command", nullptr, command);
    if (value(HKEY_CLASSES_ROOT, commandKey) != command) {
        replacedCommand_ = value(HKEY_CLASSES_ROOT, commandKey);
        replacedMachineWide_ = true;
        setValue(HKEY_CLASSES_ROOT, commandKey, nullptr, command);
    }
    handedToShell.clear();
    shellExecuteImport_
        = importOf(GetProcAddress(GetModuleHandleW(L"shell32.dll"), "ShellExecuteW"));
    if (shellExecuteImport_ != nullptr)
        shellExecute = reinterpret_cast<ShellExecuteFunction>(shellExecuteImport_->u1.Function);
    pointImport(shellExecuteImport_, reinterpret_cast<ULONG_PTR>(countedShellExecute));
}

UrlCatcher::~UrlCatcher()
{
    pointImport(shellExecuteImport_, reinterpret_cast<ULONG_PTR>(shellExecute));
    if (replacedMachineWide_)
        setValue(HKEY_CLASSES_ROOT, commandKey, nullptr, replacedCommand_);
    RegDeleteTreeW(HKEY_CURRENT_USER, handlerKey);
    SetEnvironmentVariableW(logVariable, nullptr);
    DeleteFileW(log_.c_str());
}

const std::vector<std::wstring> &UrlCatcher::handedOver() const
{
    return handedToShell;
}

std::vector<std::wstring> UrlCatcher::addresses(std::size_t expected, int patienceMs) const
{
    std::vector<std::wstring> lines;
    for (int waited = 0;; waited += 50) {
        lines.clear();
        if (FILE *file = _wfopen(log_.c_str(), L"rb")) {
            std::string line;
            for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
                if (c == '\n') {
                    lines.push_back(wide(line));
                    line.clear();
                } else {
                    line.push_back(static_cast<char>(c));
                }
            }
            std::fclose(file);
        }
        if (lines.size() >= expected || waited >= patienceMs)
            break;
        Sleep(50);
    }
    return lines;
}

} // namespace windowtest
