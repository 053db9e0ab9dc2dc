#include "panels/weightpanel.h"

#include "panels/controls.h"
#include "panels/fields.h"

#include <QAbstractButton>
#include <cassert>
#include <utility>

namespace tarnwick {

namespace {

constexpr std::string_view densityName = "Text27";
constexpr std::string_view firstOperandName = "Text24";

} // namespace

WeightPanel::WeightPanel(QWidget *form, std::string_view label,
    std::initializer_list<std::string_view> inputs, Formula formula)
    : formula_(std::move(formula))
    , density_(control<TextField>(form, densityName))
    , label_(control<ResultLabel>(form, label))
    , forwardTo_(control<TextField>(form, firstOperandName))
    , initialText_(label_->text())
{
    assert(inputs.size() <= maxInputs);
    for (const std::string_view input : inputs)
        inputs_.push_back(control<TextField>(form, input));
}

void WeightPanel::wire(QAbstractButton *button, int buttonDecimals)
{
    QObject::connect(button, &QAbstractButton::clicked, label_,
        [this, buttonDecimals] { recompute(buttonDecimals); });
    for (TextField *input : inputs_)
        QObject::connect(input, &TextField::changed, label_, [this] { recompute(twoDecimals); });
    QObject::connect(label_, &ResultLabel::changed, label_, [this] {
        recompute(twoDecimals);
        forwardTo_->setText(label_->text());
    });
}

double WeightPanel::weight() const
{
    Inputs numbers {};
    for (std::size_t index = 0; index < inputs_.size(); ++index)
        numbers.at(index) = ReadNumber(inputs_[index]);
    return formula_(ReadNumber(density_), numbers);
}

void WeightPanel::show(double weight, int decimals) const
{
    ShowWeight(label_, weight, decimals);
}

bool WeightPanel::hasShownWeight() const
{
    return label_->text() != initialText_;
}

} // namespace tarnwick
