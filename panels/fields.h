#pragma once

#include "panels/form.h"
#include "panels/numbers.h"

#include <string>

// Numeric fields and result labels on a form.
namespace tarnwick {

// The text a result label shows for a computed value or a fault.
std::u16string displayText(const Display &display);

// The number that the field's text begins with (0 where none).
double ReadNumber(const Form &form, ControlId field);

constexpr int twoDecimals = 2; // the pattern "0.00"
constexpr int fiveDecimals = 5; // the pattern "0.00000"

// Shows the weight rounded to `decimals` places, in its shortest form, on the label.
void ShowWeight(Form &form, ControlId label, double weight, int decimals);

} // namespace tarnwick
