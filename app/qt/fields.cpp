#include "app/qt/fields.h"

#include "app/captions.h"
#include "app/qt/controlstyle.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <limits>

namespace tarnwick {

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    // A text field has no length limit.
    setMaxLength(std::numeric_limits<int>::max());
}

ResultLabel::ResultLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void ResultLabel::openCopyMenu(const QPoint &globalPosition)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(fromUtf8(copyCaption), this, &ResultLabel::copy);
    menu->popup(globalPosition);
}

void ResultLabel::openCopyMenu()
{
    openCopyMenu(mapToGlobal(rect().bottomLeft()));
}

void ResultLabel::copy() const
{
    QGuiApplication::clipboard()->setText(text());
}

void ResultLabel::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        openCopyMenu();
    else
        openCopyMenu(event->globalPos());
    event->accept();
}

} // namespace tarnwick
