// The least a Qt program can do to show a main window: the yardstick for start-up.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(640, 480);
    window.show();
    window.repaint();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
