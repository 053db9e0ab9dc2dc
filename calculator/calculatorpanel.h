#pragma once

#include "calculator/calculation.h"

#include <array>
#include <utility>

class QLineEdit;
class QRadioButton;
class QWidget;

namespace tarnwick {

class ResultLabel;

// The two-operand calculator: recomputes on "=", on a change of either operand and on a
// change of its own result. Choosing another operation counts at the next of these.
class CalculatorPanel
{
public:
    explicit CalculatorPanel(QWidget *form);
    CalculatorPanel(const CalculatorPanel &) = delete;
    CalculatorPanel &operator=(const CalculatorPanel &) = delete;

    void CalculateResult() const;

private:
    [[nodiscard]] Operation selectedOperation() const;

    QLineEdit *first_;
    QLineEdit *second_;
    ResultLabel *result_;
    std::array<std::pair<QRadioButton *, Operation>, 6> operations_;
};

} // namespace tarnwick
