#pragma once

#include "app/windowmodel.h"

class QWidget;

namespace tarnwick {

// The window commands' platform calls for a Qt window.
class QtPlatform final : public PlatformSeam
{
public:
    explicit QtPlatform(QWidget *window)
        : window_(window)
    { }

    // Changes the band of the window as it stands, without re-creating (and so hiding) it.
    void setStayOnTop(bool onTop) override;
    void openWebPage(std::string_view address) override;

private:
    QWidget *window_;
};

} // namespace tarnwick

#include <QtGlobal>

#ifdef Q_OS_UNIX
namespace tarnwick::platform {

// From here on SIGTERM, SIGINT and SIGHUP end the event loop as a normal quit would (exit
// status 0), so that `kill`, Ctrl+C or the end of a session close the program cleanly. A
// signal that was ignored when the program started (nohup) stays ignored.
void quitOnTerminationSignals();

} // namespace tarnwick::platform
#endif
