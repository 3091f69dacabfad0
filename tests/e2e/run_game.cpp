#include "e2e/run_game.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/png_file.h"

namespace tessaly::e2e {

std::string makeTestFolder(const std::string& name) {
    const std::string folder =
        ::testing::TempDir() + "tessaly-e2e-" + name + "-" + std::to_string(getpid());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

TestFolder::~TestFolder() {
    if (!::testing::Test::HasFailure()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

pid_t startGame(const std::vector<std::string>& args, const std::string& folder,
                const std::string& runtimeFolder) {
    // Everything is prepared before fork: the test process may have threads
    // (SDL's), and the child must only exec.
    const std::string outPath = folder + "/stdout.txt", errPath = folder + "/stderr.txt";
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("SDL_VIDEODRIVER=", 0) == 0 || var.rfind("SDL_AUDIODRIVER=", 0) == 0 ||
            var.rfind("XDG_RUNTIME_DIR=", 0) == 0 || var.rfind("XDG_DATA_HOME=", 0) == 0 ||
            var.rfind("TMPDIR=", 0) == 0 || var.rfind("LC_ALL=", 0) == 0 ||
            var.rfind("LC_MESSAGES=", 0) == 0 || var.rfind("LANG=", 0) == 0)
            continue;
        env.push_back(var);
    }
    env.push_back("SDL_VIDEODRIVER=offscreen");
    env.push_back("SDL_AUDIODRIVER=dummy");
    env.push_back("XDG_RUNTIME_DIR=" + (runtimeFolder.empty() ? folder : runtimeFolder));
    env.push_back("TMPDIR=" + (runtimeFolder.empty() ? folder : runtimeFolder));
    // The texts are English whatever the tester's locale; a test asks for
    // another language with --lang.
    // Player data goes to the test's own folder unless a test names one with
    // --user-dir: no run ever meets a person's files or another test's.
    env.push_back("XDG_DATA_HOME=" + folder + "/data-home");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStrings(args);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(TESSALY_EXE));
    for (std::string& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        if (out < 0 || err < 0 || chdir(folder.c_str()) != 0) _exit(126);
        dup2(out, 1);  // dup2 clears close-on-exec on the copies
        dup2(err, 2);
        execve(TESSALY_EXE, argv.data(), envp.data());
        _exit(127);
    }
    if (out >= 0) close(out);
    if (err >= 0) close(err);
    return pid;
}

GameRun waitGame(pid_t pid, const std::string& folder, double timeoutSeconds) {
    GameRun run;
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (done == pid) break;
        if (run.seconds > timeoutSeconds) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exitCode = !run.timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(folder + "/stdout.txt");
    run.err = readText(folder + "/stderr.txt");
    return run;
}

GameRun runGame(const std::vector<std::string>& args, const std::string& folder,
                double timeoutSeconds, const std::string& runtimeFolder) {
    return waitGame(startGame(args, folder, runtimeFolder), folder, timeoutSeconds);
}

}  // namespace tessaly::e2e

namespace tessaly::e2e {

std::string jsonObject(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":{");
    if (at == std::string::npos) return {};
    const size_t start = at + key.size() + 3;
    int depth = 0;
    for (size_t i = start; i < json.size(); ++i) {
        if (json[i] == '{') ++depth;
        if (json[i] == '}' && --depth == 0) return json.substr(start, i - start + 1);
    }
    return {};
}

double jsonNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

std::string jsonText(const std::string& json, const std::string& key) {
    const std::string open = "\"" + key + "\":\"";
    const size_t at = json.find(open);
    if (at == std::string::npos) return "<missing>";
    const size_t end = json.find('"', at + open.size());
    return json.substr(at + open.size(), end - at - open.size());
}

double jsonArrayNumber(const std::string& json, const std::string& key, int index) {
    size_t at = json.find("\"" + key + "\":[");
    if (at == std::string::npos) return NAN;
    at += key.size() + 4;
    const size_t close = json.find(']', at);
    for (int i = 0; i < index; ++i) {
        at = json.find(',', at);
        if (at == std::string::npos || at > close) return NAN;
        ++at;
    }
    return at < close ? std::strtod(json.c_str() + at, nullptr) : NAN;
}

Screenshot readScreenshot(const std::string& path) {
    Screenshot p;
    std::string error;
    EXPECT_TRUE(platform::readPng(path, p.rgba, &p.width, &p.height, &error)) << path << ": " << error;
    return p;
}

}  // namespace tessaly::e2e
