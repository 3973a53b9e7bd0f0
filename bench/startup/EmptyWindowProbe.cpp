// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt program can do to show a main window: the yardstick for start-up. It
// ends the moment the window is shown, as KestruneStartupProbe does.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(640, 480);
    window.show();
    window.repaint();
    QTimer::singleShot(0, &application, [] { std::_Exit(0); });
    return application.exec();
}
