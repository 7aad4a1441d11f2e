// The result window: its controls, Esc, writes from a resolution, and its actions on the link
// and the lyrics.
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <httplib.h>
#include <memory>
#include <thread>
#include <unistd.h>

#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "app/QtText.h"
#include "app/ResultWindow.h"
#include "service/AppState.h"
#include "text/GbkLiteral.h"

using namespace quorvel;

// Points the user's folders at home while alive, so the download folder is home/Downloads.
class HomeOverride {
    QByteArray oldHome = qgetenv("HOME");
    QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");

  public:
    explicit HomeOverride(const QString& home) {
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    }
    ~HomeOverride() {
        qputenv("HOME", oldHome);
        if (oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    }
};

class ResultWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ToolkitFixture> fixture;
    UrlCatcher urls;

    ResultWindow* openResult() {
        toolkit().loadWindow(WindowId::Result, WindowId::Main, false);
        return fixture->toolkit.resultWindow();
    }
    void clickButton(ResultWindow* w, const char* name) {
        auto* b = w->findChild<QPushButton*>(QString::fromUtf8(name));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static void resolved(const Text& link, const Text& song, const Text& lyrics) {
        appState().downloadLink = link;
        appState().songName = song;
        appState().lyricsText = lyrics;
    }
    static Bytes fileBytes(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QByteArray all = f.readAll();
        return Bytes(all.begin(), all.end());
    }

  private slots:
    void initTestCase() {
        fixture = std::make_unique<ToolkitFixture>();
        for (const char* scheme : {"http", "https", "ftp", "file", "javascript"})
            QDesktopServices::setUrlHandler(scheme, &urls, "open");
    }
    void cleanup() {
        if (auto* w = fixture->toolkit.resultWindow()) w->close();
        QVERIFY(waitUntil([&] { return fixture->toolkit.resultWindow() == nullptr; }));
        urls.opened.clear();
    }
    void cleanupTestCase() {
        for (const char* scheme : {"http", "https", "ftp", "file", "javascript"})
            QDesktopServices::unsetUrlHandler(scheme);
        fixture.reset();
    }

    void controlsMatchTheDesign() {
        ResultWindow* w = openResult();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("按 Esc 可关闭本窗口"));
        QCOMPARE(w->geometry(), QRect(50, 50, 411, 281));
        QCOMPARE(w->parentWidget(), fixture->toolkit.mainWindow());
        QVERIFY(w->isWindow());
        QCOMPARE(w->windowModality(), Qt::NonModal);
        struct Expected {
            const char* name;
            QRect geometry;
            const char* text;
        };
        const Expected controls[] = {
            {"透明标签1", {158, 8, 104, 24}, "解析成功！！！"},
            {"按钮2", {14, 36, 96, 25}, "打开下载地址"},
            {"按钮1", {129, 36, 144, 25}, "复制下载链接并关闭软件"},
            {"按钮3", {291, 36, 106, 25}, "通过该软件下载"},
            {"超级链接框4", {140, 65, 128, 15}, "可按 Esc键 关闭本窗口"},
            {"编辑框1", {10, 88, 366, 192}, "*"},
            {"按钮4", {376, 88, 32, 192}, "下\n载\n歌\n词"},
            {"分组框1", {410, 6, 231, 269}, "微信捐助"},
            {"图片框1", {5, 16, 224, 247}, ""},
            {"透明标签2", {44, 227, 131, 16}, "想捐助的朋友微信扫一扫"},
        };
        for (const Expected& e : controls) {
            auto* c = w->findChild<QWidget*>(QString::fromUtf8(e.name));
            QVERIFY2(c, e.name);
            QCOMPARE(c->geometry(), e.geometry);
            QString text = QString::fromUtf8(e.text);
            if (auto* l = qobject_cast<QLabel*>(c)) QCOMPARE(l->text(), text);
            if (auto* b = qobject_cast<QPushButton*>(c)) QCOMPARE(b->text(), text);
            if (auto* g = qobject_cast<QGroupBox*>(c)) QCOMPARE(g->title(), text);
            if (auto* p = qobject_cast<QPlainTextEdit*>(c)) {
                QCOMPARE(p->toPlainText(), text);
                QVERIFY(p->isReadOnly());
            }
        }
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("图片框1"))->parentWidget()->objectName(),
                 QStringLiteral("分组框1"));
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("透明标签2"))->parentWidget()->objectName(),
                 QStringLiteral("图片框1"));
    }

    void escClosesAndDestroys() {
        ResultWindow* w = openResult();
        QPointer<ResultWindow> watched = w;
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(waitUntil([&] { return watched.isNull(); }));
        QVERIFY(fixture->toolkit.mainWindow()->isVisible());
    }

    // A resolution while the window is open writes into that same window, also from a worker.
    void resolutionWritesIntoTheOpenWindow() {
        ResultWindow* first = openResult();
        QCOMPARE(openResult(), first);
        toolkit().writeText(WindowId::Result, ControlId::InfoBox, {});
        toolkit().appendText(WindowId::Result, ControlId::InfoBox, "时长：4 min\r\n"_gbk);
        std::thread([] {
            toolkit().appendText(WindowId::Result, ControlId::InfoBox, "音质：128 k"_gbk);
        }).join();
        QVERIFY(waitUntil([&] {
            return toolkit().readText(WindowId::Result, ControlId::InfoBox) ==
                   "时长：4 min\r\n音质：128 k"_gbk;
        }));
        auto* box = first->findChild<QPlainTextEdit*>(QStringLiteral("编辑框1"));
        QCOMPARE(box->toPlainText(), QStringLiteral("时长：4 min\n音质：128 k"));
    }

    // An empty link (after a failed resolution) or one of another scheme is refused by every
    // link action with the error message, and nothing else happens.
    void linkActionsRefuseUnusableLinks_data() {
        QTest::addColumn<QByteArray>("link");
        QTest::addColumn<QByteArray>("button");
        for (const char* link : {"", "ftp://host/a.mp3", "file:///etc/passwd", "javascript:x"})
            for (const char* button : {"按钮1", "按钮2", "按钮3"})
                QTest::addRow("%s %s", link, button) << QByteArray(link) << QByteArray(button);
    }
    void linkActionsRefuseUnusableLinks() {
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, button);
        resolved(link.toStdString(), "歌"_gbk, "词"_gbk);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        fixture->toolkit.mainWindow()->setWindowTitle(QStringLiteral("caption"));
        ModalResponder responder;
        responder.savePath = QDir::temp().filePath("never.mp3");
        ResultWindow* w = openResult();
        clickButton(w, button.constData());
        QCOMPARE(responder.boxes.size(), 1);
        QCOMPARE(responder.boxes[0].text, QStringLiteral("啊哦，出现错误了！！！"));
        QCOMPARE(responder.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(responder.proposedSavePath, QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(fixture->toolkit.mainWindow()->windowTitle(), QStringLiteral("caption"));
        QVERIFY(urls.opened.isEmpty());
        QCOMPARE(fixture->toolkit.resultWindow(), w);
    }

    void copyLinkCopiesReportsAndCloses() {
        resolved("http://host/song.mp3", "歌"_gbk, {});
        QPointer<ResultWindow> w = openResult();
        clickButton(w, "按钮1");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://host/song.mp3"));
        QCOMPARE(fixture->toolkit.mainWindow()->windowTitle(),
                 QStringLiteral("复制下载地址完毕！！！"));
        QVERIFY(waitUntil([&] { return w.isNull(); }));
        QVERIFY(fixture->toolkit.mainWindow()->isVisible());
    }

    void openLinkHandsItToTheDesktop() {
        resolved("HTTPS://host/a.flac?x=1", {}, {});
        clickButton(openResult(), "按钮2");
        QCOMPARE(urls.opened, (QList<QUrl>{QUrl("HTTPS://host/a.flac?x=1")}));
    }

    // The lyrics land beside the program under the song's name made safe; the message shows the
    // full path.
    void saveLyricsWritesBesideTheProgram_data() {
        QTest::addColumn<QByteArray>("song");
        QTest::addColumn<QByteArray>("lyrics");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("plain") << QByteArray("Foo") << QByteArray("[00:01]la") << "Foo.lrc.txt";
        QTest::newRow("slash") << QByteArray("AC/DC") << QByteArray("x") << "AC_DC.lrc.txt";
        QTest::newRow("escape") << QByteArray("../x") << QByteArray("x") << ".._x.lrc.txt";
        QTest::newRow("control") << QByteArray("a\tb\\c") << QByteArray("x") << "a_b_c.lrc.txt";
        QTest::newRow("empty name") << QByteArray() << QByteArray("x") << ".lrc.txt";
        QTest::newRow("empty lyrics") << QByteArray("Foo") << QByteArray() << "Foo.lrc.txt";
        QTest::newRow("gbk") << QByteArray("晴天") << QByteArray("[00:01]故事的小黄花")
                             << QStringLiteral("晴天.lrc.txt");
        // GBK D5 5C: the trail byte is a backslash and stays part of the character
        QTest::newRow("trail byte 5C")
            << QByteArray("誠") << QByteArray("x") << QStringLiteral("誠.lrc.txt");
    }
    void saveLyricsWritesBesideTheProgram() {
        QFETCH(QByteArray, song);
        QFETCH(QByteArray, lyrics);
        QFETCH(QString, fileName);
        QTemporaryDir dir;
        QString target = dir.filePath(fileName);
        QFile old(target); // replaced if present
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old content, longer") > 0);
        old.close();
        fixture->toolkit.setRunDirectory(gbkText(dir.path()));
        Text gbkLyrics = utf8ToGbk(lyrics.toStdString());
        resolved({}, utf8ToGbk(song.toStdString()), gbkLyrics);
        ModalResponder responder;
        clickButton(openResult(), "按钮4");
        QCOMPARE(responder.boxes.size(), 1);
        QCOMPARE(responder.boxes[0].text, QStringLiteral("下载歌词完毕：") + target);
        QCOMPARE(responder.boxes[0].icon, QMessageBox::NoIcon);
        QCOMPARE(fileBytes(target), toBytes(gbkLyrics));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // A program folder that cannot be written (an installed program's) sends the lyrics to the
    // user's download folder, made if missing; the message names the file written.
    void saveLyricsFallsBackToTheDownloadFolder_data() {
        QTest::addColumn<QString>("setup");
        QTest::newRow("missing program folder") << "missing";
        QTest::newRow("read-only program folder") << "readonly";
    }
    void saveLyricsFallsBackToTheDownloadFolder() {
        QFETCH(QString, setup);
        QTemporaryDir dir, home;
        QString runDir = dir.path();
        if (setup == "missing") runDir += "/missing";
        if (setup == "readonly") {
            if (geteuid() == 0) QSKIP("root writes into read-only directories");
            QFile::setPermissions(runDir, QFile::ReadOwner | QFile::ExeOwner);
        }
        HomeOverride homeOverride(home.path());
        fixture->toolkit.setRunDirectory(gbkText(runDir));
        resolved({}, "晴天"_gbk, "[00:01]x"_gbk);
        ModalResponder responder;
        clickButton(openResult(), "按钮4");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QString target = home.filePath(QStringLiteral("Downloads/晴天.lrc.txt"));
        QCOMPARE(responder.boxes.size(), 1);
        QCOMPARE(responder.boxes[0].text, QStringLiteral("下载歌词完毕：") + target);
        QCOMPARE(fileBytes(target), toBytes("[00:01]x"_gbk));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    // A write that fails is reported as a failure, and leaves an existing file alone.
    void saveLyricsReportsFailure_data() {
        QTest::addColumn<QString>("setup");
        QTest::newRow("name taken by a directory") << "directory";
        QTest::newRow("no download folder either") << "nowhere";
    }
    void saveLyricsReportsFailure() {
        QFETCH(QString, setup);
        QTemporaryDir dir, home;
        QString runDir = dir.path();
        QString expected = runDir + "/Foo.lrc.txt";
        if (setup == "directory") QVERIFY(QDir(runDir).mkdir("Foo.lrc.txt"));
        if (setup == "nowhere") {
            runDir += "/missing";
            QFile blocker(home.filePath("Downloads")); // a file where the folder would be made
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            expected = home.filePath("Downloads/Foo.lrc.txt");
        }
        HomeOverride homeOverride(home.path());
        fixture->toolkit.setRunDirectory(gbkText(runDir));
        resolved({}, "Foo"_gbk, "x"_gbk);
        ModalResponder responder;
        clickButton(openResult(), "按钮4");
        QCOMPARE(responder.boxes.size(), 1);
        QCOMPARE(responder.boxes[0].text, QStringLiteral("下载歌词失败：") + expected);
        QCOMPARE(responder.boxes[0].icon, QMessageBox::Critical);
    }

    // The download offers the song's name with the link's extension in the download folder,
    // then fetches the file through a progress dialog.
    void downloadSavesWhereTheUserChose() {
        httplib::Server server;
        server.Get("/a/song.mp3", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(300000, 'm'), "audio/mpeg");
        });
        int port = server.bind_to_any_port("127.0.0.1");
        std::thread serving([&] { server.listen_after_bind(); });
        QTemporaryDir dir;
        QString target = dir.filePath("chosen.mp3");
        resolved("http://127.0.0.1:" + std::to_string(port) + "/a/song.mp3?key=1", "晴天"_gbk, {});
        ModalResponder responder;
        responder.savePath = target;
        clickButton(openResult(), "按钮3");
        bool done = waitUntil([&] { return responder.boxes.size() == 1; }, 10000);
        server.stop();
        serving.join();
        QVERIFY(done);
        QVERIFY(responder.proposedSavePath.endsWith(QStringLiteral("/晴天.mp3")));
        QCOMPARE(responder.boxes[0].text, QStringLiteral("下载完成：") + target);
        QCOMPARE(QFile(target).size(), 300000);
        QVERIFY(!QFile::exists(target + ".part"));
    }

    void screenshot() {
        ResultWindow* w = openResult();
        toolkit().writeText(WindowId::Result, ControlId::InfoBox, {});
        toolkit().appendText(
            WindowId::Result, ControlId::InfoBox,
            "时长：4.083333333333 min\r\n大小：3.74 MB\r\n歌曲名：周杰伦 - 晴天\r\n"
            "所属专辑：叶惠美\r\n专辑图片：http://example.invalid/a.jpg\r\n"
            "音质：128 k"_gbk);
        QString path = QStringLiteral(QUORVEL_APP_BUILD_DIR "/result-window.png");
        QVERIFY(w->grab().save(path));
    }
};

QTEST_MAIN(ResultWindowTest)
#include "ResultWindowTest.moc"
