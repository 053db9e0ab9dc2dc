#pragma once

#include "panels/numbers.h"

#include <QLabel>
#include <QLineEdit>

namespace tarnwick {

// A single-line text field whose `changed` signal fires exactly when its text becomes a
// different text, by the user or by the program, at once and nested inside the edit.
// (QLineEdit::textChanged also fires for user edits that leave the text as it was.)
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextField(QWidget *parent = nullptr);

signals:
    void changed();

private:
    QString shownText_;
};

// A label that shows a computed value; `changed` fires exactly when its text changes.
class ResultLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ResultLabel(QWidget *parent = nullptr);

    // Sets the text; raises `changed` only if it differs from the text shown.
    void showText(const QString &text);

signals:
    void changed();
};

// The text the window shows for a computed value or a fault.
QString displayText(const Display &display);

// The number that the field's text begins with (0 where none).
double ReadNumber(const QLineEdit *field);

constexpr int twoDecimals = 2; // the pattern "0.00"
constexpr int fiveDecimals = 5; // the pattern "0.00000"

// Shows the weight rounded to `decimals` places, in its shortest form, on the label.
void ShowWeight(ResultLabel *label, double weight, int decimals);

} // namespace tarnwick
