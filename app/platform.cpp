#include "app/platform.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tarnwick::platform {

void setStayOnTop(QWidget *window, bool onTop)
{
#ifdef Q_OS_WIN
    // Position and size are ignored under SWP_NOMOVE | SWP_NOSIZE, so they are passed as 0.
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
        0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
#else
    // QWidget::setWindowFlags would re-create (and so hide) the window; the QWindow's own flag
    // changes the band of the window as it stands.
    if (QWindow *handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
#endif
}

void openWebPage(const QUrl &address)
{
    QDesktopServices::openUrl(address);
}

} // namespace tarnwick::platform
