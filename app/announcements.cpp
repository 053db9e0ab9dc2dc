#include "app/announcements.h"

#include "app/captions.h"
#include "app/controltable.h"

namespace tarnwick {

namespace {

const ControlId densityField = controlIndex("Text27");

// The result label of the field's panel: the one in the same frame, or for the calculator's
// fields (outside every frame) the calculator's.
std::optional<ControlId> resultOf(ControlId field)
{
    const ControlRow &row = controlTable.at(field);
    if (row.kind != Kind::TextField)
        return std::nullopt;
    for (ControlId label = 0; label < controlTable.size(); ++label) {
        if (controlTable[label].kind == Kind::ResultLabel
            && controlTable[label].container == row.container)
            return label;
    }
    return std::nullopt;
}

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
    const std::optional<ControlId> result = field == densityField ? refreshed_ : resultOf(field);
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
