#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8("QuorvelV1.0   收费歌曲暂时只支持128K下载      by：Ostrel"));
    window.resize(588, 376);
    window.show();
    return app.exec();
}
