#pragma once

#include "app/controltable.h"

#include <string>

namespace tarnwick {

// What a screen reader reads of a control, beside what the control itself shows.
//
// A field is named by the caption beside it (the pipe's inner diameter and wall by their option
// buttons), the calculator's second number by a name of its own, the banner by what it shows.
// A result label's name is the text it shows, which the window keeps current; what that text is
// (its panel's weight, or the calculator's result) is its description. Buttons, option buttons,
// frames and caption labels are named by their own captions.

// The control's name where its own text does not give it; empty where it does.
std::u16string accessibleName(const ControlRow &row);

// What the control's value is, for a result label; empty for every other control.
std::u16string accessibleDescription(const ControlRow &row);

// Whether the control's name is the text it shows, kept current as that text changes.
constexpr bool namedByItsText(const ControlRow &row)
{
    return row.kind != Kind::TextField && row.kind != Kind::Picture;
}

} // namespace tarnwick
