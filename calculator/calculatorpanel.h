#pragma once

#include "calculator/calculation.h"
#include "panels/form.h"

#include <array>
#include <utility>

namespace tarnwick {

// The two-operand calculator on the form's controls: recomputes on "=", on a change of either
// operand and on a change of its own result. Choosing another operation counts at the next of
// these.
class CalculatorPanel
{
public:
    explicit CalculatorPanel(Form &form);
    CalculatorPanel(const CalculatorPanel &) = delete;
    CalculatorPanel &operator=(const CalculatorPanel &) = delete;
    ~CalculatorPanel() = default;

    void CalculateResult() const;

private:
    [[nodiscard]] Operation selectedOperation() const;

    Form &form_;
    ControlId first_;
    ControlId second_;
    ControlId result_;
    std::array<std::pair<ControlId, Operation>, 6> operations_;
};

} // namespace tarnwick
