// Downloads against a local server: complete files, cancellation, server errors, and the rule
// that only a complete body ever takes the target's name.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <httplib.h>
#include <thread>

#include "AppTestSupport.h"
#include "app/DownloadDialog.h"
#include "web/FileDownload.h"

using namespace quorvel;

namespace {

const std::string body(256 * 1024, 'b');

std::string readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

} // namespace

class FileDownloadTest : public QObject {
    Q_OBJECT
    httplib::Server server;
    std::thread serving;
    int port = 0;
    std::atomic<bool> releaseSlow{false};
    std::atomic<bool> slowStarted{false};
    QTemporaryDir dir;

    Text url(const char* path) { return "http://127.0.0.1:" + std::to_string(port) + path; }
    std::string target(const char* name) { return dir.filePath(name).toStdString(); }

  private slots:
    void initTestCase() {
        server.Get("/song.mp3", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(body, "audio/mpeg");
        });
        server.Get("/chunked.mp3", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("audio/mpeg", [](size_t offset,
                                                              httplib::DataSink& sink) {
                if (offset >= body.size())
                    sink.done();
                else
                    sink.write(body.data() + offset, std::min<size_t>(4096, body.size() - offset));
                return true;
            });
        });
        server.Get("/missing.mp3", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("not here", "text/plain");
        });
        // Sends part of the body, then waits until the test lets it end.
        server.Get("/slow.mp3", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(body.size(), "audio/mpeg",
                                     [this](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset > 0) {
                                             slowStarted = true;
                                             while (!releaseSlow)
                                                 QThread::msleep(5);
                                             return false;
                                         }
                                         sink.write(body.data(), 1000);
                                         return true;
                                     });
        });
        port = server.bind_to_any_port("127.0.0.1");
        serving = std::thread([this] { server.listen_after_bind(); });
    }

    void cleanupTestCase() {
        releaseSlow = true;
        server.stop();
        serving.join();
    }

    void completeBodyTakesTheTargetName_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("sized") << QByteArray("/song.mp3");
        QTest::newRow("chunked") << QByteArray("/chunked.mp3");
    }
    void completeBodyTakesTheTargetName() {
        QFETCH(QByteArray, path);
        std::string file = target("complete.mp3");
        std::atomic<bool> cancel{false};
        DownloadProgress last;
        DownloadResult r = downloadFile(
            url(path.constData()), file, [&](const DownloadProgress& p) { last = p; }, cancel);
        QVERIFY2(r.ok, r.reason.c_str());
        QCOMPARE(readAll(QString::fromStdString(file)), body);
        QCOMPARE(last.doneBytes, static_cast<std::int64_t>(body.size()));
        QVERIFY(!QFile::exists(QString::fromStdString(partFilePath(file))));
    }

    // While the body streams, only the .part file exists; a cancellation removes it and leaves
    // an older file under the target's name untouched.
    void cancelRemovesThePartFile() {
        std::string file = target("cancelled.mp3");
        QFile old(QString::fromStdString(file));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        std::atomic<bool> cancel{false};
        DownloadResult r;
        slowStarted = false;
        std::thread worker([&] { r = downloadFile(url("/slow.mp3"), file, {}, cancel); });
        QVERIFY(waitUntil([&] { return slowStarted.load(); }));
        QVERIFY(QFile::exists(QString::fromStdString(partFilePath(file))));
        QCOMPARE(readAll(QString::fromStdString(file)), std::string("old"));
        cancel = true;
        worker.join();
        QVERIFY(r.cancelled && !r.ok);
        QVERIFY(!QFile::exists(QString::fromStdString(partFilePath(file))));
        QCOMPARE(readAll(QString::fromStdString(file)), std::string("old"));
    }

    void failuresGiveAReasonAndLeaveNothing_data() {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArray>("reasonPart");
        QTest::newRow("http error") << QByteArray("/missing.mp3") << QByteArray("404");
        QTest::newRow("closed port") << QByteArray("http://127.0.0.1:1/x.mp3") << QByteArray();
        QTest::newRow("other scheme") << QByteArray("file:///etc/passwd") << QByteArray();
    }
    void failuresGiveAReasonAndLeaveNothing() {
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, reasonPart);
        Text link = address.startsWith('/') ? url(address.constData()) : address.toStdString();
        std::string file = target("failed.mp3");
        std::atomic<bool> cancel{false};
        DownloadResult r = downloadFile(link, file, {}, cancel);
        QVERIFY(!r.ok && !r.cancelled);
        QVERIFY(!r.reason.empty());
        QVERIFY(r.reason.find(reasonPart.toStdString()) != Text::npos);
        QVERIFY(!QFile::exists(QString::fromStdString(file)));
        QVERIFY(!QFile::exists(QString::fromStdString(partFilePath(file))));
    }

    void unwritableTargetIsReported() {
        std::atomic<bool> cancel{false};
        DownloadResult r = downloadFile(url("/song.mp3"), target("no/such/dir/a.mp3"), {}, cancel);
        QVERIFY(!r.ok && !r.reason.empty());
    }

    // The progress dialog shows a failure with its reason, then goes away.
    void dialogReportsFailureWithReason() {
        ToolkitFixture fixture;
        ModalResponder responder;
        auto* dialog = new DownloadDialog(url("/missing.mp3"), dir.filePath("d.mp3"), nullptr);
        QPointer<DownloadDialog> watched = dialog;
        bool ended = false, ok = true;
        connect(dialog, &DownloadDialog::ended, this, [&](bool success, bool) {
            ended = true;
            ok = success;
        });
        dialog->start();
        QVERIFY(waitUntil([&] { return watched.isNull(); }, 10000));
        QVERIFY(ended && !ok);
        QCOMPARE(responder.boxes.size(), 1);
        QVERIFY(responder.boxes[0].text.startsWith(QStringLiteral("下载失败：")));
        QVERIFY(responder.boxes[0].text.contains("404"));
        QCOMPARE(responder.boxes[0].icon, QMessageBox::Critical);
    }

    void dialogCancelStopsTheTransfer() {
        ToolkitFixture fixture;
        slowStarted = false;
        QString file = dir.filePath("dialog-cancel.mp3");
        auto* dialog = new DownloadDialog(url("/slow.mp3"), file, nullptr);
        QPointer<DownloadDialog> watched = dialog;
        bool cancelled = false;
        connect(dialog, &DownloadDialog::ended, this,
                [&](bool, bool wasCancelled) { cancelled = wasCancelled; });
        dialog->start();
        QVERIFY(waitUntil([&] { return slowStarted.load(); }));
        auto* cancelButton = dialog->findChild<QPushButton*>();
        QVERIFY(cancelButton);
        cancelButton->click();
        QVERIFY(waitUntil([&] { return watched.isNull(); }, 10000));
        QVERIFY(cancelled);
        QVERIFY(!QFile::exists(file) && !QFile::exists(file + ".part"));
    }
};

QTEST_MAIN(FileDownloadTest)
#include "FileDownloadTest.moc"
