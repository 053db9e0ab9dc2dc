#include "app/qt/platform.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace tarnwick {

void QtPlatform::setStayOnTop(bool onTop)
{
    // QWidget::setWindowFlags would re-create (and so hide) the window; the QWindow's own flag
    // changes the band of the window as it stands.
    if (QWindow *handle = window_->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        window_->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

void QtPlatform::openWebPage(std::string_view address)
{
    QDesktopServices::openUrl(
        QUrl(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())),
            QUrl::StrictMode));
}

} // namespace tarnwick

#ifdef Q_OS_UNIX
#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick::platform {

namespace {

constexpr std::array terminationSignals { SIGTERM, SIGINT, SIGHUP };

// The handler writes to one end, the event loop reads the other: a handler may do little more
// than write(2), so the quit itself happens in the loop.
std::array<int, 2> signalSockets { -1, -1 };

void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<char>(signal);
    // A full socket already holds a quit request, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void quitOnTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSockets.data())
        != 0)
        return;
    auto *app = QCoreApplication::instance();
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalSockets[1], &byte, 1);
        notifier->setEnabled(false);
        QCoreApplication::quit();
    });

    struct sigaction action
    {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : terminationSignals) {
        struct sigaction previous
        {
        };
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace tarnwick::platform
#endif
