#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/window.h"

namespace tessaly::platform {
namespace {

TEST(SingleInstanceLock, PathIsInTheRuntimeFolder) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(singleInstanceLockPath("Tessaly game"), "/run/user/1234/tessaly-game.lock");
    setenv("XDG_RUNTIME_DIR", "", 1);
    setenv("TMPDIR", "/scratch", 1);
    EXPECT_EQ(singleInstanceLockPath("Tessaly game"), "/scratch/tessaly-game.lock");
    unsetenv("TMPDIR");
    if (saved) setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstanceLock, HeldLockKeepsOthersOut) {
    const std::string folder = ::testing::TempDir() + "tessaly-lock-test-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);

    const std::string name = "Lock test";
    ASSERT_TRUE(acquireSingleInstanceLock(name));
    // Another holder (another open file, as another process would have)
    // cannot take it while we hold it.
    const int fd = ::open(singleInstanceLockPath(name).c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
    // Asking again from the holder is fine.
    EXPECT_TRUE(acquireSingleInstanceLock(name));

    // A second process asks the holder to come to the front: the request
    // arrives once. Nobody holds another name's lock, so nobody is asked.
    EXPECT_FALSE(takeRaiseRequest());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(askRunningCopyToRaise(name) && !askRunningCopyToRaise("Nobody here") ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    bool raised = false;
    for (int i = 0; i < 100 && !raised; ++i) {
        raised = takeRaiseRequest();
        if (!raised) usleep(1000);
    }
    EXPECT_TRUE(raised);
    EXPECT_FALSE(takeRaiseRequest());
    // The holder never asks itself.
    EXPECT_FALSE(askRunningCopyToRaise(name));

    if (saved) setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace tessaly::platform
