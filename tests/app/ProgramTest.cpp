// The program's run from start to end: every ending leaves the event loop, stops the workers and
// runs the exit clean-up.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

#include "app/AppHooks.h"
#include "app/Program.h"
#include "app/toolkit/Toolkit.h"
#include "service/AppState.h"
#include "web/WebRequest.h"

using namespace quorvel;

class ProgramTest : public QObject {
    Q_OBJECT
    QTemporaryDir runtimeDir;

    static void expectCleanedUp() {
        QVERIFY(!appState().gzipCodec);
        QCOMPARE(sharedGzipCodec(), nullptr);
    }

  private slots:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8()); }

    // The update-check thread's body decides each ending.
    void everyEndingRunsTheCleanUp_data() {
        QTest::addColumn<int>("ending");
        QTest::newRow("update check ends the program") << 0;
        QTest::newRow("main window closed") << 1;
    }
    void everyEndingRunsTheCleanUp() {
        QFETCH(int, ending);
        appHooks().checkForUpdate = [ending] {
            if (ending == 0)
                toolkit().endProgram(0);
            else
                toolkit().destroyWindow(WindowId::Main);
        };
        QCOMPARE(runProgram(), 0);
        expectCleanedUp();
    }

    // A worker still running at the end is cancelled and has returned before the clean-up.
    void runningWorkerStopsBeforeTheCleanUp() {
        std::atomic<bool> workerReturned{false};
        appHooks().checkForUpdate = [&] {
            toolkit().startThread(
                [&] {
                    while (!currentThreadCancelled())
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    workerReturned = true;
                },
                nullptr);
            toolkit().endProgram(0);
        };
        QCOMPARE(runProgram(), 0);
        QVERIFY(workerReturned);
        expectCleanedUp();
    }

    // libcurl is loaded by the first transfer, not with the program: its libraries would slow
    // every start.
    void windowShowsWithoutLibcurlLoaded() {
#if !QUORVEL_LOAD_CURL_ON_FIRST_USE || !defined(__linux__)
        QSKIP("libcurl is linked into the program here");
#else
        std::atomic<bool> libcurlMapped{true};
        appHooks().checkForUpdate = [&] {
            QFile maps("/proc/self/maps");
            libcurlMapped = !maps.open(QIODevice::ReadOnly) || maps.readAll().contains("libcurl");
            toolkit().endProgram(0);
        };
        QCOMPARE(runProgram(), 0);
        QVERIFY(!libcurlMapped);
#endif
    }
};

QTEST_MAIN(ProgramTest)
#include "ProgramTest.moc"
