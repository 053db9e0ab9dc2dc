#pragma once

#include "app/controltable.h"

#include <string>

namespace tarnwick {

// The name a screen reader announces for the control: a field's is the caption beside it, a
// result label's what its value is (the weight of its panel, or the calculator's result);
// empty for a control that its own caption names.
std::u16string accessibleName(const ControlRow &row);

} // namespace tarnwick
