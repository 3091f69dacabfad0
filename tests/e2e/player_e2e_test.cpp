// Player data through the real executable: the files appear on the first
// save, a second run plays as the stored player and a won level moves that
// player on, on disk; and a game killed at any moment while it saves leaves
// every file whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "e2e/run_game.h"
#include "player/player_data.h"

namespace tessaly::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kData = TESSALY_DATA_DIR;

double number(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

// The player data of a folder as the game reads it at start-up.
player::PlayerData loadFolder(const std::string& folder) {
    player::PlayerData d;
    d.folder = folder;
    player::readSettings(d);
    player::loadPlayerFiles(d);
    return d;
}

// Files that hold a damaged file kept beside: there must be none.
std::vector<std::string> damagedCopies(const std::string& folder) {
    std::vector<std::string> bad;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".bad") bad.push_back(entry.path().filename().string());
    return bad;
}

TEST(PlayerE2e, FilesAppearOnTheFirstSaveAndTheStoredPlayerPlaysOn) {
    if (!fs::exists(kData + "/texts.dat")) GTEST_SKIP() << "no data set";
    const TestFolder dir("players");
    const std::string user = dir.path() + "/user";

    // A first run creates the folder and every file at its exit.
    GameRun run = runGame({"--data", kData, "--windowed", "--fixed-step", "16", "--frames", "5", "--user-dir", user},
                          dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* file : {"settings.dat", "profiles.dat", "records.dat", "hiscore.dat", "mode3.dat", "surrecs.dat"})
        EXPECT_TRUE(fs::exists(user + "/" + file)) << file;
    EXPECT_EQ(fs::file_size(user + "/settings.dat"), 48u);
    EXPECT_EQ(fs::status(user).permissions() & fs::perms::all, fs::perms::owner_all);

    // A player of our own, and a windowed setting that --windowed must not
    // change.
    player::PlayerData d = loadFolder(user);
    ASSERT_TRUE(player::createPlayer(d, "ANNA"));
    d.settings.musicVolume = 33;
    player::setCurrentLevelNumber(d.profiles[0], 0, 2);
    d.records[0][2] = {};  // no record yet: the first finish takes them all
    ASSERT_TRUE(player::saveAllPlayerData(d));

    // Play level 2 as that player until it is won.
    const std::string dump = dir.path() + "/state.json";
    run = runGame({"--data", kData, "--windowed", "--fixed-step", "50", "--seed", "13", "--level", "2", "--mode", "0",
                   "--autoplay", "--frames", "1500", "--user-dir", user, "--dump-state", dump},
                  dir.path(), 300);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string state = readText(dump);
    EXPECT_NE(state.find("\"name\":\"ANNA\""), std::string::npos);
    EXPECT_EQ(number(state, "musicVolume"), 33);
    EXPECT_NE(state.find("\"folder\":\"" + user + "\""), std::string::npos);

    const player::PlayerData after = loadFolder(user);
    ASSERT_EQ(after.count, 1);
    EXPECT_GT(player::progress(after.profiles[0], 0), 2) << "a won level moved the player on";
    EXPECT_GT(after.profiles[0].score[0], 0);
    EXPECT_STREQ(after.records[0][2].scoreHolder, "ANNA");
    EXPECT_STREQ(after.records[0][2].movesHolder, "ANNA");
    EXPECT_GT(after.records[0][2].timeMs, 0);
    EXPECT_EQ(after.settings.fullscreen, 1) << "--windowed is for one run only";
    EXPECT_TRUE(damagedCopies(user).empty());
}

TEST(PlayerE2e, AGameKilledWhileSavingLeavesEveryFileWhole) {
    if (!fs::exists(kData + "/texts.dat")) GTEST_SKIP() << "no data set";
    const TestFolder dir("kill");
    const std::string user = dir.path() + "/user";
    {
        player::PlayerData d = loadFolder(user);  // defaults: no files yet
        ASSERT_TRUE(player::createPlayer(d, "KILL"));
        ASSERT_TRUE(player::saveAllPlayerData(d));
    }
    // The game plays on its own and saves everything after every frame; it is
    // killed at random moments, two copies at a time with folders of their own.
    std::mt19937 random(20261210);
    constexpr int kKills = 100;
    for (int round = 0; round < kKills; round += 2) {
        pid_t pids[2];
        std::string users[2], runs[2];
        for (int k = 0; k < 2; ++k) {
            users[k] = user + std::to_string(k);
            runs[k] = dir.path() + "/run" + std::to_string(k);
            fs::create_directories(runs[k]);
            if (round == 0) fs::copy(user, users[k], fs::copy_options::recursive);
            pids[k] = startGame({"--data", kData, "--windowed", "--fixed-step", "50", "--seed", std::to_string(round + k),
                                 "--level", "3", "--mode", std::to_string(k), "--autoplay", "--save-each-frame",
                                 "--user-dir", users[k]},
                                runs[k]);
        }
        // Start-up takes a few hundred milliseconds; the kills fall in and
        // after it, among the saves.
        std::this_thread::sleep_for(std::chrono::milliseconds(250 + random() % 700));
        for (pid_t pid : pids) ::kill(pid, SIGKILL);
        for (pid_t pid : pids) waitpid(pid, nullptr, 0);
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE("kill " + std::to_string(round + k));
            const player::PlayerData d = loadFolder(users[k]);
            ASSERT_EQ(d.count, 1) << "the player is never lost";
            EXPECT_STREQ(d.profiles[0].name, "KILL");
            EXPECT_GE(d.profiles[0].score[k], 0);
            const std::vector<std::string> bad = damagedCopies(users[k]);
            ASSERT_TRUE(bad.empty()) << "a file was found damaged: " << bad.front();
            for (const auto& [file, size] : std::vector<std::pair<const char*, size_t>>{
                     {"settings.dat", 48}, {"profiles.dat", 156}, {"records.dat", 20160},
                     {"hiscore.dat", 1080}, {"mode3.dat", 7560}, {"surrecs.dat", 13440}})
                EXPECT_EQ(fs::file_size(users[k] + "/" + file), size) << file;
        }
    }
}

}  // namespace
}  // namespace tessaly::e2e
