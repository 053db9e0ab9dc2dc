#pragma once

#include "app/qt/platform.h"
#include "app/windowmodel.h"

#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

namespace tarnwick {

class CaptionInBorderStyle;
class ResultLabel;

// The program's one window, "Form1", fixed at 568 × 460: a view of the window model.
//
// Every control is made by one loop over the control table (app/controltable.h), in its order,
// named by its table name, placed in its container and given its caption and font; the model
// holds the same controls under the same indexes. The window reports what the user does to the
// model (a field's new text, a click, a selection) and mirrors at once every text that the
// model sets. A field mirrored this way signals textChanged as any line edit does; the model
// holds that text already, so it is no change there. Fields and result labels announce each
// change event with their `changed` signal, inside which the event's cascade runs.
//
// Qt's focus chain runs through the focusable controls in the table's tab order; Tab follows it,
// with each group of option buttons as one stop at its selected button. No push button is a
// default button: Enter presses nothing.
//
// Beside what it shows, the window gives screen readers each control's name (app/captions): a
// result label is named by the text it shows, which Qt keeps current and announces at each
// change, and described by what that text is. The model says which result readers are to hear
// wherever they are, and when (app/announcements.h); the window gives it a timer and, with Qt 6.8
// or later, sends that result's text as a polite announcement. A result label's context menu copies
// its text; with the focus on the button or "=" that answers for a result, the keyboard's
// context-menu key, or Shift+F10 as anywhere in the window, opens that label's menu.
class MainWindow : public QWidget, private FormObserver, private AnnouncementSeam
{
    Q_OBJECT
    Q_PROPERTY(bool PinnedOnTop READ pinnedOnTop NOTIFY pinnedOnTopChanged)

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    [[nodiscard]] bool pinnedOnTop() const { return model_.pinnedOnTop(); }

    // Places the window in the middle of the screen's available area.
    void centerOnScreen();

signals:
    void pinnedOnTopChanged(bool pinned);

protected:
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void reportUserActions();
    void nameForScreenReaders();
    [[nodiscard]] ResultLabel *resultAnsweredBy(const QWidget *control) const;

    void textSet(ControlId control, std::u16string_view text) override;
    void optionSelected(ControlId option) override;
    void announceChange(ControlId control, const ChangeEvent &event) override;
    void startSettling(std::chrono::milliseconds delay) override;
    void announce(ControlId label) override;

    QtPlatform platform_;
    QTimer settling_;
    WindowModel model_;
    std::unique_ptr<CaptionInBorderStyle> frameStyle_;
    std::vector<QWidget *> controls_; // by control id, the table's order
    QWidget *firstTabStop_ = nullptr;
    std::vector<const ChangeEvent *>
        announced_; // the change events being announced, innermost last
};

} // namespace tarnwick
