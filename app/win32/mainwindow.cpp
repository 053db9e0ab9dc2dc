#include "app/win32/mainwindow.h"

#include "app/controltable.h"
#include "app/win32/accessible.h"
#include "app/win32/banner.h"
#include "app/win32/copymenu.h"
#include "app/win32/laterapi.h"
#include "app/win32/placement.h"
#include "app/win32/wintext.h"
#include "panels/text.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <numeric>
#include <string>
#include <string_view>

namespace tarnwick::win32 {

namespace {

const wchar_t windowClass[] = L"TarnwickWindow";
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;
const ControlId firstField = controlIndex("Text1");
const double pointsPerInch = 72.0;
// Per-Monitor V2 asks a window its size for a new density (Windows 10 1703; the Windows 7
// headers lack it).
constexpr UINT getDpiScaledSizeMessage = 0x02E4;
constexpr UINT placeFlags = SWP_NOZORDER | SWP_NOACTIVATE;
// The one timer: the user's typing has settled when it runs out.
constexpr UINT_PTR settlingTimer = 1;

// The form's client area at the density.
SIZE clientSize(UINT dpi)
{
    return { pixelsAt(formWidthTwips, static_cast<int>(dpi)),
        pixelsAt(formHeightTwips, static_cast<int>(dpi)) };
}

// The window's frame around the form's client area at the density.
SIZE frameSize(UINT dpi)
{
    const SIZE client = clientSize(dpi);
    RECT frame { 0, 0, client.cx, client.cy };
    adjustWindowRect(&frame, windowStyle, windowExStyle, dpi);
    return { frame.right - frame.left, frame.bottom - frame.top };
}

// Keeps a push button from becoming the default one, which the dialog manager makes of the
// button that Tab reaches: it would look and announce itself so, while Enter presses nothing.
LRESULT CALLBACK neverDefault(
    HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    if (message == BM_SETSTYLE && (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_PUSHBUTTON;
    else if (message == WM_NCDESTROY)
        RemoveWindowSubclass(button, neverDefault, 0);
    return DefSubclassProc(button, message, wParam, lParam);
}

struct ControlClass
{
    const wchar_t *name;
    DWORD style;
    DWORD exStyle;
};

ControlClass classOf(const ControlRow &row)
{
    switch (row.kind) {
    case Kind::Frame:
        return { L"BUTTON", BS_GROUPBOX, 0 };
    case Kind::Label:
        return { L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0 };
    case Kind::ResultLabel:
        // A single-line border; the large digits centred in the label's height.
        return { L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE | WS_BORDER, 0 };
    case Kind::TextField:
        return { L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE };
    case Kind::PushButton:
        return { L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0 };
    case Kind::OptionButton:
        // Only the selected button of a group is a tab stop; selecting moves it (BM_SETCHECK).
        return { L"BUTTON", BS_AUTORADIOBUTTON, 0 };
    case Kind::Picture:
        return { L"STATIC", SS_BITMAP, 0 };
    }
    return { L"STATIC", 0, 0 };
}

// The rows in the order in which the window stacks its children: by tab index (the picture,
// which has none, last), which is the order Tab walks, with each caption label moved just
// above the field that it names.
std::vector<std::size_t> stackingOrder()
{
    std::vector<std::size_t> order(controlTable.size());
    std::iota(order.begin(), order.end(), 0);
    const auto tabIndex = [](std::size_t row) {
        const int index = controlTable.at(row).tabIndex;
        return index < 0 ? INT_MAX : index;
    };
    std::stable_sort(order.begin(), order.end(),
        [&tabIndex](std::size_t a, std::size_t b) { return tabIndex(a) < tabIndex(b); });
    for (std::size_t field = 0; field < controlTable.size(); ++field) {
        const ControlRow &row = controlTable.at(field);
        if (row.kind != Kind::TextField || row.captionedBy.empty()
            || controlRow(row.captionedBy).kind != Kind::Label)
            continue;
        const std::size_t label = controlIndex(row.captionedBy);
        order.erase(std::find(order.begin(), order.end(), label));
        order.insert(std::find(order.begin(), order.end(), field), label);
    }
    return order;
}

// The control's rectangle in the window's client area, in pixels at the density: its place in
// its container plus the container's place.
RECT placeOf(const ControlRow &row, UINT dpi)
{
    const auto pixels = [dpi](int twips) { return pixelsAt(twips, static_cast<int>(dpi)); };
    int left = pixels(row.left);
    int top = pixels(row.top);
    if (!row.container.empty()) {
        const ControlRow &container = controlRow(row.container);
        left += pixels(container.left);
        top += pixels(container.top);
    }
    return { left, top, left + pixels(row.width), top + pixels(row.height) };
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance)
    , model_(platform_, *this)
{ }

std::unique_ptr<MainWindow> MainWindow::create(HINSTANCE instance)
{
    WNDCLASSEXW windowClassInfo {};
    windowClassInfo.cbSize = sizeof(windowClassInfo);
    windowClassInfo.lpfnWndProc = windowProcedure;
    windowClassInfo.hInstance = instance;
    windowClassInfo.hIcon = LoadIconW(instance, L"IDI_ICON1");
    windowClassInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW); // NOLINT: a predefined cursor
    windowClassInfo.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClassInfo.lpszClassName = windowClass;
    if (RegisterClassExW(&windowClassInfo) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;

    std::unique_ptr<MainWindow> window(new MainWindow(instance));
    const std::wstring title = wide(toUtf16(formCaption));
    if (CreateWindowExW(windowExStyle, windowClass, title.c_str(), windowStyle, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, window.get())
        == nullptr)
        return nullptr;

    // The density is the monitor's that the window opens on: known once the window exists.
    HWND handle = window->window_;
    window->dpi_ = windowDpi(handle);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT frame = placeInWorkArea(frameSize(window->dpi_), monitor.rcWork);
    SetWindowPos(handle, nullptr, frame.left, frame.top, frame.right - frame.left,
        frame.bottom - frame.top, placeFlags);

    window->platform_.attach(handle);
    window->createControls();
    window->setIcons();
    window->model_.form().setObserver(window.get());
    return window;
}

MainWindow::~MainWindow()
{
    model_.form().setObserver(nullptr);
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (const Font &font : fonts_)
        DeleteObject(font.handle);
    if (banner_ != nullptr)
        DeleteObject(banner_);
    for (HICON icon : icons_) {
        if (icon != nullptr)
            DestroyIcon(icon);
    }
}

void MainWindow::show(int showCommand)
{
    ShowWindow(window_, showCommand);
    SetFocus(controls_.at(firstField));
    UpdateWindow(window_);
}

LRESULT CALLBACK MainWindow::windowProcedure(
    HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<MainWindow *>(
            reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams); // NOLINT: Win32's
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self)); // NOLINT
        enableNonClientDpiScaling(window);
    }
    auto *self = reinterpret_cast<MainWindow *>( // NOLINT: the pointer stored above
        GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(window, message, wParam, lParam);
}

LRESULT MainWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); // NOLINT
        return 0;
    // Like a dialog: the focus leaves with the window and comes back where it was. A child
    // cannot hold it while the window is minimised.
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            rememberFocus(GetFocus());
        else if (HIWORD(wParam) == 0)
            restoreFocus();
        return 0;
    case WM_SETFOCUS:
        rememberFocus(reinterpret_cast<HWND>(wParam)); // NOLINT: the control that lost it
        restoreFocus();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE)
            rememberFocus(GetFocus());
        break;
    case WM_WINDOWPOSCHANGING:
        // Minimised from outside (ShowWindow) too: the focus is still in its control here.
        if (IsIconic(window) != FALSE)
            rememberFocus(GetFocus());
        break;
    case WM_SIZE:
        // Restored with the focus in none of the controls.
        if (wParam == SIZE_RESTORED && GetActiveWindow() == window && !controls_.empty()
            && IsChild(window, GetFocus()) == FALSE)
            restoreFocus();
        break;
    case WM_DPICHANGED:
        moveToDensity(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam)); // NOLINT
        return 0;
    case getDpiScaledSizeMessage:
        *reinterpret_cast<SIZE *>(lParam) = frameSize(static_cast<UINT>(wParam)); // NOLINT
        return TRUE;
    case WM_TIMER:
        if (wParam != settlingTimer)
            break;
        KillTimer(window, settlingTimer);
        model_.settled();
        return 0;
    case WM_CONTEXTMENU:
        if (offerCopy(window, controls_, wParam, lParam))
            return 0;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::rememberFocus(HWND focus)
{
    if (focus != nullptr && IsChild(window_, focus) != FALSE)
        lastFocus_ = focus;
}

