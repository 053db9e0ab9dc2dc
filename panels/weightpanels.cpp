#include "panels/weightpanels.h"

#include "panels/fields.h"
#include "panels/formulas.h"

namespace tarnwick {

using Inputs = WeightPanel::Inputs;

WeightPanels::WeightPanels(Form &form)
    : plateByDimensions_(form, "Label26", { "Text1", "Text2", "Text3" }, // length, width, thickness
        [](double density, const Inputs &in) {
            return plateByDimensions(density, in[0], in[1], in[2]);
        })
    , plateByArea_(form, "Label27", { "Text5", "Text6" }, // area, thickness
          [](double density, const Inputs &in) { return plateByArea(density, in[0], in[1]); })
    , roundBar_(form, "Label30", { "Text4", "Text18" }, // diameter, length
          [](double density, const Inputs &in) { return roundBar(density, in[0], in[1]); })
    , pipe_(form, "Label29",
          { "Text11", "Text12", "Text13", "Text14" }, // outer, inner, wall, length
          [&form, byInnerDiameter = form.id("Option1")](double density, const Inputs &in) {
              if (form.isSelected(byInnerDiameter))
                  return pipeByInnerDiameter(density, in[0], in[1], in[3]);
              return pipeByWall(density, in[0], in[2], in[3]);
          })
{
    plateByDimensions_.wire("Command1", twoDecimals);
    plateByArea_.wire("Command2", twoDecimals);
    // The round bar's button shows five decimals for a moment; the label's own change brings
    // it back to two and forwards the weight.
    roundBar_.wire("Command5", fiveDecimals);
    // Choosing inner diameter or wall thickness is no trigger: it counts at the next one.
    pipe_.wire("Command4", twoDecimals);

    form.onChange(plateByDimensions_.densityField(), [this] { densityChanged(); });
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
