#pragma once
// The progress of one song download: percent, bytes and speed, with a cancel button. The
// transfer runs on a worker thread; the dialog polls its progress and never waits for it.
// When the transfer is over the dialog reports a failure, closes and deletes itself.
#include <QProgressDialog>
#include <QTimer>
#include <memory>

#include "text/Text.h"

namespace quorvel {

struct DownloadJob;

class DownloadDialog : public QProgressDialog {
    Q_OBJECT
  public:
    DownloadDialog(const Text& url, const QString& targetPath, QWidget* owner);

    // Shows the dialog and starts the transfer.
    void start();

  signals:
    // The transfer is over (ok false also when cancelled); the dialog then deletes itself.
    void ended(bool ok, bool cancelled);

  private:
    void poll();
    void showProgress();
    void finish();

    Text url_;
    QString targetPath_;
    std::shared_ptr<DownloadJob> job_;
    QTimer timer_;
};

} // namespace quorvel
