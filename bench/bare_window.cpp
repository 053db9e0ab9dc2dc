// The yardstick for the program's start-up: a plain Qt window of the same size holding the same
// 51 controls (same kinds, places, captions and fonts, read from the same control table), with
// nothing behind them: no weight panels, no calculator, no resources (the picture stays empty,
// the window has no icon). Whatever the program costs beyond this is its own.
//
//   bench_bare_window           the window and its controls
//   bench_bare_window --empty   the window alone: the floor that Qt itself sets

#include "app/qt/controlstyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

namespace {

using tarnwick::ControlRow;
using tarnwick::fromUtf8;
using tarnwick::Kind;
using tarnwick::pixels;
using tarnwick::songFont;

QWidget *makeControl(const ControlRow &row, QWidget *container)
{
    const QString text = fromUtf8(row.text);
    switch (row.kind) {
    case Kind::Frame:
        return new QGroupBox(text, container);
    case Kind::Label: {
        auto *label = new QLabel(text, container);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::ResultLabel: {
        auto *label = new QLabel(text, container);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        return label;
    }
    case Kind::TextField:
        return new QLineEdit(text, container);
    case Kind::PushButton: {
        auto *button = new QPushButton(text, container);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::OptionButton: {
        auto *option = new QRadioButton(text, container);
        option->setChecked(row.selected);
        return option;
    }
    case Kind::Picture:
        return new QLabel(container);
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral("Tarnwick（单位：kg，mm）"));
    window.setFixedSize(pixels(tarnwick::formWidthTwips), pixels(tarnwick::formHeightTwips));
    window.setFont(songFont(10.5));

    const bool empty = QCoreApplication::arguments().contains(QStringLiteral("--empty"));
    if (!empty)
        tarnwick::buildControls(&window, makeControl);
    if (!empty)
        window.findChild<QLineEdit *>(QStringLiteral("Text1"))->setFocus(Qt::OtherFocusReason);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return QApplication::exec();
}
