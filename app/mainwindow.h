#pragma once

#include "calculator/calculatorpanel.h"
#include "panels/weightpanels.h"

#include <QWidget>
#include <memory>

namespace tarnwick {

class CaptionInBorderStyle;

// The program's one window, "Form1", fixed at 568 × 460.
//
// Every control is made by one loop over the control table (app/controltable.h), in its order,
// named by its table name, placed in its container and given its caption and font. Text fields
// and result labels raise `changed` exactly when their text becomes a different text, at once
// and nested inside whatever set it; everything the window computes hangs off those signals.
// A keystroke in a weight panel's field recomputes that panel and shows the weight on its
// result label; the label's own change recomputes once more (same text: nothing further) and
// forwards the text into the calculator's first operand, whose change recomputes the
// calculator. The cascade ends because setting a text that is already shown raises nothing.
//
// Qt's focus chain runs through the focusable controls in the table's tab order; Tab follows it,
// with each group of option buttons as one stop at its selected button. No push button is a default
// button: Enter presses nothing.
class MainWindow : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool PinnedOnTop READ pinnedOnTop NOTIFY pinnedOnTopChanged)

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    [[nodiscard]] bool pinnedOnTop() const { return pinnedOnTop_; }

    // Places the window in the middle of the screen's available area.
    void centerOnScreen();

signals:
    void pinnedOnTopChanged(bool pinned);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    void createControls();
    void nameForScreenReaders();
    void togglePinnedOnTop();
    void reset();
    static void visitWebPage();

    std::unique_ptr<CaptionInBorderStyle> frameStyle_;
    QWidget *firstTabStop_ = nullptr;
    std::unique_ptr<WeightPanels> panels_;
    std::unique_ptr<CalculatorPanel> calculator_;
    bool pinnedOnTop_ = false;
};

} // namespace tarnwick
