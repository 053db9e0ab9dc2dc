#pragma once

#include "panels/form.h"
#include "panels/weightpanel.h"

namespace tarnwick {

// The four weight panels of the window and the shared density field, wired to the form's
// controls by name: each panel recomputes on its triggers and forwards every new weight to the
// calculator's first operand.
class WeightPanels
{
public:
    explicit WeightPanels(Form &form);

private:
    void densityChanged() const;

    WeightPanel plateByDimensions_;
    WeightPanel plateByArea_;
    WeightPanel roundBar_;
    WeightPanel pipe_;
};

} // namespace tarnwick
