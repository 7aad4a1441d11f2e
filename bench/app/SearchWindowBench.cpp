// A search in the real window, from the click on "搜索" to its last row in the hit list, with the
// worker thread handing every row to the UI thread as the program does; beside a bare libcurl
// fetch of the same answer.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdlib>

#include "BareFetch.h"
#include "BenchService.h"
#include "app/MainWindow.h"
#include "app/QtToolkit.h"
#include "service/AppState.h"

namespace quorvel {
namespace {

// Handles events, sleeping while there are none, until done() holds.
template <class Done> void handleEventsUntil(Done done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_SearchToLastRowInTheWindow(benchmark::State& state) {
    benchService();
    createAppState();
    QtToolkit windows(nullptr); // no single-instance lock, no update check
    installToolkit(&windows);
    windows.loadWindow(WindowId::Main, std::nullopt, false);
    handleEventsUntil([&] { return windows.mainWindow() != nullptr; });
    MainWindow* window = windows.mainWindow();
    auto* keywordBox = window->findChild<QLineEdit*>(QStringLiteral("编辑框1"));
    auto* button = window->findChild<QPushButton*>(QStringLiteral("按钮1"));
    QTreeWidget* list = window->hitList();
    keywordBox->setText(QStringLiteral("晴"));

    auto searchToLastRow = [&] {
        button->click();
        handleEventsUntil([&] {
            return list->topLevelItemCount() == 40 &&
                   window->windowTitle() == QStringLiteral("搜索完毕。。。");
        });
    };
    auto previousSearchGone = [&] {
        // The worker has ended and the list has had its paint, so neither lands in the next turn.
        handleEventsUntil([&] { return windows.runningThreads() == 0 && list->updatesEnabled(); });
        QCoreApplication::processEvents();
        list->clear();
        window->setWindowTitle({});
    };
    alternateWithBareFetch(state, searchUrl(), searchToLastRow, previousSearchGone);
    if (list->topLevelItemCount() != 40) state.SkipWithError("the search did not give 40 rows");

    windows.shutDown(std::chrono::milliseconds(5000));
    installToolkit(nullptr);
    releaseAppState();
}
BENCHMARK(BM_SearchToLastRowInTheWindow)->Unit(benchmark::kMicrosecond)->UseManualTime();

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
