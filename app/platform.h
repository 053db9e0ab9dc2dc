#pragma once

class QUrl;
class QWidget;

namespace tarnwick::platform {

// Moves the window into the topmost band or back to the normal one, without moving,
// resizing, hiding or re-creating it.
void setStayOnTop(QWidget *window, bool onTop);

// Hands the address to the user's browser without waiting; a failure changes nothing.
void openWebPage(const QUrl &address);

} // namespace tarnwick::platform

#include <QtGlobal>

#ifdef Q_OS_UNIX
namespace tarnwick::platform {

// From here on SIGTERM, SIGINT and SIGHUP end the event loop as a normal quit would (exit
// status 0), so that `kill`, Ctrl+C or the end of a session close the program cleanly. A
// signal that was ignored when the program started (nohup) stays ignored.
void quitOnTerminationSignals();

} // namespace tarnwick::platform
#endif
