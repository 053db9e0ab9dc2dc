#pragma once

// How a row of the control table becomes pixels and type: shared by the window and by the
// bare yardstick window of the start-up benchmark.

#include "app/controltable.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <cmath>
#include <string_view>

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

} // namespace tarnwick
