// The screen flow on the real menu data: what each item activates, what
// "yes" does by the screen that asked, where Escape leads and what a screen
// does as it opens, with one player in memory and play on the real levels.
#include "menus/menu_flow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "data/registry.h"
#include "fx/scene.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "menus/help_demo.h"
#include "menus/level_map.h"
#include "menus/menu_runtime.h"
#include "gfx/draw.h"
#include "game/game_state.h"
#include "platform/keys.h"
#include "player/player_data.h"
#include "player/profile_seat.h"
#include "shell/app.h"
#include "sound/sound.h"
#include "support/test_support.h"

namespace tessaly::menus {
namespace {

// Where the flow sent the program.
struct ShellLog {
    bool playing = false;
    bool quit = false;
    int fullscreenApplied = -1;
};
ShellLog g_log;

class MenuFlow : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        data::g_registry.dataFolder = TESSALY_DATA_DIR;
        shell::loadResources(true, 1);
        g_log = {};
        g_menuShell = {};
        g_menuShell.showMenuScreen = [] { g_log.playing = false; };
        g_menuShell.showGameScreen = [] { g_log.playing = true; };
        g_menuShell.gameScreenCurrent = [] { return g_log.playing; };
        g_menuShell.quit = [] { g_log.quit = true; };
        g_menuShell.applyFullscreen = [](bool on) { g_log.fullscreenApplied = on; };
        player::g_playerData = player::PlayerData{};
        ASSERT_TRUE(player::createPlayer(player::g_playerData, "ANNA"));
        player::installPlayerSeat();
        profile().mode = 0;
        profile().showHelp[0] = 0;
        resetMenus();
    }
    void TearDown() override {
        g_menuShell = {};
        player::g_playerData = player::PlayerData{};
        player::installPlayerSeat();
        sound::shutdownSound();
        NullDeviceTest::TearDown();
    }

    static player::ProfileRecord& profile() { return *player::currentProfile(player::g_playerData); }

    void frames(int n) {
        for (int i = 0; i < n; ++i) stepMenus(16);
    }
    // Shows a screen as the flow would (fully faded in).
    void show(const char* screen) {
        g_menu.fadingIn = g_menu.fadingOut = false;
        openScreen(screen);
        ASSERT_NE(g_menu.current, nullptr) << screen;
        frames(25);
    }
    // Enter on an item of the current screen, and the fades that follow.
    void choose(const char* item) {
        ASSERT_NE(g_menu.current, nullptr);
        const int index = childIndex(*g_menu.current, item);
        ASSERT_GE(index, 0) << item << " on " << g_menu.current->name;
        g_menu.highlighted = g_menu.previousHighlighted = index;
        menuKeyDown(platform::VkEnter);
        frames(45);
    }
    void escape() {
        menuKeyDown(platform::VkEscape);
        frames(45);
    }
    static std::string screen() { return g_menu.current ? g_menu.current->name : "(play)"; }
    static void playLevel(int level) {
        g_log.playing = true;
        ASSERT_TRUE(game::startPlay(game::Mode::Classic, level));
    }
};

TEST_F(MenuFlow, ItemsOfTheMenusOpenTheirScreens) {
    struct Case {
        const char* screen;
        const char* item;
        std::function<void()> before;
        const char* next;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"main", "mode2", [] {}, "mode2", [] { EXPECT_EQ(profile().mode, 1); }},
        {"main", "mode1", [] { profile().savedGame[0] = 1; }, "loadgamequest", [] {}},
        {"main", "options", [] {}, "options", [] { EXPECT_EQ(g_menu.pendingFullscreen, player::g_playerData.settings.fullscreen); }},
        {"main", "hiscore", [] { profile().mode = 2; }, "hiscore", [] { EXPECT_EQ(g_menu.shownTable, 2); }},
        {"main", "credits", [] {}, "credits", [] { EXPECT_EQ(g_menu.backgroundView, 4); }},
        {"main", "exit", [] {}, "messageboxyn", [] { EXPECT_STREQ(g_menu.message, menuText("quit")); }},
        {"loadgamequest", "no", [] { profile().savedGame[0] = 1; }, "mode1",
         [] { EXPECT_EQ(profile().savedGame[0], 0); }},
        {"profiles", "newprofile", [] {}, "newprofile", [] { EXPECT_TRUE(g_menu.textEntry); }},
        {"profiles", "rename", [] { g_menu.hoveredWidget = 0; }, "rename",
         [] { EXPECT_STREQ(g_menu.edit, "ANNA"); }},
        {"profiles", "remove", [] {}, "messageboxyn", [] { EXPECT_STREQ(g_menu.message, menuText("removeplayer")); }},
        {"options", "apply", [] { g_menu.pendingFullscreen = 1; }, "main",
         [] { EXPECT_EQ(g_log.fullscreenApplied, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.screen) + " / " + c.item);
        resetMenus();
        profile() = player::ProfileRecord{};
        std::strcpy(profile().name, "ANNA");
        profile().mode = 0;
        show("main");
        if (std::string_view(c.screen) != "main") show(c.screen);
        if (findNode(c.screen)->parent == nullptr) findNode(c.screen)->parent = findNode("main");
        c.before();
        choose(c.item);
        EXPECT_EQ(screen(), c.next);
        c.check();
    }
}

