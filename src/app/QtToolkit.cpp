#include "app/QtToolkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>
#include <thread>

#include "app/MainWindow.h"
#include "app/QtText.h"
#include "app/ResultWindow.h"
#include "text/GbkLiteral.h"
#include "web/UrlParts.h"

namespace quorvel {

namespace {

constexpr int hitListColumns = 4;

Text textOf(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return gbkText(edit->text());
    if (auto* box = qobject_cast<QPlainTextEdit*>(w)) return gbkLines(box->toPlainText());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return gbkText(button->text());
    if (w && w->isWindow()) return gbkText(w->windowTitle());
    return {};
}

void setTextOf(QWidget* w, const Text& t) {
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(qtString(t));
    else if (auto* box = qobject_cast<QPlainTextEdit*>(w))
        box->setPlainText(qtLines(t));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(qtString(t));
    else if (w && w->isWindow())
        w->setWindowTitle(qtString(t));
}

void appendTextTo(QWidget* w, const Text& t) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(edit->text() + qtString(t));
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(qtLines(t));
        box->ensureCursorVisible();
    }
}

QMessageBox::StandardButtons buttonSet(int buttons) {
    return buttons == buttonsYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
}

int answerOf(QMessageBox::StandardButton pressed) {
    if (pressed == QMessageBox::Yes) return answerYes;
    if (pressed == QMessageBox::No) return answerNo;
    return answerOk;
}

// A worker empties the list and adds its rows one write at a time, and the list would be
// painted after each: a full paint per row, 40 for a search. While they arrive the list is
// painted once a frame.
void holdPaintsForAFrame(QWidget* list) {
    constexpr auto frame = std::chrono::milliseconds(16);
    if (!list->updatesEnabled()) return;
    list->setUpdatesEnabled(false);
    QTimer::singleShot(frame, list, [list] { list->setUpdatesEnabled(true); });
}

// The rows the hit list will hold once this worker's queued writes have run, when the worker
// knows it: after its own deleteAllRows, or after an insertRow the UI thread answered. Only
// search workers change the list, through the toolkit; queued writes run in the order they were
// made; and a stopped search's writes that had not run yet are dropped while the next search
// starts by emptying the list. So such a worker knows the number of every row it adds, and adds
// it without waiting for the UI thread (which would cost a round trip per row).
thread_local std::optional<int> rowsAfterQueuedWrites;

// Adds an empty row to the list and gives its number; rows from a worker are painted once a frame.
int addRow(QTreeWidget& list, bool fromWorker) {
    if (fromWorker) holdPaintsForAFrame(&list);
    list.addTopLevelItem(new QTreeWidgetItem(hitListColumns));
    return list.topLevelItemCount() - 1;
}

} // namespace

QtToolkit::QtToolkit(std::function<void()> mainWindowCreated)
    : mainWindowCreated_(std::move(mainWindowCreated)),
      executableDirectory_(QCoreApplication::applicationDirPath()) {}

QtToolkit::~QtToolkit() {
    delete result_;
    delete main_;
}

MainWindow* QtToolkit::mainWindow() const {
    return main_;
}

ResultWindow* QtToolkit::resultWindow() const {
    return result_;
}

bool QtToolkit::onUiThread() const {
    return QThread::currentThread() == thread();
}

void QtToolkit::handOff() {
    // Static: a worker may still pass here after a read that the program's end cut short.
    static std::mutex handOffMutex;
    std::lock_guard lock(handOffMutex);
}

bool QtToolkit::refusesWorker() const {
    return closing_.load(std::memory_order_acquire) || currentThreadCancelled();
}

void QtToolkit::post(std::function<void()> write) {
    if (onUiThread()) return write();
    if (refusesWorker()) return;
    auto run = [this, token = currentCancelToken, write = std::move(write)] {
        handOff();
        if (closing_ || (token && token->cancelled.load(std::memory_order_acquire))) return;
        write();
    };
    handOff();
    QMetaObject::invokeMethod(this, std::move(run), Qt::QueuedConnection);
}

template <class R> R QtToolkit::ask(std::function<R()> call, R fallback) {
    if (onUiThread()) return call();
    if (refusesWorker()) return fallback;
    R answer = fallback;
    handOff();
    QMetaObject::invokeMethod(
        this,
        [&, token = currentCancelToken] {
            handOff();
            if (!closing_ && !(token && token->cancelled.load(std::memory_order_acquire)))
                answer = call();
            handOff();
        },
        Qt::BlockingQueuedConnection);
    handOff();
    return answer;
}

QWidget* QtToolkit::control(WindowId w, ControlId c) const {
    if (w == WindowId::Main) return main_ ? main_->control(c) : nullptr;
    return result_ ? result_->control(c) : nullptr;
}

QWidget* QtToolkit::window(std::optional<WindowId> w) const {
    if (w == WindowId::Result && result_) return result_;
    return main_;
}

QTreeWidgetItem* QtToolkit::item(int row) const {
    if (!main_ || row < 0) return nullptr;
    return main_->hitList()->topLevelItem(row);
}

Text QtToolkit::readText(WindowId w, ControlId c) {
    return ask<Text>([=, this] { return textOf(control(w, c)); }, {});
}

void QtToolkit::writeText(WindowId w, ControlId c, const Text& t) {
    post([=, this] { setTextOf(control(w, c), t); });
}

void QtToolkit::setEnabled(WindowId w, ControlId c, bool on) {
    post([=, this] {
        if (QWidget* widget = control(w, c)) widget->setEnabled(on);
    });
}

void QtToolkit::appendText(WindowId w, ControlId c, const Text& t) {
    post([=, this] { appendTextTo(control(w, c), t); });
}

