#pragma once

#include "panels/form.h"

#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// One weight panel: a formula over the density and the panel's input fields, the label that
// shows its weight and the calculator field that each new weight is forwarded to. The input
// fields are named once: the formula gets their numbers in that order, and each of them is a
// trigger of the panel.
class WeightPanel
{
public:
    static constexpr std::size_t maxInputs = 4;
    // The inputs' numbers in the order the panel names its fields; 0 past the last.
    using Inputs = std::array<double, maxInputs>;
    using Formula = std::function<double(double density, const Inputs &inputs)>;

    // Made before the panel first computes, so the label's text then is its initial text.
    WeightPanel(Form &form, std::string_view label, std::initializer_list<std::string_view> inputs,
        Formula formula);
    WeightPanel(const WeightPanel &) = delete;
    WeightPanel &operator=(const WeightPanel &) = delete;
    ~WeightPanel() = default;

    // Recomputes on the button (with its own pattern), on every input change and on the label's
    // own change; the label's change then forwards the label's text.
    void wire(std::string_view button, int buttonDecimals);

    [[nodiscard]] double weight() const;
    [[nodiscard]] ControlId densityField() const { return density_; }
    void show(double weight, int decimals) const;
    void recompute(int decimals) const { show(weight(), decimals); }

    // Whether the label shows a computed weight rather than its initial text (a computed
    // weight never carries trailing zeros, so it never equals the initial "0.00").
    [[nodiscard]] bool hasShownWeight() const;

private:
    Form &form_;
    Formula formula_;
    ControlId density_;
    std::vector<ControlId> inputs_;
    ControlId label_;
    ControlId forwardTo_;
    std::u16string initialText_;
};

} // namespace tarnwick
