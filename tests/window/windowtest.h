#pragma once

// Helpers shared by the window tests: a fresh window per test, controls found by name,
// and the user's own ways of changing them (key presses, clicks, input-method commits).

#include "app/qt/fields.h"
#include "app/qt/mainwindow.h"

#include <QAbstractButton>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QStringList>
#include <QTest>
#include <memory>

namespace windowtest {

inline std::unique_ptr<tarnwick::MainWindow> openWindow()
{
    auto window = std::make_unique<tarnwick::MainWindow>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the window was not exposed");
    return window;
}

template <class T = QWidget>
T *find(const QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (widget == nullptr)
        qFatal("no control %s of the expected kind", name);
    return widget;
}

inline QLineEdit *field(const QWidget *window, const char *name)
{
    return find<QLineEdit>(window, name);
}

inline QString text(const QWidget *window, const char *name)
{
    if (auto *label = window->findChild<QLabel *>(QLatin1String(name)))
        return label->text();
    return field(window, name)->text();
}

// Types the text key by key at the end of the field (ASCII only: QTest sends Latin-1 keys).
inline void type(const QWidget *window, const char *name, const QString &keys)
{
    QLineEdit *edit = field(window, name);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, keys);
}

// Clears the field the way a user does: select all, then Delete.
inline void clear(const QWidget *window, const char *name)
{
    QLineEdit *edit = field(window, name);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
}

// Selects all and types over it: the first key replaces the whole text in one change.
inline void replace(const QWidget *window, const char *name, const QString &keys)
{
    QLineEdit *edit = field(window, name);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, keys);
}

// Replaces the field's text by typing, as a user would.
inline void retype(const QWidget *window, const char *name, const QString &keys)
{
    clear(window, name);
    type(window, name, keys);
}

// Delivers text the way a Chinese input method commits it.
inline void commit(const QWidget *window, const char *name, const QString &committed)
{
    QLineEdit *edit = field(window, name);
    edit->setFocus();
    edit->end(false);
    QInputMethodEvent event;
    event.setCommitString(committed);
    QApplication::sendEvent(edit, &event);
}

inline void click(const QWidget *window, const char *name)
{
    QTest::mouseClick(find<QAbstractButton>(window, name), Qt::LeftButton);
}

// Every text that the field takes on, in order.
class TextHistory
{
public:
    TextHistory(const QWidget *window, const char *name)
        : field_(find<tarnwick::TextField>(window, name))
    {
        QObject::connect(field_, &tarnwick::TextField::changed, &context_,
            [this] { texts_.append(field_->text()); });
    }

    [[nodiscard]] const QStringList &texts() const { return texts_; }
    void clear() { texts_.clear(); }

private:
    tarnwick::TextField *field_;
    QStringList texts_;
    QObject context_; // ends the recording with the history
};

// Every text the user can see (a checked button marked *), by control name.
inline QMap<QString, QString> visibleTexts(const QWidget *window)
{
    QMap<QString, QString> texts;
    for (const QLineEdit *edit : window->findChildren<QLineEdit *>())
        texts.insert(edit->objectName(), edit->text());
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts.insert(label->objectName(), label->text());
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts.insert(button->objectName(),
            button->text() + (button->isChecked() ? QStringLiteral("*") : QString()));
    return texts;
}

} // namespace windowtest
