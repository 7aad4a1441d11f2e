#pragma once
// Helpers for the window tests: a toolkit with the main window open, and a responder that
// answers the modal dialogs the windows open.
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "app/QtToolkit.h"

namespace quorvel {

// A message box as the user saw it.
struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon;
    Qt::TextFormat format;
    QMessageBox::StandardButtons buttons;
};

// While it lives, closes every modal dialog shortly after it opens: message boxes are recorded
// and answered (default: their default button), save dialogs get savePath.
class ModalResponder : public QObject {
  public:
    ModalResponder();

    QList<SeenBox> boxes;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QString savePath;         // given to a save dialog; empty: the dialog is cancelled
    QString proposedSavePath; // what the last save dialog proposed

  private:
    void respond();
    QTimer timer_;
};

// Receives the addresses handed to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

// A QtToolkit, installed, with its main window loaded.
struct ToolkitFixture {
    ToolkitFixture();
    ~ToolkitFixture();
    QtToolkit toolkit;
};

// Handles events until done() holds or the limit passes; true when it held.
bool waitUntil(const std::function<bool()>& done, int limitMs = 5000);

} // namespace quorvel
