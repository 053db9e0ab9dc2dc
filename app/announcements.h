#pragma once

#include "panels/form.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>

namespace tarnwick {

// What a window provides for speaking results: one timer and the platform's announcement.
class AnnouncementSeam
{
public:
    // Starts the window's one settling timer afresh; when it runs out, the window calls
    // WindowModel::settled().
    virtual void startSettling(std::chrono::milliseconds delay) = 0;
    // Asks screen readers, politely, to speak the result label's text wherever they are reading.
    virtual void announce(ControlId label) = 0;

protected:
    AnnouncementSeam() = default;
    AnnouncementSeam(const AnnouncementSeam &) = default;
    AnnouncementSeam &operator=(const AnnouncementSeam &) = default;
    ~AnnouncementSeam() = default;
};

// Which result a screen reader speaks after what the user did, and when, so that a user who
// types a length hears the weight without leaving the field:
// - a change of a weight panel's field: that panel's weight; of a calculator field: its result;
// - a change of the density: the last weight it refreshed (the one that went last into the
//   calculator), if it refreshed any;
// - each of these once the text has settled: `settlingTime` after the last change, so that
//   typing "1000" is spoken once;
// - a press of a "重量：" button or "=": its result at once, in place of what typing left
//   pending; any other press (reset, pin, visit) and a selection: nothing, and a press drops
//   what was pending;
// - a result is spoken only when its text differs from what it last spoke; after a reset every
//   result starts afresh.
class Announcements
{
public:
    static constexpr std::chrono::milliseconds settlingTime { 500 };

    Announcements(Form &form, AnnouncementSeam &seam);
    Announcements(const Announcements &) = delete;
    Announcements &operator=(const Announcements &) = delete;
    ~Announcements() = default;

    // What the user did, after the form has run it.
    void edited(ControlId field);
    void pressed(ControlId button);
    // The settling timer ran out.
    void settled();
    // Forgets what every result last spoke, and what was pending.
    void forget();

private:
    void speak(ControlId label);

    Form &form_;
    AnnouncementSeam &seam_;
    std::optional<ControlId> pending_;
    std::optional<ControlId> refreshed_; // the last weight changed by the current action
    std::map<ControlId, std::u16string> spoken_;
};

} // namespace tarnwick
