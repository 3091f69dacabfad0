// Writing and reading all player data: the settings block and the five
// player files, each through a temporary file, fsync, rename and a flush of
// the folder.
//
// BM_SaveAllPlayerData writes eight players with records and hiscores into
// a scratch folder; BM_LoadAllPlayerData reads them back (settings first, as
// at start-up, then the player files). Both touch the real file system, so
// the figures depend on the disk under the temporary folder.
//
// Run: ./tessaly_bench --benchmark_filter=PlayerData
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "player/player_data.h"

namespace {

using namespace tessaly;

// A scratch player folder, removed at the end of the benchmark.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        char pattern[] = "/tmp/tessaly-bench-XXXXXX";
        if (mkdtemp(pattern)) path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

// Eight players part-way through every mode, and filled tables.
void fillPlayerData(player::PlayerData& d, const std::string& folder) {
    d = player::PlayerData{};
    d.folder = folder;
    for (int i = 0; i < player::kMaxPlayers; ++i) {
        const std::string name = "Player " + std::to_string(i + 1);
        player::createPlayer(d, name);
    }
    for (auto& mode : d.records)
        for (int level = 0; level < player::kLevelCount; ++level) {
            mode[level].score = 1000 * level;
            mode[level].timeMs = 60000 + level;
            mode[level].moves = 40 + level;
        }
    for (auto& table : d.hiscores)
        for (int rank = 0; rank < player::kHiscoreRanks; ++rank) table[rank].score = 100000 - rank;
}

void BM_SaveAllPlayerData(benchmark::State& state) {
    ScratchFolder folder;
    if (folder.path.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    player::PlayerData d;
    fillPlayerData(d, folder.path.string());
    for (auto _ : state) {
        if (!player::saveAllPlayerData(d)) {
            state.SkipWithError("saving failed");
            return;
        }
    }
}
BENCHMARK(BM_SaveAllPlayerData)->Unit(benchmark::kMillisecond);

void BM_LoadAllPlayerData(benchmark::State& state) {
    ScratchFolder folder;
    if (folder.path.empty()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    player::PlayerData written;
    fillPlayerData(written, folder.path.string());
    if (!player::saveAllPlayerData(written)) {
        state.SkipWithError("saving failed");
        return;
    }
    player::PlayerData d;
    for (auto _ : state) {
        d = player::PlayerData{};
        d.folder = folder.path.string();
        player::readSettings(d);
        player::loadPlayerFiles(d);
        benchmark::DoNotOptimize(d.count);
    }
    if (d.count != player::kMaxPlayers) state.SkipWithError("the players did not load back");
}
BENCHMARK(BM_LoadAllPlayerData)->Unit(benchmark::kMicrosecond);

}  // namespace