void MainWindow::restoreFocus()
{
    if (IsIconic(window_) == FALSE)
        SetFocus(lastFocus_ != nullptr ? lastFocus_ : controls_.at(firstField));
}

// The suggested place, with the frame corrected to hold the form's client area at the new
// density exactly: where the title bar keeps the system's density (Windows 8.1 and 10 before
// 1607), Windows scales the whole window, and the suggested rectangle holds another client area.
void MainWindow::moveToDensity(UINT dpi, const RECT &suggested)
{
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
        suggested.bottom - suggested.top, placeFlags);
    RECT frame {};
    RECT client {};
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &client);
    const SIZE wanted = clientSize(dpi);
    if (IsIconic(window_) == FALSE && (client.right != wanted.cx || client.bottom != wanted.cy))
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + wanted.cx - client.right,
            frame.bottom - frame.top + wanted.cy - client.bottom, placeFlags | SWP_NOMOVE);
    layOut();
    setIcons();
}

// Everything the user does arrives here; ids outside the controls' (IDOK and IDCANCEL, which
// the dialog manager sends for Enter and Escape) mean nothing.
void MainWindow::command(int id, int code, HWND control)
{
    if (id < firstControlId || id >= firstControlId + static_cast<int>(controls_.size()))
        return;
    const auto row = static_cast<ControlId>(id - firstControlId);
    switch (controlTable.at(row).kind) {
    case Kind::TextField:
        // Also when the window itself wrote the text: the model then holds it already.
        if (code == EN_CHANGE) {
            const std::wstring text = windowText(control);
            reporting_ = row;
            model_.edited(row, std::u16string(text.begin(), text.end()));
            reporting_.reset();
        }
        break;
    case Kind::PushButton:
        if (code == BN_CLICKED)
            model_.pressed(row);
        break;
    case Kind::OptionButton:
        if (code == BN_CLICKED && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
            model_.selected(row);
        break;
    default:
        break;
    }
}

void MainWindow::createControls()
{
    controls_.assign(controlTable.size(), nullptr);
    const ControlRow *above = nullptr;
    for (const std::size_t index : stackingOrder()) {
        const ControlRow &row = controlTable.at(index);
        const ControlClass kind = classOf(row);
        // A group runs from one WS_GROUP control to the next: an option group's buttons stand
        // together, the first of them opening it.
        const bool continuesGroup = row.kind == Kind::OptionButton && above != nullptr
            && above->kind == Kind::OptionButton && above->container == row.container;
        const DWORD style = kind.style | WS_CHILD | WS_VISIBLE | (continuesGroup ? 0 : WS_GROUP);
        const std::wstring text
            = row.kind == Kind::Picture ? std::wstring() : wide(toUtf16(row.text));
        HWND control
            = CreateWindowExW(kind.exStyle, kind.name, text.c_str(), style, 0, 0, 0, 0, window_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + index)), // NOLINT
                instance_, nullptr);
        controls_[index] = control;
        if (row.kind == Kind::TextField)
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0); // no length limit
        if (row.kind == Kind::PushButton)
            SetWindowSubclass(control, neverDefault, 0, 0);
        if (row.kind == Kind::OptionButton && row.selected)
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        above = &row;
    }
    answerScreenReaders(controls_);
    layOut();
}

