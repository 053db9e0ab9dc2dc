#include "app/captions.h"

#include "panels/text.h"

namespace tarnwick {

std::u16string accessibleName(const ControlRow &row)
{
    if (row.captionedBy.empty())
        return {};
    const ControlRow &caption = controlRow(row.captionedBy);
    std::u16string name = toUtf16(caption.text);
    if (row.kind == Kind::ResultLabel) {
        if (name.ends_with(u':') || name.ends_with(u'：'))
            name.pop_back();
        name += caption.kind == Kind::Frame ? u"重量" : u"结果";
    }
    return name;
}

} // namespace tarnwick
