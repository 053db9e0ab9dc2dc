#include "panels/weightpanels.h"

#include "panels/controls.h"
#include "panels/fields.h"
#include "panels/formulas.h"

#include <QPushButton>
#include <QRadioButton>

namespace tarnwick {

namespace {

TextField *field(QWidget *form, const char *name)
{
    return control<TextField>(form, name);
}

ResultLabel *label(QWidget *form, const char *name)
{
    return control<ResultLabel>(form, name);
}

} // namespace

WeightPanels::WeightPanels(QWidget *form)
    : plateByDimensions_(
        [density = field(form, "Text27"), length = field(form, "Text1"),
            width = field(form, "Text2"), thickness = field(form, "Text3")] {
            return tarnwick::plateByDimensions(
                ReadNumber(density), ReadNumber(length), ReadNumber(width), ReadNumber(thickness));
        },
        label(form, "Label26"), field(form, "Text24"))
    , plateByArea_(
          [density = field(form, "Text27"), area = field(form, "Text5"),
              thickness = field(form, "Text6")] {
              return tarnwick::plateByArea(
                  ReadNumber(density), ReadNumber(area), ReadNumber(thickness));
          },
          label(form, "Label27"), field(form, "Text24"))
    , roundBar_(
          [density = field(form, "Text27"), diameter = field(form, "Text4"),
              length = field(form, "Text18")] {
              return tarnwick::roundBar(
                  ReadNumber(density), ReadNumber(diameter), ReadNumber(length));
          },
          label(form, "Label30"), field(form, "Text24"))
    , pipe_(
          [density = field(form, "Text27"), outer = field(form, "Text11"),
              inner = field(form, "Text12"), wall = field(form, "Text13"),
              length = field(form, "Text14"),
              byInnerDiameter = control<QRadioButton>(form, "Option1")] {
              const double rho = ReadNumber(density);
              const double d = ReadNumber(outer);
              if (byInnerDiameter->isChecked())
                  return pipeByInnerDiameter(rho, d, ReadNumber(inner), ReadNumber(length));
              return pipeByWall(rho, d, ReadNumber(wall), ReadNumber(length));
          },
          label(form, "Label29"), field(form, "Text24"))
{
    plateByDimensions_.wire(control<QPushButton>(form, "Command1"), twoDecimals,
        { field(form, "Text1"), field(form, "Text2"), field(form, "Text3") });
    plateByArea_.wire(control<QPushButton>(form, "Command2"), twoDecimals,
        { field(form, "Text5"), field(form, "Text6") });
    // The round bar's button shows five decimals for a moment; the label's own change brings
    // it back to two and forwards the weight.
    roundBar_.wire(control<QPushButton>(form, "Command5"), fiveDecimals,
        { field(form, "Text4"), field(form, "Text18") });
    // Choosing inner diameter or wall thickness is no trigger: it counts at the next one.
    pipe_.wire(control<QPushButton>(form, "Command4"), twoDecimals,
        { field(form, "Text11"), field(form, "Text12"), field(form, "Text13"),
            field(form, "Text14") });

    TextField *density = field(form, "Text27");
    QObject::connect(density, &TextField::changed, density, [this] { densityChanged(); });
}

// A new density brings both plates up to date (both weights computed before either is
// shown), then the round bar and the pipe where they already show a weight: a panel the user
// never used stays as it is and forwards nothing.
void WeightPanels::densityChanged() const
{
    const double plate1 = plateByDimensions_.weight();
    const double plate2 = plateByArea_.weight();
    plateByDimensions_.show(plate1, twoDecimals);
    plateByArea_.show(plate2, twoDecimals);
    if (roundBar_.hasShownWeight())
        roundBar_.recompute(twoDecimals);
    if (pipe_.hasShownWeight())
        pipe_.recompute(twoDecimals);
}

} // namespace tarnwick