int QtToolkit::selectedRow() {
    return ask<int>([this] { return main_ ? main_->selectedRow() : -1; }, -1);
}

void QtToolkit::deleteAllRows() {
    const bool fromWorker = !onUiThread();
    if (fromWorker) rowsAfterQueuedWrites = 0;
    post([this, fromWorker] {
        if (!main_) return;
        if (fromWorker) holdPaintsForAFrame(main_->hitList()); // the search's rows follow
        main_->hitList()->clear();
    });
}

int QtToolkit::insertRow() {
    if (onUiThread() || !rowsAfterQueuedWrites) {
        const int row = ask<int>(
            [this, fromWorker = !onUiThread()] {
                return main_ ? addRow(*main_->hitList(), fromWorker) : -1;
            },
            -1);
        if (!onUiThread() && row >= 0) rowsAfterQueuedWrites = row + 1;
        return row;
    }
    if (refusesWorker()) return -1;
    post([this] {
        if (main_) addRow(*main_->hitList(), true);
    });
    return (*rowsAfterQueuedWrites)++;
}

void QtToolkit::setCell(int row, int column, const Text& t) {
    post([=, this] {
        if (QTreeWidgetItem* i = item(row); i && column >= 0 && column < hitListColumns)
            i->setText(column, qtString(t));
    });
}

Text QtToolkit::cell(int row, int column) {
    return ask<Text>(
        [=, this] {
            QTreeWidgetItem* i = item(row);
            if (!i || column < 0 || column >= hitListColumns) return Text();
            return gbkText(i->text(column));
        },
        {});
}

int QtToolkit::showMessageBox(const Text& text, int buttons, const Text& title, QWidget* owner) {
    QMessageBox box(owner);
    box.setTextFormat(Qt::PlainText); // service texts flow in here: never rich text
    box.setWindowTitle(qtString(title));
    box.setText(qtLines(text));
    box.setStandardButtons(buttonSet(buttons));
    if (buttons == buttonsOkError) box.setIcon(QMessageBox::Critical);
    if (buttons == buttonsYesNo) box.setEscapeButton(QMessageBox::No);
    box.exec();
    auto* pressed = box.clickedButton();
    return answerOf(pressed ? box.standardButton(pressed) : QMessageBox::NoButton);
}

int QtToolkit::messageBox(const Text& text, int buttons, const std::optional<Text>& title,
                          std::optional<WindowId> owner) {
    Text shownTitle = title.value_or("信息："_gbk);
    return ask<int>([=, this] { return showMessageBox(text, buttons, shownTitle, window(owner)); },
                    0);
}

void QtToolkit::showWindow(WindowId w, bool modal) {
    bool created = false;
    if (w == WindowId::Main && !main_) {
        main_ = new MainWindow;
        created = true;
    } else if (w == WindowId::Result && !result_) {
        result_ = new ResultWindow(main_);
    }
    QWidget* shown = window(w);
    if (modal) shown->setWindowModality(Qt::ApplicationModal);
    shown->show();
    shown->raise();
    shown->activateWindow();
    if (created && mainWindowCreated_) mainWindowCreated_();
}

void QtToolkit::loadWindow(WindowId w, std::optional<WindowId>, bool modal) {
    // The result window is always owned by the main window, the only other window.
    post([=, this] { showWindow(w, modal); });
}

void QtToolkit::destroyWindow(WindowId w) {
    post([=, this] {
        if (w == WindowId::Result && !result_) return;
        if (QWidget* shown = window(w)) shown->close();
    });
}

void QtToolkit::setClipboardText(const Text& t) {
    post([=] { QGuiApplication::clipboard()->setText(qtString(t)); });
}

void QtToolkit::openUrl(const Text& url) {
    if (!isWebAddress(url)) return; // addresses come from the network: never other schemes
    post([=] { QDesktopServices::openUrl(QUrl(qtString(url))); });
}

void QtToolkit::startThread(std::function<void()> routine, std::shared_ptr<CancelToken> token) {
    if (closing_) return;
    if (!token) token = std::make_shared<CancelToken>(); // so the program end can stop it
    {
        std::lock_guard lock(mutex_);
        std::erase_if(tokens_, [](const auto& t) { return t.expired(); });
        tokens_.push_back(token);
    }
    ++*running_;
    std::thread([running = running_, routine = std::move(routine), token = std::move(token)] {
        currentCancelToken = token;
        routine();
        currentCancelToken.reset();
        --*running;
    }).detach();
}

void QtToolkit::processEvents() {
    if (onUiThread()) QCoreApplication::processEvents();
}

Text QtToolkit::runDirectory() {
    std::lock_guard lock(mutex_);
    if (!runDirectory_) runDirectory_ = gbkText(executableDirectory_);
    return *runDirectory_;
}

void QtToolkit::setRunDirectory(const Text& directory) {
    std::lock_guard lock(mutex_);
    runDirectory_ = directory;
}

bool QtToolkit::writeFile(const Text& path, const Bytes& bytes) {
    QSaveFile file(qtString(path)); // temporary file renamed over the target on commit
    if (!file.open(QIODevice::WriteOnly)) return false;
    auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
    return file.commit();
}

void QtToolkit::endProgram(int exitCode) {
    // Queued even on the UI thread: the running handler returns first, then every event loop
    // ends and the program entry runs the clean-up.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); },
        Qt::QueuedConnection);
}

int QtToolkit::runningThreads() const {
    return running_->load();
}

void QtToolkit::shutDown(std::chrono::milliseconds limit) {
    closing_ = true;
    {
        std::lock_guard lock(mutex_);
        for (auto& weak : tokens_)
            if (auto token = weak.lock()) token->cancelled = true;
    }
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (runningThreads() > 0 && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

} // namespace quorvel
