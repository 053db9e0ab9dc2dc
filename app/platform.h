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
