// The menus through the real executable, driven by scripted input as a
// person would: the first run from the title to a saved game and back, an
// option that outlives a restart, a lost game ending on the hiscore table,
// the first run by mouse clicks, and the built-in player going through the
// menus from the title.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "player/player_data.h"

namespace tessaly::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kData = TESSALY_DATA_DIR;

// Virtual-key numbers of the scripts.
constexpr int kEnter = 13, kEscape = 27, kDown = 40;

struct Script {
    std::string text;
    int frame = 0;
    // Events `gap` frames apart from the last one.
    Script& key(int k, int gap = 4) {
        frame += gap;
        text += std::to_string(frame) + " key " + std::to_string(k) + "\n";
        return *this;
    }
    Script& type(const char* letters) {
        for (const char* c = letters; *c; ++c) key(*c, 3);
        return *this;
    }
    Script& click(float x, float y, int gap = 4) {
        frame += gap;
        const std::string f = std::to_string(frame);
        text += f + " move " + std::to_string(x) + " " + std::to_string(y) + "\n";
        text += std::to_string(frame + 1) + " left-down\n" + std::to_string(frame + 1) + " left-up\n";
        ++frame;
        return *this;
    }
    // Lets the screens' fades (300 ms each way) and the title's finish.
    Script& wait(int frames) {
        frame += frames;
        return *this;
    }
};

constexpr int kFade = 45;  // frames of 16 ms: a fade-out and the fade-in after it

struct MenuRun {
    GameRun run;
    std::string dump;
};

MenuRun play(const std::string& folder, const std::string& user, const Script& script, int frames,
         std::vector<std::string> extra = {}) {
    const std::string input = folder + "/input.txt", dump = folder + "/state.json";
    std::ofstream(input) << script.text;
    std::vector<std::string> args = {"--data", kData, "--windowed", "--fixed-step", "16", "--seed", "3",
                                     "--frames", std::to_string(frames), "--user-dir", user,
                                     "--input", input, "--dump-state", dump};
    args.insert(args.end(), extra.begin(), extra.end());
    MenuRun r;
    r.run = runGame(args, folder, 300);
    r.dump = readText(dump);
    return r;
}

std::string menu(const MenuRun& r) { return jsonObject(r.dump, "menu"); }
std::string game(const MenuRun& r) { return jsonObject(r.dump, "game"); }

player::PlayerData loadFolder(const std::string& folder) {
    player::PlayerData d;
    d.folder = folder;
    player::readSettings(d);
    player::loadPlayerFiles(d);
    return d;
}

// The title, then the first run's name entry with a name typed and OK.
Script firstRun(const char* name) {
    Script s;
    s.wait(60).key(kEnter).wait(70).type(name).key(kEnter).wait(kFade + 20);
    return s;
}

bool dataSet() { return fs::exists(kData + "/texts.dat"); }

