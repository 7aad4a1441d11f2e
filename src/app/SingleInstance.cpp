#include "app/SingleInstance.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

#include "text/CodePage.h"

namespace quorvel {

namespace {

constexpr auto waitLimit = std::chrono::milliseconds(100);
constexpr auto retryPause = std::chrono::milliseconds(5);

// A POSIX record lock on the whole file: the kernel drops it when its holder dies, however it
// dies, and other processes can see who holds it.
bool tryLock(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return fcntl(fd, F_SETLK, &lock) == 0;
}

} // namespace

std::string instanceLockPath(const Text& name) {
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return directory.toStdString() + "/" + gbkToUtf8(name) + ".lock";
}

bool ensureSingleInstance(const Text& name) {
    // The descriptor stays open for the life of the process: closing it would drop the lock.
    int fd = open(instanceLockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true; // no lock to be had: run as the only copy
    auto deadline = std::chrono::steady_clock::now() + waitLimit;
    while (!tryLock(fd)) {
        if (errno != EACCES && errno != EAGAIN) return true; // no locking here: run alone
        if (std::chrono::steady_clock::now() >= deadline) {
            close(fd);
            return false;
        }
        std::this_thread::sleep_for(retryPause);
    }
    return true;
}

} // namespace quorvel
