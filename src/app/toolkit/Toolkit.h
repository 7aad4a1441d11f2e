#pragma once
// The window toolkit operations that handlers and workers call. Any thread may call them.
// The Qt program installs the real implementation; tests and the command-line program install
// a headless one. Until one is installed, every operation does nothing and reads give empty
// answers.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "text/Text.h"

namespace quorvel {

enum class WindowId { Main, Result };

// Controls, with the names of their forms.
enum class ControlId {
    Window,       // the window itself: its caption
    KeywordBox,   // 编辑框1 of the main window
    SearchButton, // 按钮1 of the main window
    HitList,      // 超级列表框1 of the main window
    InfoBox,      // 编辑框1 of the result window
};

// Message box button sets and the answer Yes.
constexpr int buttonsOk = 0;
constexpr int buttonsYesNo = 4;
constexpr int buttonsOkError = 16;
constexpr int answerYes = 5;
constexpr int answerNo = 7;
constexpr int answerOk = 1;

// Set by whoever stops a worker; the worker's window writes and transfers check it.
struct CancelToken {
    std::atomic<bool> cancelled{false};
};

class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // A window's or button's caption, or an edit box's text.
    virtual Text readText(WindowId, ControlId) { return {}; }
    virtual void writeText(WindowId, ControlId, const Text&) {}
    virtual void setEnabled(WindowId, ControlId, bool) {}
    // Adds text at the end of an edit box and scrolls it into view.
    virtual void appendText(WindowId, ControlId, const Text&) {}

    // The hit list: selected row (-1 when none), rows and cells (columns from 0).
    virtual int selectedRow() { return -1; }
    virtual void deleteAllRows() {}
    virtual int insertRow() { return -1; }
    virtual void setCell(int, int, const Text&) {}
    virtual Text cell(int, int) { return {}; }

    // Button set buttonsOk, buttonsYesNo or buttonsOkError; no title means "信息：".
    // Returns the answer (answerYes for Yes).
    virtual int messageBox(const Text&, int = buttonsOk, const std::optional<Text>& = {},
                           std::optional<WindowId> = {}) {
        return 0;
    }

    // Creates and shows a window (its creation event runs), or brings an open one forward.
    virtual void loadWindow(WindowId, std::optional<WindowId> /*owner*/, bool /*modal*/) {}
    virtual void destroyWindow(WindowId) {}

    virtual void setClipboardText(const Text&) {}
    // Opens an address with the desktop's default handler.
    virtual void openUrl(const Text&) {}
    // Runs routine at once on a new thread; with a token, the thread's window writes are dropped
    // once the token is cancelled.
    virtual void startThread(std::function<void()> routine,
                             std::shared_ptr<CancelToken> token = nullptr) {
        (void)routine;
        (void)token;
    }
    // Handles the calling thread's queued window events before it returns.
    virtual void processEvents() {}
    // The directory of the program's executable, without a trailing separator (GBK).
    virtual Text runDirectory() { return {}; }
    // Creates or replaces the file at a GBK path with exactly these bytes.
    virtual bool writeFile(const Text&, const Bytes&) { return false; }
    // Runs the exit clean-up once and ends the program.
    virtual void endProgram(int) {}
};

namespace detail {
inline Toolkit fallbackToolkit;
inline std::atomic<Toolkit*> installedToolkit{&fallbackToolkit};
} // namespace detail

// The toolkit in use.
inline Toolkit& toolkit() {
    return *detail::installedToolkit.load(std::memory_order_acquire);
}
// Installs a toolkit (nullptr: the do-nothing one); the caller keeps it alive while installed.
inline void installToolkit(Toolkit* t) {
    detail::installedToolkit.store(t ? t : &detail::fallbackToolkit, std::memory_order_release);
}

// The cancel token of the calling worker thread, if it has one.
inline thread_local std::shared_ptr<CancelToken> currentCancelToken;

inline bool currentThreadCancelled() {
    return currentCancelToken && currentCancelToken->cancelled.load(std::memory_order_acquire);
}

} // namespace quorvel
