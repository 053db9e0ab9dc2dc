#pragma once

#include "app/announcements.h"
#include "calculator/calculatorpanel.h"
#include "panels/form.h"
#include "panels/weightpanels.h"

#include <string_view>

namespace tarnwick {

// What the window commands ask of the platform. Each window provides it in one small class.
class PlatformSeam
{
public:
    // Moves the window into the topmost band or back to the normal one, without moving,
    // resizing or hiding it.
    virtual void setStayOnTop(bool onTop) = 0;
    // Hands the address to the user's browser without waiting; a failure changes nothing.
    virtual void openWebPage(std::string_view address) = 0;

protected:
    PlatformSeam() = default;
    PlatformSeam(const PlatformSeam &) = default;
    PlatformSeam &operator=(const PlatformSeam &) = default;
    ~PlatformSeam() = default;
};

// The whole window as data: every control of the control table with its start text and
// selection, in the table's order (a control's id is its row's index), the weight panels, the
// calculator, and the window commands on top: pin on top and release, the reset in creation
// order, the visit of the maker's page; and which result a screen reader is to hear after each
// action (announcements.h). A window builds its real controls from the same table, observes the
// form and reports the user's actions to the model.
class WindowModel
{
public:
    static constexpr std::string_view makerPage = "https://www.tarnwick-steel.example/";

    WindowModel(PlatformSeam &platform, AnnouncementSeam &announcer);
    WindowModel(const WindowModel &) = delete;
    WindowModel &operator=(const WindowModel &) = delete;
    ~WindowModel() = default;

    [[nodiscard]] Form &form() { return form_; }
    [[nodiscard]] const Form &form() const { return form_; }
    [[nodiscard]] bool pinnedOnTop() const { return pinnedOnTop_; }

    // What the user did. A field's text that the form already holds (the window's echo of a
    // text the model set, or an edit that changes nothing) is no action.
    void edited(ControlId field, std::u16string_view text);
    void pressed(ControlId button);
    void selected(ControlId option) { form_.selected(option); }
    // The window's settling timer ran out.
    void settled() { announcements_.settled(); }

private:
    static Form &withControls(Form &form);
    void togglePinnedOnTop();
    void reset();

    PlatformSeam &platform_;
    Form form_;
    WeightPanels panels_;
    CalculatorPanel calculator_;
    Announcements announcements_;
    bool pinnedOnTop_ = false;
};

} // namespace tarnwick
