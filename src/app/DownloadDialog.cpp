#include "app/DownloadDialog.h"

#include <QFileInfo>
#include <QLocale>

#include "app/QtText.h"
#include "app/toolkit/Toolkit.h"
#include "text/GbkLiteral.h"
#include "web/FileDownload.h"

namespace quorvel {

// Shared by the dialog and the worker: the worker writes, the dialog polls.
struct DownloadJob {
    std::shared_ptr<CancelToken> token = std::make_shared<CancelToken>();
    std::atomic<std::int64_t> doneBytes{0};
    std::atomic<std::int64_t> totalBytes{-1};
    std::atomic<double> bytesPerSecond{0};
    DownloadResult result; // written before over is set
    std::atomic<bool> over{false};
};

namespace {

constexpr int pollMilliseconds = 100;

QString sizeText(std::int64_t bytes) {
    return QLocale::c().formattedDataSize(bytes);
}

} // namespace

DownloadDialog::DownloadDialog(const Text& url, const QString& targetPath, QWidget* owner)
    : QProgressDialog(owner, Qt::Window), url_(url), targetPath_(targetPath),
      job_(std::make_shared<DownloadJob>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("下载"));
    setCancelButtonText(QStringLiteral("取消"));
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    setMinimumWidth(360);
    auto cancel = [this] { job_->token->cancelled = true; };
    connect(this, &QProgressDialog::canceled, this, cancel);
    connect(this, &QDialog::rejected, this, cancel); // Esc
    connect(&timer_, &QTimer::timeout, this, &DownloadDialog::poll);
}

void DownloadDialog::start() {
    showProgress();
    show();
    std::shared_ptr<DownloadJob> job = job_;
    std::string target = targetPath_.toStdString();
    toolkit().startThread(
        [job, url = url_, target] {
            auto progress = [&job](const DownloadProgress& p) {
                job->doneBytes = p.doneBytes;
                job->totalBytes = p.totalBytes;
                job->bytesPerSecond = p.bytesPerSecond;
            };
            job->result = downloadFile(url, target, progress, job->token->cancelled);
            job->over.store(true, std::memory_order_release);
        },
        job->token);
    timer_.start(pollMilliseconds);
}

void DownloadDialog::poll() {
    if (job_->over.load(std::memory_order_acquire))
        finish();
    else
        showProgress();
}

void DownloadDialog::showProgress() {
    std::int64_t done = job_->doneBytes, total = job_->totalBytes;
    QString amount = sizeText(done);
    if (total > 0) {
        setRange(0, 100);
        setValue(static_cast<int>(done * 100 / total));
        amount += QStringLiteral(" / %1（%2%）").arg(sizeText(total)).arg(done * 100 / total);
    } else {
        setRange(0, 0); // size unknown: a busy bar
    }
    setLabelText(QStringLiteral("%1\n已下载：%2\n速度：%3/s")
                     .arg(QFileInfo(targetPath_).fileName(), amount,
                          sizeText(static_cast<std::int64_t>(job_->bytesPerSecond))));
}

void DownloadDialog::finish() {
    timer_.stop();
    const DownloadResult& r = job_->result;
    hide();
    if (r.ok)
        toolkit().messageBox("下载完成："_gbk + gbkText(targetPath_));
    else if (!r.cancelled)
        toolkit().messageBox("下载失败："_gbk + r.reason, buttonsOkError);
    emit ended(r.ok, r.cancelled);
    deleteLater();
}

} // namespace quorvel
