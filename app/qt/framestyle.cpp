#include "app/qt/framestyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QStyleOptionGroupBox>

namespace tarnwick {

namespace {

// The caption starts this far in from the frame's left edge, and the line stops this far short
// of the caption on either side (device-independent pixels).
constexpr int captionIndent = 7;
constexpr int captionGap = 2;

bool drawsCaptionAboveFrame(const QStyle *style)
{
    return style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

} // namespace

CaptionInBorderStyle::CaptionInBorderStyle(const QString &baseKey)
    : QProxyStyle(baseKey)
{ }

std::unique_ptr<CaptionInBorderStyle> CaptionInBorderStyle::forApplicationStyle()
{
    const QStyle *application = QApplication::style();
    if (!drawsCaptionAboveFrame(application))
        return nullptr;
    return std::unique_ptr<CaptionInBorderStyle>(new CaptionInBorderStyle(application->name()));
}

void CaptionInBorderStyle::applyTo(QGroupBox *frame, CaptionInBorderStyle *style)
{
    if (style != nullptr)
        frame->setStyle(style);
}

QRect CaptionInBorderStyle::subControlRect(ComplexControl control,
    const QStyleOptionComplex *option, SubControl subControl, const QWidget *widget) const
{
    const QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    if (control != CC_GroupBox
        || qstyleoption_cast<const QStyleOptionGroupBox *>(option) == nullptr)
        return rect;
    switch (subControl) {
    case SC_GroupBoxLabel:
    case SC_GroupBoxCheckBox:
        return rect.translated(
            option->direction == Qt::RightToLeft ? -captionIndent : captionIndent, 0);
    case SC_GroupBoxFrame: {
        QRect frame = option->rect;
        const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
        if (!caption.isEmpty())
            frame.setTop(caption.center().y());
        return frame;
    }
    default:
        return rect;
    }
}

void CaptionInBorderStyle::drawComplexControl(ComplexControl control,
    const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }

    if (box->subControls.testFlag(SC_GroupBoxFrame)) {
        const QRect frame = subControlRect(control, box, SC_GroupBoxFrame, widget);
        QRegion outside(box->rect);
        if (!box->text.isEmpty()) {
            const QRect caption = subControlRect(control, box, SC_GroupBoxLabel, widget);
            outside -= caption.adjusted(-captionGap, 0, captionGap, 0);
        }
        // Fusion's frame: a faintly shaded panel with a light, slightly rounded outline.
        const QColor window = box->palette.window().color();
        painter->save();
        painter->setClipRegion(outside, Qt::IntersectClip);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(window.darker(113), 1.0));
        painter->setBrush(window.darker(101));
        painter->drawRoundedRect(QRectF(frame).adjusted(1.5, 0.5, -1.5, -0.5), 2.0, 2.0);
        painter->restore();
    }

    // The caption itself as the base style draws it, in the place given above.
    QStyleOptionGroupBox rest(*box);
    rest.subControls &= ~SC_GroupBoxFrame;
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
}

} // namespace tarnwick
