#pragma once

#include "app/controltable.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

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

// The context menu of a result label has one item, which puts the label's text on the
// clipboard; C is its access key, as in the system's own menus.
constexpr std::string_view copyCaption = "复制(&C)";

// The result label that a button answers for: each weight panel's "重量：" button its panel's
// weight, "=" the calculator's result. With the focus on such a button, the keyboard's
// context-menu key opens that label's menu. Empty for every other control.
constexpr std::string_view resultAnsweredBy(std::string_view button)
{
    constexpr std::array<std::pair<std::string_view, std::string_view>, 5> answers { {
        { "Command1", "Label26" },
        { "Command2", "Label27" },
        { "Command5", "Label30" },
        { "Command4", "Label29" },
        { "Command7", "Label32" },
    } };
    for (const auto &[pressed, result] : answers) {
        if (pressed == button)
            return result;
    }
    return {};
}

} // namespace tarnwick
