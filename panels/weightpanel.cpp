#include "panels/weightpanel.h"

#include "panels/fields.h"

#include <cassert>
#include <utility>

namespace tarnwick {

namespace {

constexpr std::string_view densityName = "Text27";
constexpr std::string_view firstOperandName = "Text24";

} // namespace

WeightPanel::WeightPanel(Form &form, std::string_view label,
    std::initializer_list<std::string_view> inputs, Formula formula)
    : form_(form)
    , formula_(std::move(formula))
    , density_(form.id(densityName))
    , label_(form.id(label))
    , forwardTo_(form.id(firstOperandName))
    , initialText_(form.text(label_))
{
    assert(inputs.size() <= maxInputs);
    for (const std::string_view input : inputs)
        inputs_.push_back(form.id(input));
}

void WeightPanel::wire(std::string_view button, int buttonDecimals)
{
    form_.onClick(form_.id(button), [this, buttonDecimals] { recompute(buttonDecimals); });
    for (const ControlId input : inputs_)
        form_.onChange(input, [this] { recompute(twoDecimals); });
    form_.onChange(label_, [this] {
        recompute(twoDecimals);
        form_.setText(forwardTo_, form_.text(label_));
    });
}

double WeightPanel::weight() const
{
    Inputs numbers {};
    for (std::size_t index = 0; index < inputs_.size(); ++index)
        numbers.at(index) = ReadNumber(form_, inputs_[index]);
    return formula_(ReadNumber(form_, density_), numbers);
}

void WeightPanel::show(double weight, int decimals) const
{
    ShowWeight(form_, label_, weight, decimals);
}

bool WeightPanel::hasShownWeight() const
{
    return form_.text(label_) != initialText_;
}

} // namespace tarnwick