TEST(MenusE2e, FirstRunToASavedGameAndBackRestoresTheBoard) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("menus-save");
    const std::string user = dir.path() + "/user";

    // Title, "ANNA", Classic, start, the help, two clicks that move a ball,
    // Escape, "Main menu" (the fifth item): the game is saved.
    Script s = firstRun("ANNA");
    s.key(kEnter).wait(kFade + 20);           // Classic
    s.key(kEnter).wait(kFade + 40);           // start: the help opens over the first level
    s.key(kEnter).wait(kFade + 20);           // its OK
    s.click(40, 120).wait(10).click(-160, 120).wait(60);
    s.key(kEscape).wait(kFade);
    for (int i = 0; i < 4; ++i) s.key(kDown, 2);
    s.key(kEnter).wait(kFade + 20);           // "main": saved, and the message says so
    const MenuRun first = play(dir.path(), user, s, s.frame);
    ASSERT_EQ(first.run.exitCode, 0) << first.run.err;
    EXPECT_EQ(jsonText(menu(first), "screen"), "messageboxok");
    EXPECT_TRUE(fs::exists(user + "/ANNA_0.sav"));
    const double moves = jsonNumber(game(first), "moves");
    EXPECT_GE(moves, 1) << "the scripted move was made";

    // A second run: Classic again asks about the saved game; yes restores it.
    Script t;
    t.wait(60).key(kEnter).wait(70 + kFade);  // title into "main"
    t.key(kEnter).wait(kFade + 20);           // Classic: "loadgamequest"
    const MenuRun asked = play(dir.path(), user, t, t.frame);
    ASSERT_EQ(asked.run.exitCode, 0) << asked.run.err;
    EXPECT_EQ(jsonText(menu(asked), "screen"), "loadgamequest");
    t.key(kEnter).wait(kFade + 20);           // yes
    const MenuRun second = play(dir.path(), user, t, t.frame);
    ASSERT_EQ(second.run.exitCode, 0) << second.run.err;
    EXPECT_EQ(jsonText(menu(second), "screen"), "");
    for (const char* field : {"pieces", "floors", "pending"}) {
        const std::string key = std::string("\"") + field + "\":[";
        const std::string a = game(first), b = game(second);
        const size_t x = a.find(key), y = b.find(key);
        ASSERT_NE(x, std::string::npos);
        ASSERT_NE(y, std::string::npos);
        EXPECT_EQ(a.substr(x, a.find(']', x) - x), b.substr(y, b.find(']', y) - y)) << field;
    }
    EXPECT_EQ(jsonNumber(game(second), "moves"), moves);
    EXPECT_EQ(jsonNumber(game(second), "levelIndex"), jsonNumber(game(first), "levelIndex"));
}

TEST(MenusE2e, AnOptionChangedInTheMenusOutlivesARestart) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("menus-options");
    const std::string user = dir.path() + "/user";
    Script s = firstRun("BEA");
    for (int i = 0; i < 3; ++i) s.key(kDown, 2);
    s.key(kEnter).wait(kFade + 20);  // options
    // The music slider runs from x -80 to 80 at y 55: each click in its
    // left arrow zone steps it down by one.
    s.click(-120, 55).wait(6).click(-120, 55).wait(6);
    s.key(kEscape).wait(kFade + 10);  // leaving the options saves them
    const MenuRun r = play(dir.path(), user, s, s.frame);
    ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
    EXPECT_EQ(jsonText(menu(r), "screen"), "main");
    const player::PlayerData d = loadFolder(user);
    EXPECT_EQ(d.settings.musicVolume, 88) << "two steps down from 90";

    // A restart reads the changed value.
    Script again;
    const MenuRun restarted = play(dir.path(), user, again.wait(5), 5);
    ASSERT_EQ(restarted.run.exitCode, 0) << restarted.run.err;
    EXPECT_EQ(jsonNumber(jsonObject(restarted.dump, "settings"), "musicVolume"), 88);
}

TEST(MenusE2e, ALostGameEndsOnTheHiscoreTableWithThePlayersEntry) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("menus-lost");
    const std::string user = dir.path() + "/user";
    {
        // A player on the last life with a score that makes the table.
        player::PlayerData d;
        d.folder = user;
        player::readSettings(d);
        player::loadPlayerFiles(d);
        ASSERT_TRUE(player::createPlayer(d, "CARL"));
        d.profiles[0].lives[0] = 0;
        d.profiles[0].score[0] = 987654;
        d.profiles[0].showHelp[0] = 0;
        d.profiles[0].mode = 0;
        // A late level: many colours, so the arriving balls seldom make lines.
        d.profiles[0].stage[0] = d.profiles[0].bestStage[0] = 12;
        ASSERT_TRUE(player::saveAllPlayerData(d));
    }
    Script s;
    s.wait(60).key(kEnter).wait(70 + kFade);  // title into "main"
    s.key(kEnter).wait(kFade + 20);           // Classic
    s.key(kEnter).wait(kFade + 60);           // start
    s.type("PKVWZQXJ");                       // the cheat keys
    for (int i = 0; i < 600; ++i) s.key('X', 2);  // a ball arrives each time, until the board is full
    s.wait(500);                              // the defeat sequence runs out
    const MenuRun r = play(dir.path(), user, s, s.frame);
    ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
    EXPECT_EQ(jsonText(menu(r), "screen"), "hiscore");
    EXPECT_EQ(jsonNumber(menu(r), "shownTable"), 0);
    const player::PlayerData d = loadFolder(user);
    bool listed = false;
    for (const player::HiscoreEntry& e : d.hiscores[0]) listed |= std::strcmp(e.name, "CARL") == 0 && e.score >= 987654;
    EXPECT_TRUE(listed) << "the lost game's score is in the classic table";
}

