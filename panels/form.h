#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The window's state and behaviour as plain data, for every window to show.
//
// A form holds the text of each of its controls (a field's contents, a label's or a button's
// caption) and the selected button of each option group, and runs the handlers that the panels,
// the calculator and the window commands attach to the controls' change and click events. How
// the cascade runs: setting a control's text to the text it already holds does nothing; setting
// it to another text stores it, tells the observer (which mirrors it into the real control), and
// runs that control's change handlers at once, nested inside the setting, which returns only
// after they have run. Handlers read texts and set other texts, so one user's edit runs a chain
// of nested changes: a field's change recomputes its panel and sets the weight label; the
// label's change recomputes once more (the same text: nothing further) and sets the
// calculator's first operand; that field's change recomputes the calculator and sets its result
// label, whose change recomputes once more and ends the chain. Every chain ends because a
// recomputation that finds nothing new sets the text already shown. A window reports only what
// the user did: a field's new text (which the form, not the window, compares with the text it
// holds), a click, a selection.
namespace tarnwick {

using ControlId = std::size_t;

class Form;

// The change handlers of one change, run once: whoever calls it first runs them.
class ChangeEvent
{
public:
    ChangeEvent(Form &form, ControlId control)
        : form_(form)
        , control_(control)
    { }
    ChangeEvent(const ChangeEvent &) = delete;
    ChangeEvent &operator=(const ChangeEvent &) = delete;
    ~ChangeEvent() = default;

    void operator()() const;

private:
    Form &form_;
    ControlId control_;
    mutable bool ran_ = false;
};

// What a window mirrors. Every call comes in the order in which the form changes.
class FormObserver
{
public:
    // The control now holds `text`.
    virtual void textSet(ControlId control, std::u16string_view text) = 0;
    // The option is now its group's selected button.
    virtual void optionSelected(ControlId option) = 0;
    // The control's change event is to run now. A window that announces its controls' changes
    // to others calls `event` inside that announcement; where it does not, the event runs as
    // soon as this returns.
    virtual void announceChange(ControlId control, const ChangeEvent &event);

protected:
    FormObserver() = default;
    FormObserver(const FormObserver &) = default;
    FormObserver &operator=(const FormObserver &) = default;
    ~FormObserver() = default;
};

class Form
{
public:
    using Handler = std::function<void()>;

    Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;
    ~Form() = default;

    // Adds a control with its initial text, which raises no event; ids count from 0 in the
    // order in which controls are added.
    ControlId add(std::string_view name, std::u16string text);
    // Makes the options one group, with `selected` its selected button.
    void addOptionGroup(std::span<const ControlId> options, ControlId selected);
    void onChange(ControlId control, Handler handler);
    void onClick(ControlId control, Handler handler);
    void setObserver(FormObserver *observer) { observer_ = observer; }

    // The control of that name; throws std::out_of_range where the form has none.
    [[nodiscard]] ControlId id(std::string_view name) const;
    [[nodiscard]] std::string_view name(ControlId control) const;
    [[nodiscard]] std::size_t size() const { return controls_.size(); }

    [[nodiscard]] const std::u16string &text(ControlId control) const;
    [[nodiscard]] bool isSelected(ControlId option) const;

    // The change rule: a different text is stored, mirrored and followed by the control's
    // change event, nested; the same text does nothing.
    void setText(ControlId control, std::u16string_view text);

    // What the user did. A field's edit is a change only where its text differs.
    void edited(ControlId field, std::u16string_view text) { setText(field, text); }
    void pressed(ControlId button);
    // Selecting an option runs nothing: the choice counts at the next computation.
    void selected(ControlId option);

private:
    friend class ChangeEvent;

    struct Control
    {
        std::string name;
        std::u16string text;
        std::vector<Handler> onChange;
        std::vector<Handler> onClick;
        std::size_t group = noGroup;
    };
    static constexpr std::size_t noGroup = static_cast<std::size_t>(-1);

    void runChangeHandlers(ControlId control) const;

    std::vector<Control> controls_;
    std::vector<ControlId> selectedOption_; // per option group
    FormObserver *observer_ = nullptr;
};

} // namespace tarnwick
