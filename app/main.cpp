#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tarnwick::MainWindow window;
    window.centerOnScreen();
    window.show();
    return QApplication::exec();
}
