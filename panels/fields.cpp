#include "panels/fields.h"

#include "panels/text.h"

#include <variant>

namespace tarnwick {

std::u16string displayText(const Display &display)
{
    if (const auto *number = std::get_if<std::string>(&display))
        return toUtf16(*number);
    switch (std::get<Fault>(display)) {
    case Fault::OutOfRange:
        return u"超出范围";
    case Fault::DivisorZero:
        return u"除数不能为0";
    case Fault::RootDegreeZero:
        return u"不能开0次方";
    case Fault::NoRealResult:
        return u"无效运算";
    }
    return {};
}

double ReadNumber(const Form &form, ControlId field)
{
    return readNumber(toUtf8(form.text(field)));
}

void ShowWeight(Form &form, ControlId label, double weight, int decimals)
{
    form.setText(label, displayText(showWeight(weight, decimals)));
}

} // namespace tarnwick
