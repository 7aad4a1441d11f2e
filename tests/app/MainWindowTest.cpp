// The main window: its controls, the search control's states, the quality menu, and workers
// writing into it while the UI thread handles events.
#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <memory>
#include <thread>

#include "AppTestSupport.h"
#include "app/AppHooks.h"
#include "app/MainWindow.h"
#include "app/QtText.h"
#include "service/AppState.h"
#include "text/GbkLiteral.h"

using namespace quorvel;

namespace {

const QString idle = QStringLiteral("搜索");
const QString running = QStringLiteral("停止搜索");
const QString searching = QStringLiteral("正在搜索，请稍等。。。");

// What a search thread does at its start and, unless stopped, at its end.
void beginSearch() {
    toolkit().deleteAllRows();
    toolkit().writeText(WindowId::Main, ControlId::Window, "正在搜索，请稍等。。。"_gbk);
}

void addRow(const Text& name) {
    int row = toolkit().insertRow();
    toolkit().setCell(row, 0, name);
    for (int column = 1; column < 4; ++column)
        toolkit().setCell(row, column, name + toText(column));
}

void endSearch() {
    toolkit().writeText(WindowId::Main, ControlId::SearchButton, "搜索"_gbk);
    toolkit().setEnabled(WindowId::Main, ControlId::KeywordBox, true);
    toolkit().writeText(WindowId::Main, ControlId::Window, "搜索完毕。。。"_gbk);
}

void waitUntilCancelled() {
    while (!currentThreadCancelled())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ToolkitFixture> fixture;
    MainWindow* window = nullptr;
    QLineEdit* keywordBox = nullptr;
    QPushButton* button = nullptr;
    QTreeWidget* list = nullptr;
    std::atomic<int> searches{0};

    template <class W> W* child(const char* name) {
        return window->findChild<W*>(QString::fromUtf8(name));
    }
    // Until the workers have ended and every write they queued has run.
    void waitForWorkers() {
        QVERIFY(waitUntil([&] { return fixture->toolkit.runningThreads() == 0; }));
        QCoreApplication::sendPostedEvents();
    }
    void clickSearch() { QTest::mouseClick(button, Qt::LeftButton); }

  private slots:
    void initTestCase() {
        fixture = std::make_unique<ToolkitFixture>();
        window = fixture->toolkit.mainWindow();
        QVERIFY(window);
        keywordBox = child<QLineEdit>("编辑框1");
        button = child<QPushButton>("按钮1");
        list = child<QTreeWidget>("超级列表框1");
        QVERIFY(keywordBox && button && list);
        appHooks().runSearch = [this] {
            ++searches;
            beginSearch();
            addRow("歌"_gbk);
            endSearch();
        };
    }

    void cleanup() {
        waitForWorkers();
        keywordBox->clear();
        list->clear();
    }

    void cleanupTestCase() {
        QVERIFY(waitUntil([&] { return fixture->toolkit.runningThreads() == 0; }));
        fixture.reset();
    }

    void controlsMatchTheDesign() {
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("QuorvelV1.0   收费歌曲暂时只支持128K下载      by：Ostrel"));
        QCOMPARE(window->geometry(), QRect(50, 50, 588, 376));
        struct Expected {
            const char* name;
            QRect geometry;
            QString text;
        };
        const Expected controls[] = {
            {"超级链接框1", {2, 11, 94, 23}, QStringLiteral("歌曲名/歌手：")},
            {"编辑框1", {99, 11, 237, 23}, QString()},
            {"按钮1", {342, 10, 88, 24}, idle},
            {"超级链接框2", {434, 13, 144, 21}, QStringLiteral("鼠标右键点击呼出解析菜单")},
            {"超级列表框1", {0, 40, 584, 304}, QString()},
        };
        for (const Expected& e : controls) {
            auto* w = child<QWidget>(e.name);
            QVERIFY2(w, e.name);
            QCOMPARE(w->geometry(), e.geometry);
            if (auto* label = qobject_cast<QLabel*>(w)) QCOMPARE(label->text(), e.text);
            if (auto* b = qobject_cast<QPushButton*>(w)) QCOMPARE(b->text(), e.text);
        }
        QCOMPARE(keywordBox->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);

        const QStringList titles{QStringLiteral("歌曲名"), "FileHash", "HQFileHash", "SQFileHash"};
        const int widths[] = {295, 93, 93, 93};
        QCOMPARE(list->columnCount(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(list->headerItem()->text(i), titles[i]);
            QCOMPARE(list->columnWidth(i), widths[i]);
        }

        auto* menu = child<QMenu>("菜单");
        QVERIFY(menu);
        QStringList items;
        for (QAction* a : menu->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{QStringLiteral("解析[128K]"), QStringLiteral("解析HQ[320K]"),
                                     QStringLiteral("解析SQ[无损]")}));
    }

