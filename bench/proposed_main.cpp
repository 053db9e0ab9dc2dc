// The program's main() with the start-up change proposed from these benchmarks, built as
// bench_tarnwick_proposed so that bench/startup.sh can measure it beside the program as it is.
// Once app/main.cpp carries the same lines, the two measure alike.

#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // The window sets its own fonts, sizes and places, so a desktop's platform theme has nothing
    // to give it; on GNOME and its kin that theme is Qt's GTK 3 plugin, which brings all of GTK
    // into the process. Not desktop-aware, Qt takes its built-in theme; a theme that the user
    // names (QT_QPA_PLATFORMTHEME or -platformtheme) is still the one used.
    QGuiApplication::setDesktopSettingsAware(false);
#endif
    QApplication app(argc, argv);
    tarnwick::MainWindow window;
    window.centerOnScreen();
    window.show();
    return QApplication::exec();
}
