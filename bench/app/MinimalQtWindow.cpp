// The yardstick for the program's start-up: a Qt Widgets program that shows one empty window of
// the main window's size and ends as soon as it is shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setGeometry(50, 50, 588, 376);
    window.show();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    return app.exec();
}
