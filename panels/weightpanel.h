#pragma once

#include <functional>
#include <initializer_list>

#include <QString>

class QAbstractButton;
class QLineEdit;

namespace tarnwick {

class ResultLabel;
class TextField;

// One weight panel: a formula over the fields' current texts, the label that shows its weight
// and the calculator field that each new weight is forwarded to.
class WeightPanel
{
public:
    using Formula = std::function<double()>;

    // Made before the panel first computes: the label's text then is its initial text.
    WeightPanel(Formula formula, ResultLabel *label, QLineEdit *forwardTo);
    WeightPanel(const WeightPanel &) = delete;
    WeightPanel &operator=(const WeightPanel &) = delete;

    // Recomputes on the button (with its own pattern), on every input change and on the label's
    // own change; the label's change then forwards the label's text.
    void wire(
        QAbstractButton *button, int buttonDecimals, std::initializer_list<TextField *> inputs);

    [[nodiscard]] double weight() const { return formula_(); }
    void show(double weight, int decimals) const;
    void recompute(int decimals) const { show(weight(), decimals); }

    // Whether the label shows a computed weight rather than its initial text (a computed
    // weight never carries trailing zeros, so it never equals the initial "0.00").
    [[nodiscard]] bool hasShownWeight() const;

private:
    Formula formula_;
    ResultLabel *label_;
    QLineEdit *forwardTo_;
    QString initialText_;
};

} // namespace tarnwick