TEST_F(MenuFlow, ModeScreenStartsTheCurrentLevelOrAsksBeforeAnother) {
    player::setCurrentLevelNumber(profile(), 0, 3);
    show("mode1");
    EXPECT_EQ(g_menu.selectedEntry, 3);
    EXPECT_EQ(g_menu.backgroundView, 1);
    choose("start");
    EXPECT_TRUE(g_log.playing);
    EXPECT_EQ(screen(), "(play)");
    EXPECT_EQ(game::g_game.levelIndex, 3);

    // Another level with points in the mode: "zeroscore" first; yes starts
    // it with no points.
    g_log.playing = false;
    profile().score[0] = 500;
    show("mode1");
    g_menu.selectedEntry = 1;
    choose("start");
    ASSERT_EQ(screen(), "messageboxyn");
    EXPECT_STREQ(g_menu.message, menuText("zeroscore"));
    choose("yes");
    EXPECT_TRUE(g_log.playing);
    EXPECT_EQ(game::g_game.levelIndex, 1);
    EXPECT_EQ(profile().score[0], 0);
}

TEST_F(MenuFlow, TheInGameMenuResumesRestartsAndSaves) {
    playLevel(0);
    game::g_playHost.openScreen("gameplay");
    frames(25);
    ASSERT_EQ(screen(), "gameplay");
    choose("resume game");
    EXPECT_EQ(screen(), "(play)");

    // Restart with lives left: asked, then one life less and the level anew.
    game::g_playHost.openScreen("gameplay");
    frames(25);
    choose("restart level");
    ASSERT_EQ(screen(), "messageboxyn");
    EXPECT_STREQ(g_menu.message, menuText("restartquest"));
    choose("yes");
    EXPECT_EQ(screen(), "(play)");
    EXPECT_EQ(profile().lives[0], 2);

    // Without lives the question is a plain message.
    profile().lives[0] = 0;
    game::g_playHost.openScreen("gameplay");
    frames(25);
    choose("restart level");
    EXPECT_EQ(screen(), "messageboxok");
    EXPECT_STREQ(g_menu.message, menuText("nomorelives"));
    escape();  // the one-button box ignores Escape
    EXPECT_EQ(screen(), "messageboxok");

    // Escape on "gameplay" resumes play.
    game::g_playHost.openScreen("gameplay");
    frames(25);
    escape();
    EXPECT_EQ(screen(), "(play)");
}

TEST_F(MenuFlow, MainFromPlaySavesAMovedGameAndSaysSo) {
    player::g_playerData.folder = (m_folder.path() / "user").string();
    playLevel(0);
    game::g_game.movesMade = 1;
    game::g_playHost.openScreen("gameplay");
    frames(25);
    choose("main");
    ASSERT_EQ(screen(), "messageboxok");
    EXPECT_STREQ(g_menu.message, menuText("savemsg"));
    EXPECT_EQ(profile().savedGame[0], 1);
    choose("ok");
    EXPECT_FALSE(g_log.playing);
    EXPECT_EQ(screen(), "main");
}

