// The real windows driving the real service client against the demo service, on Qt's offscreen
// platform: searching, stopping, resolving, saving lyrics and the update check.
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <cstdlib>
#include <memory>

#include "AppTestSupport.h"
#include "Catalogue.h"
#include "DemoService.h"
#include "app/AppHooks.h"
#include "app/MainWindow.h"
#include "app/QtText.h"
#include "app/ResultWindow.h"
#include "service/AppState.h"
#include "service/LinkResolution.h"
#include "service/UpdateCheck.h"
#include "text/GbkLiteral.h"

using namespace quorvel;

class ServiceWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ToolkitFixture> fixture;
    std::unique_ptr<demo::DemoService> service;
    MainWindow* window = nullptr;
    QLineEdit* keywordBox = nullptr;
    QPushButton* button = nullptr;
    QTreeWidget* list = nullptr;
    UrlCatcher urls;

    void startService(demo::DemoOptions options = {}) {
        service.reset();
        service = std::make_unique<demo::DemoService>(std::move(options));
        QVERIFY(service->start(0) > 0);
        const std::string host = service->hostPort();
        setenv("QUORVEL_SEARCH_HOST", host.c_str(), 1);
        setenv("QUORVEL_PLAY_HOST", host.c_str(), 1);
        setenv("QUORVEL_UPDATE_URL", ("http://" + host + "/update-page.txt").c_str(), 1);
    }
    // Until the workers have ended and every write they queued has run.
    void waitForWorkers() {
        QVERIFY(waitUntil([&] { return fixture->toolkit.runningThreads() == 0; }));
        QCoreApplication::sendPostedEvents();
    }
    // Enter in the keyword box, then events until the search has ended and its writes landed.
    bool searchWithEnter(const char* keyword) {
        keywordBox->setText(QString::fromUtf8(keyword));
        QTest::keyClick(keywordBox, Qt::Key_Return);
        if (!waitUntil([&] { return fixture->toolkit.runningThreads() == 0; })) return false;
        QCoreApplication::sendPostedEvents();
        return window->windowTitle() == QStringLiteral("搜索完毕。。。");
    }
    void choose(int row, const char* menuItem) {
        list->clearSelection();
        QTreeWidgetItem* item = list->topLevelItem(row);
        QVERIFY(item);
        item->setSelected(true);
        for (QAction* action : window->qualityMenu()->actions())
            if (action->text() == QString::fromUtf8(menuItem)) return action->trigger();
        QFAIL(menuItem);
    }
    QString infoBox() {
        ResultWindow* result = fixture->toolkit.resultWindow();
        if (!result) return {};
        // Line ends as the user sees them.
        return qobject_cast<QPlainTextEdit*>(result->control(ControlId::InfoBox))
            ->toPlainText()
            .remove(QLatin1Char('\r'));
    }
    static const demo::Song& song(const char* title) {
        for (const demo::Song& s : demo::catalogue())
            if (s.title == title) return s;
        return demo::catalogue().front();
    }
    // Runs the update check on its thread and the event loop until the check ends the program
    // (its exit code) or has run its course (-1).
    int runUpdateCheck() {
        QEventLoop loop;
        std::atomic<bool> checked{false};
        fixture->toolkit.startThread(
            [&] {
                checkForUpdate();
                checked = true;
            },
            nullptr);
        QTimer::singleShot(5000, &loop, [&] { loop.exit(-2); });
        // Once the check has returned, a queued end of the program would be handled well
        // within the grace period.
        QTimer poll;
        int graceTicks = 5;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (checked && fixture->toolkit.runningThreads() == 0 && --graceTicks == 0)
                loop.exit(-1);
        });
        poll.start(10);
        return loop.exec();
    }

    // Once the program has been ended, no event loop of this process runs again; so each
    // ending is tested in a process of its own running just that test function.
    static bool inOwnProcess() { return qEnvironmentVariableIsSet("QUORVEL_ONE_TEST"); }
    static bool passesInOwnProcess(const char* function) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUORVEL_ONE_TEST"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromUtf8(function)});
        const bool finished = child.waitForFinished(60000);
        if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            qWarning().noquote() << child.readAll();
            return false;
        }
        return true;
    }
    void announceNewVersion(QMessageBox::StandardButton answer) {
        ModalResponder responder;
        responder.answer = answer;
        demo::DemoOptions newer;
        newer.updatePage =
            "最新版本：1.1++更新内容：甲*乙++下载地址：http://127.0.0.1:9/new.zip++"_gbk;
        startService(newer);
        QCOMPARE(runUpdateCheck(), 0);
        QCOMPARE(responder.boxes.size(), 1);
        QCOMPARE(responder.boxes[0].title, QStringLiteral("发现新版本"));
        QCOMPARE(responder.boxes[0].text,
                 QStringLiteral("当前版本：1.0\n最新版本：1.1\n更新内容：甲\n乙"));
    }

  private slots:
    void initTestCase() {
        fixture = std::make_unique<ToolkitFixture>();
        window = fixture->toolkit.mainWindow();
        QVERIFY(window);
        keywordBox = window->findChild<QLineEdit*>(QStringLiteral("编辑框1"));
        button = window->findChild<QPushButton*>(QStringLiteral("按钮1"));
        list = window->findChild<QTreeWidget*>(QStringLiteral("超级列表框1"));
        QVERIFY(keywordBox && button && list);
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(scheme, &urls, "open");
    }

    void init() { startService(); }

    void cleanup() {
        waitForWorkers();
        if (auto* w = fixture->toolkit.resultWindow()) w->close();
        QVERIFY(waitUntil([&] { return fixture->toolkit.resultWindow() == nullptr; }));
        list->clear();
        urls.opened.clear();
    }

    void cleanupTestCase() {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(scheme);
        fixture.reset();
        service.reset();
    }

    void enterSearchesAndFillsRowsWithCleanedNamesAndHashes() {
        QVERIFY(searchWithEnter("晴天"));
        QCOMPARE(list->topLevelItemCount(), 3);
        const demo::Song& sunny = song("晴天");
        QTreeWidgetItem* first = list->topLevelItem(0);
        QCOMPARE(first->text(0), QStringLiteral("周杰伦 - 晴天"));
        QCOMPARE(first->text(1), QString::fromStdString(sunny.standard.hash));
        QCOMPARE(first->text(2), QString::fromStdString(sunny.high->hash));
        QCOMPARE(first->text(3), QString::fromStdString(sunny.lossless->hash));
        QCOMPARE(list->topLevelItem(2)->text(0), QStringLiteral("群星 - 100% 晴天"));
        QCOMPARE(button->text(), QStringLiteral("搜索"));
        QVERIFY(keywordBox->isEnabled());
    }

    void stopDuringASlowAnswerKeepsTheRowsAndAddsNoneLater() {
        QVERIFY(searchWithEnter("Love"));
        QCOMPARE(list->topLevelItemCount(), 1);
        demo::DemoOptions slow;
        slow.delayMs = 400;
        startService(slow);
        keywordBox->setText(QStringLiteral("晴天"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(100);
        QTest::mouseClick(button, Qt::LeftButton); // stop while the answer is on its way
        QCOMPARE(button->text(), QStringLiteral("搜索"));
        QTest::qWait(600);
        waitForWorkers();
        QCOMPARE(list->topLevelItemCount(), 0); // the search emptied the list, then nothing
        QCOMPARE(window->windowTitle(), QStringLiteral("正在搜索，请稍等。。。"));
    }

    void hqItemOpensTheResultWindowWithTheSixLines() {
        QVERIFY(searchWithEnter("晴天"));
        choose(0, "解析HQ[320K]");
        const demo::Song& sunny = song("晴天");
        QVERIFY(fixture->toolkit.resultWindow());
        QCOMPARE(infoBox(),
                 QStringLiteral("时长：4.083333333333 min\n大小：9.35 MB\n歌曲名：周杰伦 - "
                                "晴天\n所属专辑：叶惠美\n专辑图片：http://") +
                     QString::fromStdString(service->hostPort() + "/images/" + sunny.high->hash +
                                            ".jpg") +
                     QStringLiteral("\n音质：320 k"));
    }

    void savingLyricsWritesTheirGbkBytes() {
        QVERIFY(searchWithEnter("晴天"));
        choose(0, "解析[128K]");
        QTemporaryDir dir;
        fixture->toolkit.setRunDirectory(gbkText(dir.path()));
        ModalResponder responder;
        QTest::mouseClick(
            fixture->toolkit.resultWindow()->findChild<QPushButton*>(QStringLiteral("按钮4")),
            Qt::LeftButton);
        QFile file(dir.filePath(QStringLiteral("周杰伦 - 晴天.lrc.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const Text expected =
            "[00:00.00]周杰伦 - 晴天\r\n[00:29.34]演示歌词第一句\r\n[00:32.53]演示歌词第二句\r\n"_gbk;
        QCOMPARE(file.readAll(), QByteArray::fromStdString(expected));
    }

    void emptySqHashShowsTheErrorAndKeepsThePreviousLyrics() {
        QVERIFY(searchWithEnter("晴天"));
        choose(0, "解析[128K]");
        const Text lyrics = appState().lyricsText;
        QVERIFY(!lyrics.empty());
        ModalResponder responder;
        choose(1, "解析SQ[无损]"); // this song has no lossless file
        QCOMPARE(responder.boxes.size(), 1);
        QCOMPARE(responder.boxes[0].text, QStringLiteral("啊哦，出现错误了！！！"));
        QCOMPARE(appState().lyricsText, lyrics);
        QVERIFY(appState().downloadLink.empty());
    }

    void secondResolutionFromInsideADecodingRunsToItsEndFirst() {
        QVERIFY(searchWithEnter("Mojito"));
        QCOMPARE(list->topLevelItemCount(), 1);
        Text nestedName;
        QTimer::singleShot(0, this, [&] {
            resolveLink(song("十年").standard.hash);
            nestedName = appState().songName;
        });
        choose(0, "解析[128K]");
        QCOMPARE(nestedName, "陈奕迅 - 十年"_gbk);
        QCOMPARE(appState().songName, "周杰伦 - Mojito"_gbk);
        QVERIFY(infoBox().contains(QStringLiteral("歌曲名：周杰伦 - Mojito")));
    }

    void updateCheckEqualVersionAndMissingPage() {
        ModalResponder responder;
        demo::DemoOptions current;
        current.updatePage = "最新版本：1.0++"_gbk;
        startService(current);
        QCOMPARE(runUpdateCheck(), -1);
        QCOMPARE(responder.boxes.size(), 0);

        startService(); // no page
        QCOMPARE(runUpdateCheck(), -1);
        QCOMPARE(responder.boxes.size(), 1);
        // The dialogs show the CR LF line breaks as plain line breaks.
        QCOMPARE(
            responder.boxes[0].text,
            QStringLiteral(
                "软件连接更新服务器失败！！！\n如果这个版本不可用了，+Q：Kestrom\n当前版本：1.0"));
    }

    void newVersionYesOpensTheAddressAndEnds() {
        if (!inOwnProcess()) {
            QVERIFY(passesInOwnProcess(QTest::currentTestFunction()));
            return;
        }
        announceNewVersion(QMessageBox::Yes);
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/new.zip"))});
    }

    void newVersionNoEndsWithoutOpening() {
        if (!inOwnProcess()) {
            QVERIFY(passesInOwnProcess(QTest::currentTestFunction()));
            return;
        }
        announceNewVersion(QMessageBox::No);
        QTest::qWait(50);
        QVERIFY(urls.opened.isEmpty());
    }
};

QTEST_MAIN(ServiceWindowsTest)
#include "ServiceWindowsTest.moc"
