#include "calculator/calculatorpanel.h"

#include "panels/controls.h"
#include "panels/fields.h"

#include <QPushButton>
#include <QRadioButton>

namespace tarnwick {

CalculatorPanel::CalculatorPanel(QWidget *form)
    : first_(control<TextField>(form, "Text24"))
    , second_(control<TextField>(form, "Text25"))
    , result_(control<ResultLabel>(form, "Label32"))
    , operations_ { {
          { control<QRadioButton>(form, "Option3"), Operation::Add },
          { control<QRadioButton>(form, "Option4"), Operation::Subtract },
          { control<QRadioButton>(form, "Option5"), Operation::Multiply },
          { control<QRadioButton>(form, "Option6"), Operation::Divide },
          { control<QRadioButton>(form, "Option7"), Operation::Power },
          { control<QRadioButton>(form, "Option8"), Operation::Root },
      } }
{
    const auto calculate = [this] { CalculateResult(); };
    QObject::connect(
        control<QPushButton>(form, "Command7"), &QPushButton::clicked, result_, calculate);
    QObject::connect(control<TextField>(form, "Text24"), &TextField::changed, result_, calculate);
    QObject::connect(control<TextField>(form, "Text25"), &TextField::changed, result_, calculate);
    QObject::connect(result_, &ResultLabel::changed, result_, calculate);
}

void CalculatorPanel::CalculateResult() const
{
    const double a = ReadNumber(first_);
    const double b = ReadNumber(second_);
    result_->showText(displayText(calculate(a, b, selectedOperation())));
}

// The first selected operation in the buttons' order; the group always holds one.
Operation CalculatorPanel::selectedOperation() const
{
    for (const auto &[button, operation] : operations_) {
        if (button->isChecked())
            return operation;
    }
    return Operation::Multiply;
}

} // namespace tarnwick
