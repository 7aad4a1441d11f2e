#include "app/toolkit/HeadlessToolkit.h"

#include <fstream>

#include "text/GbkLiteral.h"

namespace quorvel {

HeadlessToolkit::~HeadlessToolkit() {
    joinThreads();
}

Text HeadlessToolkit::readText(WindowId w, ControlId c) {
    std::lock_guard lock(mutex_);
    return texts_[{w, c}];
}

void HeadlessToolkit::writeText(WindowId w, ControlId c, const Text& t) {
    if (currentThreadCancelled()) return;
    std::lock_guard lock(mutex_);
    texts_[{w, c}] = t;
}

void HeadlessToolkit::setEnabled(WindowId w, ControlId c, bool on) {
    if (currentThreadCancelled()) return;
    std::lock_guard lock(mutex_);
    disabled_[{w, c}] = !on;
}

void HeadlessToolkit::appendText(WindowId w, ControlId c, const Text& t) {
    if (currentThreadCancelled()) return;
    std::lock_guard lock(mutex_);
    texts_[{w, c}] += t;
}

int HeadlessToolkit::selectedRow() {
    std::lock_guard lock(mutex_);
    return selectedRow_;
}

void HeadlessToolkit::deleteAllRows() {
    if (currentThreadCancelled()) return;
    std::lock_guard lock(mutex_);
    rows_.clear();
    selectedRow_ = -1;
}

int HeadlessToolkit::insertRow() {
    if (currentThreadCancelled()) return -1;
    std::lock_guard lock(mutex_);
    rows_.emplace_back(4);
    return static_cast<int>(rows_.size()) - 1;
}

void HeadlessToolkit::setCell(int row, int column, const Text& t) {
    if (currentThreadCancelled()) return;
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= 4) return;
    rows_[row][column] = t;
}

Text HeadlessToolkit::cell(int row, int column) {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= 4) return {};
    return rows_[row][column];
}

int HeadlessToolkit::messageBox(const Text& text, int buttons, const std::optional<Text>& title,
                                std::optional<WindowId> owner) {
    std::lock_guard lock(mutex_);
    messageBoxes_.push_back({text, buttons, title.value_or("信息："_gbk), owner});
    if (answers_.empty()) return answerOk;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void HeadlessToolkit::loadWindow(WindowId w, std::optional<WindowId>, bool) {
    std::lock_guard lock(mutex_);
    open_[w] = true;
}

void HeadlessToolkit::destroyWindow(WindowId w) {
    std::lock_guard lock(mutex_);
    open_[w] = false;
}

void HeadlessToolkit::setClipboardText(const Text& t) {
    std::lock_guard lock(mutex_);
    clipboard_ = t;
}

void HeadlessToolkit::openUrl(const Text& url) {
    std::lock_guard lock(mutex_);
    openedUrls_.push_back(url);
}

void HeadlessToolkit::startThread(std::function<void()> routine,
                                  std::shared_ptr<CancelToken> token) {
    std::lock_guard lock(mutex_);
    threads_.emplace_back([routine = std::move(routine), token = std::move(token)] {
        currentCancelToken = token;
        routine();
    });
}

void HeadlessToolkit::processEvents() {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        ++processEventsCalls_;
        handler = std::move(processEventsHandler_);
        processEventsHandler_ = nullptr;
    }
    if (handler) handler(); // runs once, like one queued event
}

Text HeadlessToolkit::runDirectory() {
    std::lock_guard lock(mutex_);
    return runDirectory_;
}

bool HeadlessToolkit::writeFile(const Text& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

void HeadlessToolkit::endProgram(int code) {
    std::lock_guard lock(mutex_);
    if (!exitCode_) exitCode_ = code;
}

void HeadlessToolkit::setSelectedRow(int row) {
    std::lock_guard lock(mutex_);
    selectedRow_ = row;
}

void HeadlessToolkit::setRunDirectory(const Text& directory) {
    std::lock_guard lock(mutex_);
    runDirectory_ = directory;
}

void HeadlessToolkit::queueAnswer(int answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void HeadlessToolkit::onProcessEvents(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    processEventsHandler_ = std::move(handler);
}

bool HeadlessToolkit::enabled(WindowId w, ControlId c) {
    std::lock_guard lock(mutex_);
    return !disabled_[{w, c}];
}

bool HeadlessToolkit::windowOpen(WindowId w) {
    std::lock_guard lock(mutex_);
    return open_[w];
}

int HeadlessToolkit::rowCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(rows_.size());
}

std::vector<HeadlessToolkit::MessageBoxCall> HeadlessToolkit::messageBoxes() {
    std::lock_guard lock(mutex_);
    return messageBoxes_;
}

std::vector<Text> HeadlessToolkit::openedUrls() {
    std::lock_guard lock(mutex_);
    return openedUrls_;
}

Text HeadlessToolkit::clipboard() {
    std::lock_guard lock(mutex_);
    return clipboard_;
}

std::optional<int> HeadlessToolkit::exitCode() {
    std::lock_guard lock(mutex_);
    return exitCode_;
}

int HeadlessToolkit::processEventsCalls() {
    std::lock_guard lock(mutex_);
    return processEventsCalls_;
}

void HeadlessToolkit::joinThreads() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        threads.swap(threads_);
    }
    for (auto& t : threads)
        t.join();
}

} // namespace quorvel