TEST_F(MenuFlow, DefeatRestartsSkipsWithAQuestionOrLeaves) {
    playLevel(2);
    player::setCurrentLevelNumber(profile(), 0, 2);
    game::g_playHost.openScreen("defeat");
    frames(25);
    ASSERT_EQ(screen(), "defeat");
    escape();  // ignored: the items must be used
    EXPECT_EQ(screen(), "defeat");
    choose("skip level");
    ASSERT_EQ(screen(), "messageboxyn");
    EXPECT_STREQ(g_menu.message, menuText("skipquest"));
    choose("yes");
    EXPECT_EQ(screen(), "(play)");
    EXPECT_EQ(profile().lives[0], 2);
    EXPECT_EQ(player::currentLevelNumber(profile(), 0), 3);
    EXPECT_EQ(game::g_game.levelIndex, 3);

    profile().lives[0] = 0;
    game::g_playHost.openScreen("defeat");
    frames(25);
    choose("skip level");
    ASSERT_EQ(screen(), "messageboxok");
    EXPECT_STREQ(g_menu.message, menuText("noskiplevel"));
    choose("ok");
    EXPECT_EQ(screen(), "defeat");
    choose("main");
    EXPECT_FALSE(g_log.playing);
    EXPECT_EQ(screen(), "main");
}

TEST_F(MenuFlow, AWonLevelReturnsToTheModeScreenAndALostGameToTheTable) {
    playLevel(0);
    game::g_playHost.openScreen("levelcomplete");
    frames(25);
    menuKeyDown(platform::VkEnter);  // finishes the count
    frames(10);
    choose("oknextlevel");
    EXPECT_FALSE(g_log.playing);
    EXPECT_EQ(screen(), "mode1");
    EXPECT_EQ(g_menu.backgroundView, 1);

    // The last life lost: the hiscore table with the player's score.
    playLevel(0);
    profile().score[0] = 999999;
    game::g_playHost.openScreen("hiscore");
    frames(25);
    EXPECT_EQ(screen(), "hiscore");
    EXPECT_STREQ(player::g_playerData.hiscores[0][0].name, "ANNA");
    choose("back");
    EXPECT_FALSE(g_log.playing);
    EXPECT_EQ(screen(), "main");
}

TEST_F(MenuFlow, GoingOnFromAFinishedStageChangesTheLandBehindTheBoard) {
    playLevel(4);
    EXPECT_EQ(fx::g_scene.current.index, 1);  // the level's land, chosen as it started
    EXPECT_GT(fx::g_scene.current.count, 0);
    // The stage's last level finished: progress is on the next stage.
    game::g_game.stageCompleted = true;
    game::g_playHost.player().setCurrentLevel(0, 5);
    game::g_playHost.openScreen("levelcomplete");
    frames(25);
    menuKeyDown(platform::VkEnter);  // finishes the count
    frames(10);
    choose("oknextlevel");
    EXPECT_EQ(screen(), "(play)");
    EXPECT_TRUE(fx::g_scene.changePending);
    EXPECT_EQ(fx::g_scene.pendingIndex, 2);
    // The end of the frame starts it; the old land shakes on meanwhile.
    fx::startBackdropChange();
    EXPECT_TRUE(fx::g_scene.changing());
    EXPECT_EQ(fx::g_scene.current.index, 1);
    EXPECT_EQ(fx::g_scene.next.index, 2);
    ASSERT_NE(fx::g_scene.next.backdrop, nullptr);
    for (int i = 0; i < 400; ++i) fx::stepScene(16, float(i) * 16);
    EXPECT_FALSE(fx::g_scene.changing());
    EXPECT_EQ(fx::g_scene.current.index, 2);
}

TEST_F(MenuFlow, PlayersAreCreatedSelectedAndRemoved) {
    show("newprofile");
    std::strcpy(g_menu.edit, "ANNA");  // taken: the entry opens again
    choose("oknewprofile");
    EXPECT_EQ(screen(), "newprofile");
    EXPECT_EQ(player::g_playerData.count, 1);
    std::strcpy(g_menu.edit, "BEN");
    choose("oknewprofile");
    EXPECT_EQ(screen(), "main");
    ASSERT_EQ(player::g_playerData.count, 2);
    EXPECT_STREQ(profile().name, "BEN");

    show("profiles");
    g_menu.hoveredWidget = 0;
    choose("selectprofile");
    EXPECT_EQ(screen(), "main");
    EXPECT_STREQ(profile().name, "ANNA");

    // Removing players: the last one leads to the name entry.
    for (int left = 2; left > 0; --left) {
        show("profiles");
        g_menu.hoveredWidget = 0;
        choose("remove");
        choose("yes");
    }
    EXPECT_EQ(player::g_playerData.count, 0);
    EXPECT_EQ(screen(), "newprofile");
}

TEST_F(MenuFlow, ExitAsksAndYesEndsTheProgram) {
    show("main");
    choose("exit");
    choose("no");
    EXPECT_EQ(screen(), "main");
    EXPECT_FALSE(g_log.quit);
    choose("exit");
    choose("yes");
    EXPECT_TRUE(g_log.quit);
}


