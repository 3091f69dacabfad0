// The single-instance lock: an advisory lock on a file in the user's runtime
// folder ($XDG_RUNTIME_DIR, else the temporary folder). The kernel drops the
// lock when the process ends however it ends, so a crashed copy never blocks
// the next start. The file stays open, and locked, for the life of the process.
//
// The holder writes its process number into the file. A second copy that
// finds the lock taken sends that process SIGUSR1, which the holder turns
// into a request to come to the front; it only does so while the lock is
// still held, so the number it read belongs to the running copy.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/window.h"

namespace tessaly::platform {

std::string singleInstanceLockPath(std::string_view name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? runtime : "";
    if (folder.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        folder = tmp && *tmp ? tmp : "/tmp";
    }
    // "Tessaly game" -> "tessaly-game.lock"
    std::string file;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        file += std::isalnum(u) ? char(std::tolower(u)) : '-';
    }
    return folder + "/" + file + ".lock";
}

namespace {

volatile std::sig_atomic_t g_raiseRequested = 0;

void onRaiseSignal(int) { g_raiseRequested = 1; }

// Turns SIGUSR1 into a raise request from now on; before this the signal
// would end the process, so it is installed before the number is published.
void listenForRaiseRequests() {
    struct sigaction action = {};
    action.sa_handler = &onRaiseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

void publishProcessNumber(int fd) {
    char text[24];
    const int n = std::snprintf(text, sizeof text, "%ld\n", long(::getpid()));
    if (::ftruncate(fd, 0) == 0 && n > 0) (void)!::pwrite(fd, text, size_t(n), 0);
}

}  // namespace

bool takeRaiseRequest() {
    if (!g_raiseRequested) return false;
    g_raiseRequested = 0;
    return true;
}

bool askRunningCopyToRaise(std::string_view name) {
    const std::string path = singleInstanceLockPath(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char text[24] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    // Still held: the number is the running copy's.
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    if (n <= 0 || !held) return false;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    if (end == text || pid <= 1 || pid == long(::getpid())) return false;
    return ::kill(pid_t(pid), SIGUSR1) == 0;
}

bool acquireSingleInstanceLock(std::string_view name) {
    static int s_lockFd = -1;  // held open for the life of the process
    if (s_lockFd >= 0) return true;
    const std::string path = singleInstanceLockPath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file we cannot tell; letting the game run beats
    // refusing to start over an unwritable folder.
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        // A file system without locks is no reason to refuse to start.
        return !heldElsewhere;
    }
    s_lockFd = fd;
    listenForRaiseRequests();
    publishProcessNumber(fd);
    return true;
}

}  // namespace tessaly::platform
