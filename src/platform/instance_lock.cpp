// The single-instance lock: an advisory lock on a file in the user's runtime
// folder ($XDG_RUNTIME_DIR, else the temporary folder). The kernel drops the
// lock when the process ends however it ends, so a crashed copy never blocks
// the next start. The file stays open, and locked, for the life of the process.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
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
    return true;
}

}  // namespace tessaly::platform
