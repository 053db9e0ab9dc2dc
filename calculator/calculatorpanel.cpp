#include "calculator/calculatorpanel.h"

#include "panels/fields.h"

namespace tarnwick {

CalculatorPanel::CalculatorPanel(Form &form)
    : form_(form)
    , first_(form.id("Text24"))
    , second_(form.id("Text25"))
    , result_(form.id("Label32"))
    , operations_ { {
          { form.id("Option3"), Operation::Add },
          { form.id("Option4"), Operation::Subtract },
          { form.id("Option5"), Operation::Multiply },
          { form.id("Option6"), Operation::Divide },
          { form.id("Option7"), Operation::Power },
          { form.id("Option8"), Operation::Root },
      } }
{
    const auto calculate = [this] { CalculateResult(); };
    form.onClick(form.id("Command7"), calculate);
    form.onChange(first_, calculate);
    form.onChange(second_, calculate);
    form.onChange(result_, calculate);
}

void CalculatorPanel::CalculateResult() const
{
    const double a = ReadNumber(form_, first_);
    const double b = ReadNumber(form_, second_);
    form_.setText(result_, displayText(calculate(a, b, selectedOperation())));
}

// The first selected operation in the buttons' order; the group always holds one.
Operation CalculatorPanel::selectedOperation() const
{
    for (const auto &[option, operation] : operations_) {
        if (form_.isSelected(option))
            return operation;
    }
    return Operation::Multiply;
}

} // namespace tarnwick
