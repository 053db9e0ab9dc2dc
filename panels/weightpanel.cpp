#include "panels/weightpanel.h"

#include "panels/fields.h"

#include <QAbstractButton>
#include <utility>

namespace tarnwick {

WeightPanel::WeightPanel(Formula formula, ResultLabel *label, QLineEdit *forwardTo)
    : formula_(std::move(formula))
    , label_(label)
    , forwardTo_(forwardTo)
    , initialText_(label->text())
{ }

void WeightPanel::wire(
    QAbstractButton *button, int buttonDecimals, std::initializer_list<TextField *> inputs)
{
    QObject::connect(button, &QAbstractButton::clicked, label_,
        [this, buttonDecimals] { recompute(buttonDecimals); });
    for (TextField *input : inputs)
        QObject::connect(input, &TextField::changed, label_, [this] { recompute(twoDecimals); });
    QObject::connect(label_, &ResultLabel::changed, label_, [this] {
        recompute(twoDecimals);
        forwardTo_->setText(label_->text());
    });
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
