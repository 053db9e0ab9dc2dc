#include "app/windowmodel.h"

#include "app/controltable.h"
#include "panels/text.h"

#include <map>
#include <vector>

namespace tarnwick {

namespace {

constexpr std::u16string_view pinnedCaption = u"不置顶";

} // namespace

WindowModel::WindowModel(PlatformSeam &platform, AnnouncementSeam &announcer)
    : platform_(platform)
    , panels_(withControls(form_))
    , calculator_(form_)
    , announcements_(form_, announcer)
{
    form_.onClick(form_.id("Command8"), [this] { togglePinnedOnTop(); });
    form_.onClick(form_.id("Command10"), [this] { reset(); });
    form_.onClick(form_.id("Command11"), [this] { platform_.openWebPage(makerPage); });
}

void WindowModel::edited(ControlId field, std::u16string_view text)
{
    if (form_.text(field) == text)
        return;
    form_.edited(field, text);
    announcements_.edited(field);
}

void WindowModel::pressed(ControlId button)
{
    form_.pressed(button);
    announcements_.pressed(button);
}

// Adds the table's controls in its order, so that ids are row indexes, and makes each
// container's option buttons one group. A picture holds no text.
Form &WindowModel::withControls(Form &form)
{
    std::map<std::string_view, std::vector<ControlId>> options;
    std::map<std::string_view, ControlId> selected;
    for (const ControlRow &row : controlTable) {
        const ControlId id
            = form.add(row.name, row.kind == Kind::Picture ? std::u16string() : toUtf16(row.text));
        if (row.kind == Kind::OptionButton) {
            options[row.container].push_back(id);
            if (row.selected)
                selected[row.container] = id;
        }
    }
    for (const auto &[container, group] : options)
        form.addOptionGroup(group, selected.at(container));
    return form;
}

// The caption names what the next click does; flag and caption follow the call whatever it
// achieved.
void WindowModel::togglePinnedOnTop()
{
    static const std::u16string releasedCaption = toUtf16(controlRow("Command8").text);
    platform_.setStayOnTop(!pinnedOnTop_);
    pinnedOnTop_ = !pinnedOnTop_;
    form_.setText(form_.id("Command8"), pinnedOnTop_ ? pinnedCaption : releasedCaption);
}

// Empties every text field in creation order; each emptying runs its whole cascade before the
// next field is emptied. Every result starts afresh for screen readers.
void WindowModel::reset()
{
    announcements_.forget();
    for (ControlId control = 0; control < controlTable.size(); ++control) {
        if (controlTable.at(control).kind == Kind::TextField)
            form_.setText(control, u"");
    }
}

} // namespace tarnwick