    void emptyKeywordShowsMessageAndStartsNothing() {
        ModalResponder responder;
        int before = searches;
        clickSearch();
        QTest::keyClick(keywordBox, Qt::Key_Return);
        QCOMPARE(responder.boxes.size(), 2);
        for (const SeenBox& box : responder.boxes) {
            QCOMPARE(box.text, QStringLiteral("随便输入点什么吧"));
            QCOMPARE(box.title, QStringLiteral("信息："));
            QCOMPARE(box.buttons, QMessageBox::Ok);
        }
        QCOMPARE(searches, before);
        QCOMPARE(button->text(), idle);
    }

    // Button and Enter start a search alike; a blank-only keyword counts as a keyword.
    void buttonAndEnterStartASearch_data() {
        QTest::addColumn<bool>("withEnter");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("button") << false << QStringLiteral("周杰伦");
        QTest::newRow("enter") << true << QStringLiteral(" ");
    }
    void buttonAndEnterStartASearch() {
        QFETCH(bool, withEnter);
        QFETCH(QString, keyword);
        keywordBox->setText(keyword);
        int before = searches;
        if (withEnter)
            QTest::keyClick(keywordBox, Qt::Key_Enter);
        else
            clickSearch();
        waitForWorkers();
        QVERIFY(
            waitUntil([&] { return window->windowTitle() == QStringLiteral("搜索完毕。。。"); }));
        QCOMPARE(searches, before + 1);
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(button->text(), idle);
        QVERIFY(keywordBox->isEnabled());
    }

