#pragma once

#include <QLabel>
#include <QLineEdit>

class QContextMenuEvent;

namespace tarnwick {

// A single-line text field of the window. Its `changed` signal announces the field's change
// event: the window emits it when the form changes the field's text, and the event's whole
// cascade runs inside the emission (so a slot connected before the window wired its controls
// sees a change begin, one connected after sees it end).
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextField(QWidget *parent = nullptr);

signals:
    void changed();
};

// A label that shows a computed value; `changed` announces its change event as a field's does.
// Its text is plain text, shown and read out exactly as set. A right click opens its context
// menu, whose one item "复制(&C)" puts the text on the clipboard.
class ResultLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ResultLabel(QWidget *parent = nullptr);

    // Opens the context menu at the point on the screen; from the keyboard, below the label.
    void openCopyMenu(const QPoint &globalPosition);
    void openCopyMenu();

    // Puts the text, exactly as shown, on the clipboard.
    void copy() const;

signals:
    void changed();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};

} // namespace tarnwick
