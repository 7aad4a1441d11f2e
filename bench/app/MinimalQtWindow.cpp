// The yardstick for the program's start-up: a Qt Widgets program that shows one empty window of
// the main window's size and ends as soon as it is shown. With --label the window shows one
// Chinese label, so the yardstick also pays for the font set-up that any text needs.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setGeometry(50, 50, 588, 376);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
        new QLabel(QString::fromUtf8("歌曲名/歌手："), &window);
    window.show();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    return app.exec();
}
