#include "app/qt/fonts.h"
#include "app/qt/mainwindow.h"
#include "app/qt/platform.h"
#include "app/qt/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // The window sets its own fonts, sizes and places, so a desktop's platform theme has nothing
    // to give it; on GNOME that theme is Qt's GTK 3 plugin, which brings all of GTK into the
    // process at start-up. A theme the user names explicitly still wins.
    QGuiApplication::setDesktopSettingsAware(false);
#endif
    tarnwick::prepareFontconfig();
    QApplication app(argc, argv);
    tarnwick::installQtTranslations(app);
    tarnwick::MainWindow window;
    window.centerOnScreen();
    window.show();
#ifdef Q_OS_UNIX
    tarnwick::platform::quitOnTerminationSignals();
#endif
    return QApplication::exec();
}