    // Stopping restores idle at once, keeps the rows and the caption, and nothing of the stopped
    // search lands later, even when a new search starts while it winds down.
    void stopKeepsRowsAndNothingLateLands() {
        std::atomic<bool> firstWoundDown{false};
        appHooks().runSearch = [&] {
            bool first = ++searches % 2 == 1;
            beginSearch();
            addRow(first ? "旧"_gbk : "新"_gbk);
            if (!first) return endSearch();
            addRow("旧2"_gbk);
            waitUntilCancelled();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            addRow("迟"_gbk);
            endSearch();
            firstWoundDown = true;
        };
        searches = 0;
        keywordBox->setText("x");
        clickSearch();
        QCOMPARE(button->text(), running);
        QVERIFY(!keywordBox->isEnabled());
        QVERIFY(waitUntil([&] { return list->topLevelItemCount() == 2; }));
        QTest::keyClick(keywordBox, Qt::Key_Return); // disabled: Enter cannot stop it
        QCOMPARE(button->text(), running);

        clickSearch();
        QCOMPARE(button->text(), idle);
        QVERIFY(keywordBox->isEnabled());
        QCOMPARE(window->windowTitle(), searching);

        clickSearch(); // a new search while the stopped one still runs
        QVERIFY(waitUntil([&] { return firstWoundDown.load(); }));
        waitForWorkers();
        QTest::qWait(50);
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("新"));
        QCOMPARE(window->windowTitle(), QStringLiteral("搜索完毕。。。"));
        QCOMPARE(button->text(), idle);
    }

    // A worker hammers list and caption operations while the UI thread handles events and the
    // user selects rows; a stop then ends it without a crash, a deadlock or a late write.
    void hammeringWorkerStopsCleanly() {
        std::atomic<int> rounds{0};
        appHooks().runSearch = [&] {
            beginSearch();
            for (int i = 0; !currentThreadCancelled(); ++i) {
                addRow("行"_gbk + toText(i));
                toolkit().writeText(WindowId::Main, ControlId::Window, "第"_gbk + toText(i));
                toolkit().setEnabled(WindowId::Main, ControlId::KeywordBox, false);
                (void)toolkit().readText(WindowId::Main, ControlId::KeywordBox);
                (void)toolkit().cell(toolkit().selectedRow(), 0);
                if (i % 50 == 49) toolkit().deleteAllRows();
                ++rounds;
            }
            addRow("迟"_gbk);
            endSearch();
        };
        keywordBox->setText("x");
        clickSearch();
        for (int i = 0; i < 40; ++i) {
            if (QTreeWidgetItem* item = list->topLevelItem(0)) item->setSelected(true);
            (void)fixture->toolkit.cell(0, 0);
            QTest::qWait(5);
        }
        QVERIFY(rounds > 10);
        clickSearch();
        int rowsAtStop = list->topLevelItemCount();
        QString captionAtStop = window->windowTitle();
        waitForWorkers();
        QTest::qWait(50);
        QCOMPARE(list->topLevelItemCount(), rowsAtStop);
        QCOMPARE(window->windowTitle(), captionAtStop);
        QCOMPARE(button->text(), idle);
        QVERIFY(keywordBox->isEnabled());
    }

    // Rows from a worker come one round trip each; the list is painted once a frame while they
    // arrive, not once a row (a full paint each, about a millisecond).
    void rowsFromAWorkerArePaintedOnceAFrame() {
        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) ++paints;
                return false;
            }
        } counter;
        appHooks().runSearch = [] {
            beginSearch();
            for (int i = 0; i < 40; ++i)
                addRow("行"_gbk + toText(i));
            endSearch();
        };
        keywordBox->setText("x");
        list->viewport()->installEventFilter(&counter);
        clickSearch();
        // The program's own event loop, which wakes for every hand-off (the test helpers sleep).
        QEventLoop loop;
        QTimer check;
        connect(&check, &QTimer::timeout, [&] {
            if (fixture->toolkit.runningThreads() == 0 && list->updatesEnabled()) loop.quit();
        });
        check.start(1);
        loop.exec();
        QTest::qWait(20);
        list->viewport()->removeEventFilter(&counter);
        QCOMPARE(list->topLevelItemCount(), 40);
        QVERIFY2(counter.paints < 10, qPrintable(QString::number(counter.paints)));
    }

    void menuItemsHandTheirColumnToResolution() {
        std::vector<Text> resolved;
        appHooks().resolveLink = [&](const Text& hash) { resolved.push_back(hash); };
        const char* hashes[] = {"甲", "h128", "hq", ""};
        auto* row = new QTreeWidgetItem(list);
        for (int c = 0; c < 4; ++c)
            row->setText(c, QString::fromUtf8(hashes[c]));

        QMenu* menu = window->qualityMenu();
        for (QAction* a : menu->actions())
            a->trigger(); // no row selected: nothing
        QVERIFY(resolved.empty());
        window->onListRightClick();
        QVERIFY(!menu->isVisible());

        row->setSelected(true);
        for (QAction* a : menu->actions())
            a->trigger();
        QCOMPARE(resolved, (std::vector<Text>{"h128", "hq", ""}));
        window->onListRightClick();
        QVERIFY(menu->isVisible());
        menu->hide();
    }

    void messageBoxesShowPlainTextWithTheirButtons() {
        ModalResponder responder;
        responder.answer = QMessageBox::Yes;
        Text rich = "<b>粗</b>\r\n<a href='x'>链接</a>"_gbk;
        QCOMPARE(toolkit().messageBox(rich, buttonsYesNo, "发现新版本"_gbk, WindowId::Main),
                 answerYes);
        responder.answer = QMessageBox::NoButton;
        QCOMPARE(toolkit().messageBox("错"_gbk, buttonsOkError), answerOk);
        int fromWorker = 0;
        std::thread worker([&] { fromWorker = toolkit().messageBox("线程"_gbk, buttonsOk); });
        QVERIFY(waitUntil([&] { return responder.boxes.size() == 3; }));
        worker.join();
        QCOMPARE(fromWorker, answerOk);

        QCOMPARE(responder.boxes[0].text, QStringLiteral("<b>粗</b>\n<a href='x'>链接</a>"));
        QCOMPARE(responder.boxes[0].format, Qt::PlainText);
        QCOMPARE(responder.boxes[0].title, QStringLiteral("发现新版本"));
        QCOMPARE(responder.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(responder.boxes[1].icon, QMessageBox::Critical);
        QCOMPARE(responder.boxes[1].title, QStringLiteral("信息："));
        QCOMPARE(responder.boxes[2].text, QStringLiteral("线程"));
    }

    void screenshotWithRows() {
        for (const char* name : {"周杰伦 - 晴天", "周杰伦 - 七里香", "林俊杰 - 江南"}) {
            auto* row = new QTreeWidgetItem(list);
            row->setText(0, QString::fromUtf8(name));
            for (int c = 1; c < 4; ++c)
                row->setText(c, QStringLiteral("0A1B2C3D4E5F%1").arg(c));
        }
        window->setWindowTitle(QStringLiteral("搜索完毕。。。"));
        QString path = QStringLiteral(QUORVEL_APP_BUILD_DIR "/main-window.png");
        QVERIFY(window->grab().save(path));
    }

    // Last: ending the program leaves every event loop of the UI thread, as at program end.
    void endProgramFromWorkerEndsTheEventLoop() {
        QEventLoop loop;
        fixture->toolkit.startThread([] { toolkit().endProgram(3); }, nullptr);
        QCOMPARE(loop.exec(), 3);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