// The map's marks on the real path: on screen, a locked one ignores the
// pointer, a double click on an open one starts that level.
TEST_F(MenuFlow, TheMapMarksSelectOpenLevelsAndADoubleClickStartsOne) {
    for (const base::Vec2 p : g_levelMap.marks) {
        EXPECT_LT(std::fabs(p.x), 400.0f);
        EXPECT_LT(std::fabs(p.y), 300.0f);
    }
    for (const base::Vec2 p : g_levelMap.artefacts) {
        EXPECT_LT(std::fabs(p.x), 400.0f);
        EXPECT_LT(std::fabs(p.y), 300.0f);
    }
    auto at = [](int level) {
        const base::Vec2 p = g_levelMap.marks[size_t(level)];
        gfx::worldToScreenCursor(p.x, p.y);
        menuPointerMoved();
    };
    show("mode1");
    ASSERT_EQ(g_menu.widgetCount, kMapLevels + 0) << "a mark widget per level";
    EXPECT_EQ(g_menu.selectedEntry, 0);
    at(5);  // locked for a new player
    menuButtonDown();
    frames(2);
    EXPECT_EQ(g_menu.selectedEntry, 0);

    player::setCurrentLevelNumber(profile(), 0, 0);
    g_allLevelsOpen = true;
    at(2);
    menuButtonDown();
    frames(2);
    EXPECT_EQ(g_menu.selectedEntry, 2);
    const MapView view = currentMapView(0);
    EXPECT_TRUE(view.fullyOpen);
    EXPECT_EQ(view.selected, 2);
    menuDoubleClick();
    frames(45);
    g_allLevelsOpen = false;
    EXPECT_TRUE(g_log.playing);
    EXPECT_EQ(game::g_game.levelIndex, 2);
}

// The help screen plays the four boards in turn, each removing a line with
// the real rules; a new visit starts at the first board, colours going on.
TEST_F(MenuFlow, TheHelpScreenPlaysFourBoardsInTurnEachRemovingALine) {
    show("helpscreen");
    ASSERT_TRUE(helpDemoRunning());
    const int firstColours = g_helpDemo.colourOffset;
    int demos[6] = {}, seen = 0, lastDemo = -1;
    int removedIn[kHelpDemos] = {};
    for (float t = 0; t < 38000 + 16; t += 16) {
        if (g_helpDemo.demo != lastDemo) {
            lastDemo = g_helpDemo.demo;
            if (seen < 6) demos[seen++] = lastDemo;
        }
        frames(1);
        // A removal shows as popping pieces of the help board.
        removedIn[g_helpDemo.demo] += helpBoardPopping();
    }
    ASSERT_EQ(seen, 5);
    EXPECT_EQ(demos[0], 0);
    EXPECT_EQ(demos[1], 1);
    EXPECT_EQ(demos[2], 2);
    EXPECT_EQ(demos[3], 3);
    EXPECT_EQ(demos[4], 0);
    EXPECT_EQ(g_helpDemo.colourOffset, (firstColours + 4) % kHelpColourSets) << "a new colour set each run";
    for (int d = 0; d < kHelpDemos; ++d) EXPECT_GT(removedIn[d], 0) << "board " << d + 1 << " removed no line";

    // Leaving stops it; coming back starts at the first board with the
    // colours going on.
    escape();
    EXPECT_FALSE(helpDemoRunning());
    const int coloursLeft = g_helpDemo.colourOffset;
    show("helpscreen");
    EXPECT_EQ(g_helpDemo.demo, 0);
    EXPECT_EQ(g_helpDemo.phase, 0);
    EXPECT_EQ(g_helpDemo.colourOffset, coloursLeft);
}

// A tip's board makes its one move, skips to the last click and removes a line.
TEST_F(MenuFlow, EveryTipBoardRemovesALine) {
    for (int tip = 0; tip < kHelpDemos; ++tip) {
        SCOPED_TRACE(tip);
        startTipDemo(tip);
        int popping = 0;
        for (float t = 0; t < kHelpRunMs; t += 16) {
            stepHelpDemo(16);
            popping += helpBoardPopping();
        }
        EXPECT_GT(popping, 0);
        EXPECT_EQ(g_helpDemo.demo, tip) << "a tip keeps its own board";
        stopHelpDemo();
    }
}

}  // namespace
}  // namespace tessaly::menus
