// Start-up time: the real executable, headless (offscreen video, dummy
// audio), from exec to the end of its first title frame (--frames 1; the
// normal shutdown that follows is included and is short). Each iteration is
// a fresh process with its own runtime folder, so the single-instance lock
// never interferes. TESSALY_STARTUP_BUILD names another build folder (its
// tessaly and Data/) to measure instead, for before-and-after figures.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

double numberAfter(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? 0 : std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

void BM_StartupToFirstTitleFrame(benchmark::State& state) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("tessaly-startup-bench-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(folder);
    const std::string dump = folder + "/state.json";
    const char* other = std::getenv("TESSALY_STARTUP_BUILD");
    const std::string exe = other ? std::string(other) + "/tessaly" : TESSALY_EXE;
    const std::string data = other ? std::string(other) + "/Data" : TESSALY_DATA_DIR;
    std::vector<std::string> args = {exe, "--data", data, "--windowed",
                                     "--fixed-step", "16", "--seed", "1", "--frames", "1",
                                     "--user-dir", folder + "/user", "--dump-state", dump};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy",
                                    "XDG_RUNTIME_DIR=" + folder};
    if (const char* path = std::getenv("PATH")) env.push_back(std::string("PATH=") + path);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
            state.SkipWithError("cannot start the game");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the game did not exit cleanly");
            break;
        }
        state.SetIterationTime(seconds);
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream file(dump);
    std::stringstream text;
    text << file.rdbuf();
    state.counters["loadedBytes"] = numberAfter(text.str(), "loadedBytes");
    state.counters["loadReports"] = numberAfter(text.str(), "reports");
    // A build that draws a loading frame per report does not say.
    const double drawn = numberAfter(text.str(), "framesDrawn");
    state.counters["loadingFrames"] = drawn > 0 ? drawn : numberAfter(text.str(), "reports");
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_StartupToFirstTitleFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
