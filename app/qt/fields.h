#pragma once

#include <QLabel>
#include <QLineEdit>

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
class ResultLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ResultLabel(QWidget *parent = nullptr);

signals:
    void changed();
};

} // namespace tarnwick
