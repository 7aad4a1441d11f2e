#pragma once
// A toolkit without windows: it keeps the controls' texts and the list in memory, records
// message boxes, opened addresses and written files, and answers message boxes as told.
// Safe to call from any thread.
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "app/toolkit/Toolkit.h"

namespace quorvel {

class HeadlessToolkit : public Toolkit {
  public:
    struct MessageBoxCall {
        Text text;
        int buttons = 0;
        Text title;
        std::optional<WindowId> owner;
    };

    ~HeadlessToolkit() override;

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
    void loadWindow(WindowId, std::optional<WindowId>, bool) override;
    void destroyWindow(WindowId) override;
    void setClipboardText(const Text&) override;
    void openUrl(const Text&) override;
    void startThread(std::function<void()> routine, std::shared_ptr<CancelToken> token) override;
    void processEvents() override;
    Text runDirectory() override;
    bool writeFile(const Text& path, const Bytes&) override;
    void endProgram(int exitCode) override;

    // Test controls and records.
    void setSelectedRow(int row);
    void setRunDirectory(const Text& directory);
    // The answer the next message boxes get (answerOk when none was queued).
    void queueAnswer(int answer);
    // Called by processEvents, so a test can act in the middle of a worker's loop.
    void onProcessEvents(std::function<void()> handler);
    bool enabled(WindowId, ControlId);
    bool windowOpen(WindowId);
    int rowCount();
    std::vector<MessageBoxCall> messageBoxes();
    std::vector<Text> openedUrls();
    Text clipboard();
    std::optional<int> exitCode();
    int processEventsCalls();
    // Waits for every thread started through startThread.
    void joinThreads();

  private:
    std::recursive_mutex mutex_;
    std::map<std::pair<WindowId, ControlId>, Text> texts_;
    std::map<std::pair<WindowId, ControlId>, bool> disabled_;
    std::map<WindowId, bool> open_;
    std::vector<std::vector<Text>> rows_;
    int selectedRow_ = -1;
    std::vector<MessageBoxCall> messageBoxes_;
    std::deque<int> answers_;
    std::vector<Text> openedUrls_;
    Text clipboard_;
    Text runDirectory_ = ".";
    std::optional<int> exitCode_;
    int processEventsCalls_ = 0;
    std::function<void()> processEventsHandler_;
    std::vector<std::thread> threads_;
};

} // namespace quorvel
