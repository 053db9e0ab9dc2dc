#pragma once

#include "panels/weightpanel.h"

class QWidget;

namespace tarnwick {

// The four weight panels of the window and the shared density field, wired to the window's
// controls: each panel recomputes on its triggers and forwards every new weight to the
// calculator's first operand.
class WeightPanels
{
public:
    explicit WeightPanels(QWidget *form);

private:
    void densityChanged() const;

    WeightPanel plateByDimensions_;
    WeightPanel plateByArea_;
    WeightPanel roundBar_;
    WeightPanel pipe_;
};

} // namespace tarnwick
