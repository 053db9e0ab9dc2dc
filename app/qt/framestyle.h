#pragma once

#include <QProxyStyle>
#include <memory>

class QGroupBox;

namespace tarnwick {

// The frames' look where the application's style would stand a frame's caption above the frame
// as a row of its own (Fusion, Qt's default on Linux): the frame's top line runs through the
// middle of the caption and is interrupted behind it, as the Windows styles draw it.
//
// Only the group boxes are given this style (QWidget::setStyle does not pass on to children),
// and it changes nothing but CC_GroupBox: the controls inside a frame keep the application's
// style, and no control moves, since they are placed by hand and not by the frame's contents
// rectangle. Under a style that already draws the caption in the border nothing is changed.
class CaptionInBorderStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // The style for the frames, over a base of the application's kind (an instance of its own);
    // none where the application's style already draws the caption in the border.
    static std::unique_ptr<CaptionInBorderStyle> forApplicationStyle();

    // Gives the frame this style, or leaves it to the application's style where there is none.
    static void applyTo(QGroupBox *frame, CaptionInBorderStyle *style);

    [[nodiscard]] QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
        SubControl subControl, const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
        QPainter *painter, const QWidget *widget) const override;

private:
    explicit CaptionInBorderStyle(const QString &baseKey);
};

} // namespace tarnwick
