#pragma once

#include "app/controltable.h"
#include "app/win32/platform.h"
#include "app/windowmodel.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace tarnwick::win32 {

// The program's one window on Windows: a view of the window model made of the platform's own
// controls.
//
// Every control of the control table is a child window of its own (edit, button, static), made
// in one loop at the table's place in twips at the window's density, with the Song face
// ("宋体", GB2312) at the table's size for that density; its id is 1000 plus its row, so the
// model's control id is the child's id less 1000. The children are stacked in the table's tab
// order, which is what Tab walks, each caption label just above the field it names, which is
// where a screen reader looks for a field's name (accessible.h gives the names and descriptions
// that need more). The window reports what the user does (an edit's EN_CHANGE with its whole
// text, a button's BN_CLICKED, an option's selection) and
// writes every text the model sets into its control; the model alone decides what is a change.
// The window keeps the focused control while it is inactive or minimised and gives the focus
// back to it, as a dialog does; no push button becomes the default one. A move to a monitor of
// another density (WM_DPICHANGED) keeps the client area the form's size and lays everything out
// again. A result label's context menu copies its text (copymenu.h). The model says which result
// screen readers are to hear and when (app/announcements.h); the window gives it a timer
// (SetTimer) and raises the label's live-region change (accessible.h).
class MainWindow final : private FormObserver, private AnnouncementSeam
{
public:
    // The window with its controls, in the work area of its monitor (centred where it fits),
    // not yet shown; null where Windows refuses to make it.
    static std::unique_ptr<MainWindow> create(HINSTANCE instance);

    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;
    ~MainWindow();

    // Shows the window with the focus in the first field.
    void show(int showCommand);

    [[nodiscard]] HWND handle() const { return window_; }
    [[nodiscard]] HWND control(ControlId id) const { return controls_.at(id); }
    [[nodiscard]] const WindowModel &model() const { return model_; }
    [[nodiscard]] UINT dpi() const { return dpi_; }

    static constexpr int firstControlId = 1000;

private:
    explicit MainWindow(HINSTANCE instance);

    static LRESULT CALLBACK windowProcedure(
        HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code, HWND control);
    void rememberFocus(HWND focus);
    void restoreFocus();
    void moveToDensity(UINT dpi, const RECT &suggested);
    void createControls();
    void layOut();
    void setIcons();
    HFONT font(double points);

    void textSet(ControlId control, std::u16string_view text) override;
    void optionSelected(ControlId option) override;
    void startSettling(std::chrono::milliseconds delay) override;
    void announce(ControlId label) override;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    Win32Platform platform_;
    WindowModel model_;
    std::vector<HWND> controls_; // by control id, the table's order
    HWND lastFocus_ = nullptr; // the control to give the focus back to
    // The field whose edit the window is reporting: the model's echo of that text is already
    // in the control.
    std::optional<ControlId> reporting_;
    struct Font
    {
        double points;
        HFONT handle;
    };
    std::vector<Font> fonts_; // for the current density
    HBITMAP banner_ = nullptr;
    std::array<HICON, 2> icons_ {}; // small, large
    // The result labels made live regions: each at its first announcement, which keeps the
    // annotation's cost off the window's start.
    std::array<bool, controlTable.size()> live_ {};
};

} // namespace tarnwick::win32