TEST(MenusE2e, TheFirstRunWorksWithTheMouseAtTheDrawnPositions) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("menus-mouse");
    const std::string user = dir.path() + "/user";
    Script s;
    s.wait(60).click(0, 0).wait(70).type("DORA");
    s.click(0, -80).wait(kFade + 20);    // the name entry's OK button
    // "main": its panel is centred at (240, 100); the first of the three
    // modes sits 0.24 of the panel's height above the middle.
    const float panelHeight = 36.0f * 8 + 128;
    // Its first baseline is 36 above that, the item's box 21.6 above and
    // 14.4 below the baseline.
    s.click(240, 100 + 0.24f * panelHeight + 36 + 3).wait(kFade + 20);
    const MenuRun onMode = play(dir.path(), user, s, s.frame);
    ASSERT_EQ(onMode.run.exitCode, 0) << onMode.run.err;
    EXPECT_EQ(jsonText(menu(onMode), "screen"), "mode1");
    s.click(300, -250).wait(kFade + 40);  // the mode screen's start button
    const MenuRun playing = play(dir.path(), user, s, s.frame);
    ASSERT_EQ(playing.run.exitCode, 0) << playing.run.err;
    EXPECT_EQ(jsonText(playing.dump, "screen"), "game");  // the dump opens with the current screen
    EXPECT_EQ(jsonText(menu(playing), "screen"), "helpscreen") << "the first level of a mode explains it first";
}

