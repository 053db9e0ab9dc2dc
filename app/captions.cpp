#include "app/captions.h"

#include "panels/text.h"

#include <array>
#include <string_view>
#include <utility>

namespace tarnwick {

namespace {

// The names of the controls that no caption names.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> ownNames { {
    { "Text25", "计算器第二个数" },
    // The banner's lines as drawn.
    { "Image1",
        "塔恩威克钢材有限公司，钢板 · 圆钢 · 钢管 · 型材 · 不锈钢，电话：0000-0000000，"
        "手机：000-0000-0000，www.tarnwick-steel.example" },
} };

} // namespace

std::u16string accessibleName(const ControlRow &row)
{
    for (const auto &[control, name] : ownNames) {
        if (row.name == control)
            return toUtf16(name);
    }
    if (row.kind != Kind::TextField || row.captionedBy.empty())
        return {};
    return toUtf16(controlRow(row.captionedBy).text);
}

std::u16string accessibleDescription(const ControlRow &row)
{
    if (row.kind != Kind::ResultLabel || row.captionedBy.empty())
        return {};
    const ControlRow &caption = controlRow(row.captionedBy);
    std::u16string purpose = toUtf16(caption.text);
    if (purpose.ends_with(u':') || purpose.ends_with(u'：'))
        purpose.pop_back();
    purpose += caption.kind == Kind::Frame ? u"重量" : u"结果";
    return purpose;
}

} // namespace tarnwick
