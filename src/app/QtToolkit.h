#pragma once
// The window toolkit on Qt Widgets. Every operation may be called from any thread; widgets are
// touched on the UI thread only. A worker's writes are queued to the UI thread and dropped there
// once the worker's cancel token is cancelled; a worker's reads wait for the UI thread's answer.
// The UI thread never waits for a worker, so no call can deadlock.
#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "app/toolkit/Toolkit.h"

class QTreeWidgetItem;
class QWidget;

namespace quorvel {

class MainWindow;
class ResultWindow;

class QtToolkit : public QObject, public Toolkit {
    Q_OBJECT
  public:
    // mainWindowCreated is the main window's creation event (none: nothing runs). Create it on
    // the UI thread.
    explicit QtToolkit(std::function<void()> mainWindowCreated = {});
    ~QtToolkit() override;

    Text readText(WindowId, ControlId) override;
    void writeText(WindowId, ControlId, const Text&) override;
    void setEnabled(WindowId, ControlId, bool) override;
    void appendText(WindowId, ControlId, const Text&) override;
    int selectedRow() override;
    void deleteAllRows() override;
    int insertRow() override;
    void setCell(int row, int column, const Text&) override;
    Text cell(int row, int column) override;
    int messageBox(const Text&, int buttons, const std::optional<Text>& title,
                   std::optional<WindowId> owner) override;
    void loadWindow(WindowId, std::optional<WindowId> owner, bool modal) override;
    void destroyWindow(WindowId) override;
    void setClipboardText(const Text&) override;
    void openUrl(const Text&) override;
    void startThread(std::function<void()> routine, std::shared_ptr<CancelToken> token) override;
    void processEvents() override;
    Text runDirectory() override;
    bool writeFile(const Text& path, const Bytes&) override;
    void endProgram(int exitCode) override;

    // The open windows (null when closed); UI thread only.
    MainWindow* mainWindow() const;
    ResultWindow* resultWindow() const;
    // Workers started through startThread that have not returned yet.
    int runningThreads() const;
    // Replaces the executable's directory as runDirectory's answer.
    void setRunDirectory(const Text& directory);
    // At program end, on the UI thread: refuses further calls from workers, cancels every
    // worker and handles events until they have all returned or the limit has passed.
    void shutDown(std::chrono::milliseconds limit);

  private:
    bool onUiThread() const;
    bool refusesWorker() const;
    // Qt's event queue already orders a worker's call before its run on the UI thread (and a
    // read's answer before the worker goes on); passing through a mutex on both sides states
    // that order in a form thread checkers see, as they cannot look inside Qt.
    static void handOff();
    // Runs write on the UI thread: at once there, else queued and dropped if the worker is
    // cancelled by the time it runs.
    void post(std::function<void()> write);
    // Runs call on the UI thread and gives its answer (fallback when refused or dropped).
    template <class R> R ask(std::function<R()> call, R fallback);
    QWidget* control(WindowId, ControlId) const;
    QWidget* window(std::optional<WindowId>) const;
    QTreeWidgetItem* item(int row) const;
    int showMessageBox(const Text&, int buttons, const Text& title, QWidget* owner);
    void showWindow(WindowId, bool modal);

    std::function<void()> mainWindowCreated_;
    QPointer<MainWindow> main_;
    QPointer<ResultWindow> result_;
    std::atomic<bool> closing_{false};
    std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
    mutable std::mutex mutex_; // guards tokens_ and runDirectory_
    std::vector<std::weak_ptr<CancelToken>> tokens_;
    // The executable's directory, converted to GBK on first use (start-up needs no code page).
    QString executableDirectory_;
    std::optional<Text> runDirectory_;
};

} // namespace quorvel