// Places, sizes and fonts every control for the window's density, and makes its banner.
void MainWindow::layOut()
{
    std::vector<Font> previous;
    previous.swap(fonts_);
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        const ControlRow &row = controlTable[index];
        const RECT place = placeOf(row, dpi_);
        SetWindowPos(controls_[index], nullptr, place.left, place.top, place.right - place.left,
            place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (row.fontPoints > 0)
            SendMessageW(controls_[index], WM_SETFONT,
                reinterpret_cast<WPARAM>(font(row.fontPoints)), TRUE); // NOLINT
        if (row.kind == Kind::Picture) {
            HBITMAP banner
                = loadBanner(instance_, place.right - place.left, place.bottom - place.top, dpi_);
            SendMessageW(controls_[index], STM_SETIMAGE, IMAGE_BITMAP,
                reinterpret_cast<LPARAM>(banner)); // NOLINT
            if (banner_ != nullptr)
                DeleteObject(banner_);
            banner_ = banner;
        }
    }
    for (const Font &font : previous)
        DeleteObject(font.handle);
}

// The Song face at the size in points for the window's density. Where SimSun is missing, the
// GB2312 character set makes Windows take another face that has the Chinese characters.
HFONT MainWindow::font(double points)
{
    for (const Font &made : fonts_) {
        if (made.points == points)
            return made.handle;
    }
    LOGFONTW description {};
    description.lfHeight = -std::lround(points * dpi_ / pointsPerInch);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = GB2312_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring_view face = L"宋体";
    std::copy(face.begin(), face.end(), std::begin(description.lfFaceName));
    HFONT made = CreateFontIndirectW(&description);
    fonts_.push_back({ points, made });
    return made;
}

// The program's icon at the sizes for the window's density: title bar and task bar.
void MainWindow::setIcons()
{
    const std::array<int, 2> sides { 16, 32 };
    const std::array<WPARAM, 2> kinds { ICON_SMALL, ICON_BIG };
    for (std::size_t which = 0; which < icons_.size(); ++which) {
        const int side = MulDiv(sides.at(which), static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
        HICON icon = loadIcon(instance_, L"IDI_ICON1", side);
        if (icon == nullptr)
            continue;
        SendMessageW(
            window_, WM_SETICON, kinds.at(which), reinterpret_cast<LPARAM>(icon)); // NOLINT
        if (icons_.at(which) != nullptr)
            DestroyIcon(icons_.at(which));
        icons_.at(which) = icon;
    }
}

void MainWindow::textSet(ControlId control, std::u16string_view text)
{
    // A user's edit arrives holding its text already: writing it again would lose the caret
    // and the undo. The model sets that text first, before anything it sets off.
    if (reporting_ == control) {
        reporting_.reset();
        return;
    }
    SetWindowTextW(controls_.at(control), wide(text).c_str());
}

void MainWindow::startSettling(std::chrono::milliseconds delay)
{
    SetTimer(window_, settlingTimer, static_cast<UINT>(delay.count()), nullptr);
}

void MainWindow::announce(ControlId label)
{
    if (!live_.at(label))
        makeLiveRegion(controls_.at(label));
    live_.at(label) = true;
    win32::announce(controls_.at(label));
}

void MainWindow::optionSelected(ControlId option)
{
    HWND button = controls_.at(option);
    if (SendMessageW(button, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
}

} // namespace tarnwick::win32
