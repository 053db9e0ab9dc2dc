#pragma once

#include "panels/numbers.h"

namespace tarnwick {

// The calculator's operations, in the order in which its option buttons stand.
enum class Operation { Add, Subtract, Multiply, Divide, Power, Root };

// The result of `a op b` written with exactly two decimals, or why there is none.
Display calculate(double a, double b, Operation op);

} // namespace tarnwick
