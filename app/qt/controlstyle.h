#pragma once

// How the rows of the control table become placed, named and styled controls: shared by the
// window and by the bare yardstick window of the start-up benchmark.

#include "app/controltable.h"

#include <QButtonGroup>
#include <QByteArray>
#include <QFont>
#include <QFontDatabase>
#include <QRadioButton>
#include <QResource>
#include <QString>
#include <QStringList>
#include <QWidget>
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
    return pixelsAt(twips, standardDpi);
}

// The families every control's Song typeface is looked up in, in order. On Linux the program
// embeds a subset of AR PL UMing with the characters its own texts use
// (app/resources/fonts/, made by scripts/make-song-subset.sh): looking it up needs no search
// through the system's fonts, and shaping reads a small face instead of a 27,000-glyph one. A
// character outside it (a user's typed text) falls back to "宋体": SimSun, or where SimSun is
// missing a Song-style face and then any CJK face, so that no caption ever shows boxes.
// Elsewhere, and where the program has no embedded face, "宋体" alone.
inline const QStringList &songFamilies()
{
    static const QStringList families = [] {
        QFont::insertSubstitutions(QStringLiteral("宋体"),
            { QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("AR PL UMing CN"),
                QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL SungtiL GB"),
                QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                QStringLiteral("Droid Sans Fallback"), QStringLiteral("Microsoft YaHei") });
        QStringList list;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
        const QResource embedded(QStringLiteral(":/fonts/tarnwick-song.ttf"));
        if (embedded.isValid() && embedded.compressionAlgorithm() == QResource::NoCompression) {
            const int id = QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                reinterpret_cast<const char *>(embedded.data()), // NOLINT: bytes
                static_cast<qsizetype>(embedded.size())));
            if (id >= 0)
                list = QFontDatabase::applicationFontFamilies(id);
        }
#endif
        list.append(QStringLiteral("宋体"));
        return list;
    }();
    return families;
}

// Every control is drawn in the Song typeface (see songFamilies).
inline QFont songFont(double points)
{
    QFont font;
    font.setFamilies(songFamilies());
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
