// Runs the real game executable headless for end-to-end tests: the offscreen
// video driver, the dummy audio driver, a runtime folder of the test's own
// (so the single-instance lock of one test never meets another's) and a
// player-data folder of its own ($XDG_DATA_HOME below the test's folder).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::e2e {

struct GameRun {
    int exitCode = -1;       // -1 when killed by a signal or timed out
    bool timedOut = false;
    std::string out, err;    // what it wrote to stdout and stderr
    double seconds = 0;      // wall time from start to exit
};

// A fresh empty folder for one test's files.
std::string makeTestFolder(const std::string& name);

// The same, removed again when the test passed (kept for a look when not).
class TestFolder final {
public:
    explicit TestFolder(const std::string& name) : m_path(makeTestFolder(name)) {}
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Starts the game with `args` in `folder` (its working directory, where its
// stdout and stderr are kept) and returns at once. The runtime folder, where
// the single-instance lock lives, is `folder` unless another is given.
pid_t startGame(const std::vector<std::string>& args, const std::string& folder,
                const std::string& runtimeFolder = {});
// Waits for a started game, killing it after timeoutSeconds.
GameRun waitGame(pid_t pid, const std::string& folder, double timeoutSeconds);
// Both at once.
GameRun runGame(const std::vector<std::string>& args, const std::string& folder,
                double timeoutSeconds = 180, const std::string& runtimeFolder = {});

std::string readText(const std::string& path);

}  // namespace tessaly::e2e

namespace tessaly::e2e {

// Reading a state dump without a JSON library: the object under a key
// (braces matched, strings not looked into: the dump's texts hold none), a
// number or a text after a key (the first after the start of `json`).
std::string jsonObject(const std::string& json, const std::string& key);
double jsonNumber(const std::string& json, const std::string& key);
std::string jsonText(const std::string& json, const std::string& key);

// A number of an array under a key: element `index` (NAN when absent).
double jsonArrayNumber(const std::string& json, const std::string& key, int index);

// A screenshot as read back: RGBA rows, top first.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* at(int x, int y) const { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};
// Reads a PNG the game wrote; an empty picture (and a test failure) when it can't.
Screenshot readScreenshot(const std::string& path);

}  // namespace tessaly::e2e
