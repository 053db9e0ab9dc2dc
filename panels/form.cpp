#include "panels/form.h"

#include <stdexcept>
#include <utility>

namespace tarnwick {

void ChangeEvent::operator()() const
{
    if (ran_)
        return;
    ran_ = true;
    form_.runChangeHandlers(control_);
}

void FormObserver::announceChange(ControlId /*control*/, const ChangeEvent &event)
{
    event();
}

ControlId Form::add(std::string_view name, std::u16string text)
{
    controls_.push_back({ std::string(name), std::move(text), {}, {}, noGroup });
    return controls_.size() - 1;
}

void Form::addOptionGroup(std::span<const ControlId> options, ControlId selected)
{
    const std::size_t group = selectedOption_.size();
    for (const ControlId option : options)
        controls_.at(option).group = group;
    if (controls_.at(selected).group != group)
        throw std::invalid_argument("the selected option is not in its group");
    selectedOption_.push_back(selected);
}

void Form::onChange(ControlId control, Handler handler)
{
    controls_.at(control).onChange.push_back(std::move(handler));
}

void Form::onClick(ControlId control, Handler handler)
{
    controls_.at(control).onClick.push_back(std::move(handler));
}

ControlId Form::id(std::string_view name) const
{
    for (ControlId control = 0; control < controls_.size(); ++control) {
        if (controls_[control].name == name)
            return control;
    }
    throw std::out_of_range("the form has no control " + std::string(name));
}

std::string_view Form::name(ControlId control) const
{
    return controls_.at(control).name;
}

const std::u16string &Form::text(ControlId control) const
{
    return controls_.at(control).text;
}

bool Form::isSelected(ControlId option) const
{
    const std::size_t group = controls_.at(option).group;
    return group != noGroup && selectedOption_[group] == option;
}

void Form::setText(ControlId control, std::u16string_view text)
{
    std::u16string &held = controls_.at(control).text;
    if (held == text)
        return;
    held.assign(text);
    if (observer_ != nullptr)
        observer_->textSet(control, held);
    const ChangeEvent event(*this, control);
    if (observer_ != nullptr)
        observer_->announceChange(control, event);
    event();
}

void Form::pressed(ControlId button)
{
    for (const Handler &handler : controls_.at(button).onClick)
        handler();
}

void Form::selected(ControlId option)
{
    const std::size_t group = controls_.at(option).group;
    if (group == noGroup || selectedOption_[group] == option)
        return;
    selectedOption_[group] = option;
    if (observer_ != nullptr)
        observer_->optionSelected(option);
}

void Form::runChangeHandlers(ControlId control) const
{
    for (const Handler &handler : controls_[control].onChange)
        handler();
}

} // namespace tarnwick
