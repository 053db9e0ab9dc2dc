#include "app/announcements.h"

#include "app/captions.h"
#include "app/controltable.h"

#include <array>

namespace tarnwick {

namespace {

constexpr ControlId densityField = controlIndex("Text27");

// By field, the result label of its panel: the one in the same frame, or for the calculator's
// fields (outside every frame) the calculator's; none for every other control.
constexpr auto resultOf = [] {
    std::array<std::optional<ControlId>, controlTable.size()> results {};
    for (ControlId field = 0; field < controlTable.size(); ++field) {
        if (controlTable[field].kind != Kind::TextField)
            continue;
        for (ControlId label = 0; label < controlTable.size(); ++label) {
            if (controlTable[label].kind == Kind::ResultLabel
                && controlTable[label].container == controlTable[field].container) {
                results[field] = label;
                break;
            }
        }
    }
    return results;
}();

} // namespace

Announcements::Announcements(Form &form, AnnouncementSeam &seam)
    : form_(form)
    , seam_(seam)
{
    for (ControlId label = 0; label < controlTable.size(); ++label) {
        if (controlTable[label].kind == Kind::ResultLabel && !controlTable[label].container.empty())
            form_.onChange(label, [this, label] { refreshed_ = label; });
    }
}

void Announcements::edited(ControlId field)
{
    const std::optional<ControlId> result = field == densityField ? refreshed_ : resultOf.at(field);
    refreshed_.reset();
    if (result)
        pending_ = result;
    if (pending_)
        seam_.startSettling(settlingTime);
}

void Announcements::pressed(ControlId button)
{
    refreshed_.reset();
    pending_.reset();
    const std::string_view result = resultAnsweredBy(controlTable.at(button).name);
    if (!result.empty())
        speak(controlIndex(result));
}

void Announcements::settled()
{
    if (!pending_)
        return;
    const ControlId label = *pending_;
    pending_.reset();
    speak(label);
}

void Announcements::forget()
{
    pending_.reset();
    spoken_.clear();
}

void Announcements::speak(ControlId label)
{
    const std::u16string &text = form_.text(label);
    const auto spoken = spoken_.find(label);
    if (spoken != spoken_.end() && spoken->second == text)
        return;
    spoken_[label] = text;
    seam_.announce(label);
}

} // namespace tarnwick
