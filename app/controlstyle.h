#pragma once

// How the rows of the control table become placed, named and styled controls: shared by the
// window and by the bare yardstick window of the start-up benchmark.

#include "app/controltable.h"

#include <QButtonGroup>
#include <QFont>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cmath>
#include <map>
#include <string_view>
#include <vector>

namespace tarnwick {

inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Twips to device-independent pixels; Qt's high-DPI scaling serves denser screens.
inline int pixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

// Every control is drawn in the Song typeface. Where SimSun is missing, a Song-style face and
// then any CJK face stand in, so that no caption ever shows boxes.
inline QFont songFont(double points)
{
    static const bool fallbacksInstalled = [] {
        QFont::insertSubstitutions(QStringLiteral("宋体"),
            { QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("AR PL UMing CN"),
                QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL SungtiL GB"),
                QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                QStringLiteral("Droid Sans Fallback"), QStringLiteral("Microsoft YaHei") });
        return true;
    }();
    Q_UNUSED(fallbacksInstalled);
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

// Creates every control of the table in its order with `make(row, container)`, then names,
// places and styles it. Qt's automatic exclusivity would also reach into the frames below the
// window, so each container's option buttons get a group of their own. Returns the controls in
// table order.
template <class Make>
std::vector<QWidget *> buildControls(QWidget *form, Make make)
{
    std::map<std::string_view, QWidget *> containers;
    std::map<QWidget *, QButtonGroup *> optionGroups;
    std::vector<QWidget *> controls;
    controls.reserve(controlTable.size());
    for (const ControlRow &row : controlTable) {
        QWidget *container = row.container.empty() ? form : containers.at(row.container);
        QWidget *widget = make(row, container);
        widget->setObjectName(fromUtf8(row.name));
        widget->setGeometry(
            pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
        if (row.fontPoints > 0)
            widget->setFont(songFont(row.fontPoints));
        if (row.kind == Kind::Frame)
            containers.emplace(row.name, widget);
        if (row.kind == Kind::OptionButton) {
            auto [group, isNew] = optionGroups.try_emplace(container, nullptr);
            if (isNew)
                group->second = new QButtonGroup(container);
            group->second->addButton(qobject_cast<QRadioButton *>(widget));
        }
        controls.push_back(widget);
    }
    return controls;
}

} // namespace tarnwick