// The level map as a new player sees it, then with every level open, a
// double click on level 3 that starts it, and the help over its first play.
TEST(MenusE2e, TheLevelMapOpensLevelsAndADoubleClickStartsOne) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("menus-map");  // kept when the test fails, with its screenshots
    const std::string user = dir.path() + "/user";
    Script s = firstRun("DORA");
    s.key(kEnter).wait(kFade + 40);  // Classic: the map
    const int freshFrame = s.frame;
    const MenuRun fresh = play(dir.path(), user, s, freshFrame,
                               {"--screenshot", std::to_string(freshFrame) + ":" + dir.path() + "/fresh.png"});
    ASSERT_EQ(fresh.run.exitCode, 0) << fresh.run.err;
    const std::string map = jsonObject(menu(fresh), "map");
    ASSERT_EQ(jsonText(menu(fresh), "screen"), "mode1");
    EXPECT_GT(jsonNumber(map, "pathPoints"), 100);
    EXPECT_EQ(jsonNumber(menu(fresh), "selectedEntry"), 0);
    EXPECT_NE(map.find("\"previewLoaded\":true"), std::string::npos);
    const float x0 = float(jsonArrayNumber(map, "markX", 0)), y0 = float(jsonArrayNumber(map, "markY", 0));
    const float x2 = float(jsonArrayNumber(map, "markX", 2)), y2 = float(jsonArrayNumber(map, "markY", 2));
    ASSERT_FALSE(std::isnan(x2) || std::isnan(y2));

    // The selected first level's mark is red to green, with no blue; a locked
    // one keeps the painted path's warm pale colour.
    const Screenshot shot = readScreenshot(dir.path() + "/fresh.png");
    ASSERT_EQ(shot.width, 800);
    const uint8_t* first = shot.at(int(x0 + 400), int(300 - y0));
    EXPECT_LT(first[2], 90) << int(first[0]) << "," << int(first[1]) << "," << int(first[2]);
    EXPECT_GT(first[0] + first[1], 200);

    // Every level opened by the typed code (its letters are matched newest
    // first); a double click on level 3.
    s.type("JXVWQZ").wait(10);
    const int openFrame = s.frame;
    s.frame += 4;
    s.text += std::to_string(s.frame) + " move " + std::to_string(x2) + " " + std::to_string(y2) + "\n";
    s.text += std::to_string(s.frame + 1) + " left-down\n" + std::to_string(s.frame + 1) + " left-up\n";
    s.text += std::to_string(s.frame + 1) + " double-click\n" + std::to_string(s.frame + 1) + " left-up\n";
    s.wait(kFade + 120);
    const int helpFrame = s.frame;
    // The same first run again, in a player folder of its own.
    const MenuRun started =
        play(dir.path(), user + "-open", s, helpFrame,
             {"--screenshot", std::to_string(openFrame) + ":" + dir.path() + "/open.png", "--screenshot",
              std::to_string(helpFrame) + ":" + dir.path() + "/help.png"});
    ASSERT_EQ(started.run.exitCode, 0) << started.run.err;
    EXPECT_EQ(jsonNumber(game(started), "levelIndex"), 2);
    EXPECT_EQ(jsonText(menu(started), "screen"), "helpscreen") << "the mode's first level explains it first";
    const std::string help = jsonObject(menu(started), "help");
    EXPECT_NE(help.find("\"active\":true"), std::string::npos);
    EXPECT_GT(jsonNumber(help, "phase"), 0) << "mid-demonstration";
    // With every level open, level 3's mark is open (opaque, warm) rather
    // than pale.
    const Screenshot open = readScreenshot(dir.path() + "/open.png");
    ASSERT_EQ(open.width, 800);
    const uint8_t* third = open.at(int(x2 + 400), int(300 - y2));
    const uint8_t* third0 = shot.at(int(x2 + 400), int(300 - y2));
    EXPECT_NE(int(third[0]) * 65536 + third[1] * 256 + third[2], int(third0[0]) * 65536 + third0[1] * 256 + third0[2]);
}

TEST(MenusE2e, TheBuiltInPlayerStartsFromTheTitleAndGoesThroughTheMenus) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("menus-autoplay");
    const std::string dump = dir.path() + "/state.json";
    const GameRun run = runGame({"--data", kData, "--windowed", "--fixed-step", "50", "--seed", "13", "--autoplay",
                                 "--frames", "2400", "--user-dir", dir.path() + "/user", "--dump-state", dump},
                                dir.path(), 600);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string state = readText(dump);
    const std::string a = jsonObject(state, "autoplay");
    EXPECT_EQ(jsonNumber(a, "problems"), 0) << jsonText(a, "firstProblem");
    EXPECT_GE(jsonNumber(a, "levelsWon") + jsonNumber(a, "levelsLost"), 2) << "several levels";
    EXPECT_GT(jsonNumber(a, "moves"), 40);
    EXPECT_EQ(jsonNumber(jsonObject(state, "lookups"), "total"), 0)
        << jsonText(jsonObject(state, "lookups"), "last_texts");
    EXPECT_EQ(jsonNumber(jsonObject(state, "pools"), "droppedTotal"), 0);
    const player::PlayerData d = loadFolder(dir.path() + "/user");
    ASSERT_EQ(d.count, 1);
    EXPECT_STREQ(d.profiles[0].name, "AUTO");
}

}  // namespace
}  // namespace tessaly::e2e
