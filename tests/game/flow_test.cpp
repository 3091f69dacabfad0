#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/flow.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/removal.h"
#include "game/spawn.h"
#include "game_test_support.h"
#include "sound/sound_system.h"
#include "support/test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::kindAt;
using testing::pointOf;
using testing::run;
using testing::setBoard;

// A 10 x 10 board (100 cells): plain, or with eight squares of
// 2 and four of 1 (20 layers), or with two chained balls on double squares.
std::string board10(const char* kind) {
    std::string g;
    for (int r = 0; r < 15; ++r) {
        std::string row(20, '.');
        if (r < 10)
            for (int c = 0; c < 10; ++c) row[size_t(c)] = '0';
        if (std::string(kind) == "squares" && r < 2) {
            for (int c = 0; c < 4; ++c) row[size_t(c)] = '2';
            row[5] = row[6] = '1';
        }
        if (std::string(kind) == "chains" && r == 9) row[0] = 'A', row[9] = 'B';
        g += row + "\r\n";
    }
    return g;
}

class Flow : public test::DataFolderTest {
protected:
    testing::GameFixture f;
    testing::SoundLog sounds;
    GameState& g = f.g();

    void writeLevel(int index, const std::string& keys, const std::string& grid) {
        std::string text;
        for (char c : keys) {
            if (c == '\n') text += '\r';
            text += c;
        }
        m_folder.write("levels/" + levelFileName(index), text + "level=\r\n" + grid);
    }
};

TEST(FlowTables, DerivedTimes) {
    struct Case {
        int index, downTime, hintDelay;
    };
    const Case cases[] = {{0, 2000, 6000},  {1, 2000, 6000},   {4, 2000, 9000},   {5, 2000, 13000},
                          {6, 1955, 13000}, {20, 1335, 20000}, {29, 937, 20000}, {30, 892, 25000},
                          {40, 450, 25000}, {69, 450, 25000}};
    for (const Case& c : cases) {
        EXPECT_EQ(actionLevelDownTimeMs(c.index), c.downTime) << c.index;
        EXPECT_EQ(idleHintDelayMs(c.index), c.hintDelay) << c.index;
    }
}

TEST_F(Flow, StartLevelDerivesTheLevelsParameters) {
    struct Case {
        const char* name;
        int index;
        Mode mode;
        std::string keys;
        const char* board;
        float barTotal;
        int colors, addBalls, downTime;
        bool squaresKept;
    };
    const Case cases[] = {
        {"Classic, no target, no squares", 0, Mode::Classic, "colors=4\naddballs=3\n", "plain", 40, 4, 3, 0, false},
        {"Classic, squares", 0, Mode::Classic, "colors=4\naddballs=3\n", "squares", 60, 4, 3, 0, false},
        {"Classic, its own target", 5, Mode::Classic, "colors=4\nballs4destroy=55\n", "squares", 55, 4, 25, 0, false},
        {"Puzzle", 0, Mode::Puzzle, "colors=4\naddballs=3\nballs4destroy=55\n", "squares", 20, 4, 12, 0, true},
        {"Action, derived", 20, Mode::Action, "colors=5\naddballs=3\n", "squares", 100 * std::sqrt(21.0f), 7, 80,
         1335, false},
        {"Action, the file's drain", 20, Mode::Action, "colors=5\nleveldowntime=900\n", "plain",
         100 * std::sqrt(21.0f), 5, 80, 900, false},
        {"Action, colours capped", 3, Mode::Action, "colors=7\n", "plain", 200, 8, 60, 2000, false},
    };
    for (const Case& c : cases) {
        writeLevel(c.index, c.keys, board10(c.board));
        g.mode = c.mode;
        ASSERT_TRUE(startLevel(g, c.index)) << c.name;
        EXPECT_NEAR(g.barTotal, c.barTotal, 1e-4f) << c.name;
        EXPECT_FLOAT_EQ(g.barRemaining, g.barTotal) << c.name;
        EXPECT_EQ(g.level.colors, c.colors) << c.name;
        EXPECT_EQ(g.level.addBalls, c.addBalls) << c.name;
        EXPECT_EQ(g.level.levelDownTimeMs, c.downTime) << c.name;
        EXPECT_EQ(g.board.at(at(0, 0)).floor > 0, c.squaresKept && std::string(c.board) == "squares") << c.name;
        EXPECT_EQ(g.cellCount, 100) << c.name;
        EXPECT_EQ(g.levelIndex, c.index) << c.name;
        EXPECT_EQ(g.board.minLine, 3);
        EXPECT_FLOAT_EQ(g.board.at(at(5, 5)).scale, 0.0f) << c.name << ": the board fades in";
        EXPECT_TRUE(testing::boardInvariants(g)) << c.name;
    }
}

TEST_F(Flow, StartLevelResetsTheLevelStateAndFillsFromTheThirdLevel) {
    writeLevel(1, "colors=3\naddballs=2\n", board10("plain"));
    writeLevel(2, "colors=3\naddballs=2\n", board10("plain"));
    g.combo = 5;
    g.hammerCharge = 0.5f;
    g.completeTimer = -1;
    g.running = false;
    ASSERT_TRUE(startLevel(g, 1));
    EXPECT_EQ(g.combo, 0);
    EXPECT_FLOAT_EQ(g.hammerCharge, 0.0f);
    EXPECT_FLOAT_EQ(g.completeTimer, 0.0f);
    EXPECT_TRUE(g.running);
    EXPECT_EQ(countPieces(g.board), 0);
    EXPECT_EQ(f.host.scenes.back(), 1);
    EXPECT_EQ(sound::g_sound.music.requestedPosition, sound::tunePosition(1));

    ASSERT_TRUE(startLevel(g, 2));
    const int pieces = countPieces(g.board);
    EXPECT_GT(pieces, 20);
    EXPECT_LE(pieces, 50);
    EXPECT_EQ(g.board.freeCells, 100 - pieces);
    EXPECT_EQ(f.host.scenes.back(), 2);
    EXPECT_TRUE(testing::boardInvariants(g));

    // A level that can't be loaded leaves the game as it was.
    EXPECT_FALSE(startLevel(g, 30));
    EXPECT_EQ(g.levelIndex, 2);
    EXPECT_EQ(countPieces(g.board), pieces);
}

TEST_F(Flow, StartLevelShowsTheLevelsFirstTimeTips) {
    writeLevel(1, "colors=3\naddballs=2\n", board10("chains"));
    f.host.showHelpFlag = true;
    g.mode = Mode::Puzzle;
    ASSERT_TRUE(startLevel(g, 1));
    EXPECT_TRUE(f.host.sawTip("hammertip"));
    EXPECT_TRUE(f.host.sawTip("tipbusysquare2"));
    EXPECT_TRUE(f.host.sawTip("chainitemtip"));
    EXPECT_TRUE(f.host.sawTip("newballtip"));
    ASSERT_EQ(f.host.screens.size(), 1u);
    EXPECT_EQ(f.host.screens[0], "helpscreen");
    // Each at most once per profile.
    f.host.clearLog();
    ASSERT_TRUE(startLevel(g, 1));
    EXPECT_TRUE(f.host.tips.empty());
    EXPECT_TRUE(f.host.screens.empty());
}

TEST_F(Flow, ArrivingBallsThatFillTheLastCellStartTheDefeatNextFrame) {
    g.level.colors = 1;  // the arriving ball is an 'a' that completes a column
    setBoard(g, {"ab_", "cac", "dad"});
    f.host.livesLeft = 1;
    pressBoard(g, pointOf(1, 0));
    pressBoard(g, pointOf(2, 0));
    while (g.moveInFlight) stepGame(g, 10.0f);
    EXPECT_EQ(g.board.freeCells, 0);
    EXPECT_FLOAT_EQ(g.defeatTimer, 0.0f);
    stepGame(g, 10.0f);
    EXPECT_FLOAT_EQ(g.defeatTimer, 5000.0f);
    ASSERT_FALSE(f.host.messages.empty());
    EXPECT_EQ(f.host.messages.back(), "lastlife");
    // The new ball completes its line and frees cells: the defeat goes on.
    run(g, 1000.0f);
    EXPECT_GT(g.board.freeCells, 0);
    run(g, 4000.0f);
    EXPECT_FLOAT_EQ(g.defeatTimer, -1.0f);
    EXPECT_EQ(f.host.livesTaken, 1);
    EXPECT_EQ(f.host.savedGamesDropped, 1);
    EXPECT_EQ(f.host.profileSaves, 1);
    EXPECT_TRUE(g.lastLevelLost);
    ASSERT_EQ(f.host.screens.size(), 1u);
    EXPECT_EQ(f.host.screens[0], "defeat");
    sounds.collect();
    EXPECT_TRUE(sounds.heard("level_defeat.ogg"));
    EXPECT_TRUE(sounds.heard("defeat.ogg"));
}

TEST_F(Flow, AFullBoardSaysSoWhenTheDefeatStartsButGivingUpDoesNot) {
    auto saidFull = [](const testing::RecordingHost& host) {
        for (const auto& t : host.texts)
            if (t.text == "boardfull") return true;
        return false;
    };
    // The board fills: the defeat names its reason, once, even if lines free
    // cells again while the sequence runs.
    setBoard(g, {"ab"});
    stepGame(g, 10.0f);
    ASSERT_GT(g.defeatTimer, 0.0f);
    EXPECT_TRUE(saidFull(f.host));
    // Giving up with cells free is no full board.
    testing::GameFixture h;
    setBoard(h.g(), {"ab_"});
    giveUp(h.g());
    run(h.g(), 100.0f);
    EXPECT_GT(h.g().defeatTimer, 0.0f);
    EXPECT_FALSE(saidFull(h.host));
}

TEST_F(Flow, TheDefeatMessageAndScreenFollowTheLives) {
    struct Case {
        int lives;
        const char* message;
        const char* screen;
    };
    for (const Case c : {Case{3, "loselife", "defeat"}, Case{1, "lastlife", "defeat"}, Case{0, "gameover", "hiscore"}}) {
        testing::GameFixture h;
        h.host.livesLeft = c.lives;
        setBoard(h.g(), {"ab"});
        run(h.g(), 5100.0f);
        ASSERT_FALSE(h.host.messages.empty());
        EXPECT_EQ(h.host.messages[0], c.message);
        ASSERT_EQ(h.host.screens.size(), 1u);
        EXPECT_EQ(h.host.screens[0], c.screen);
    }
    // Giving up starts the same sequence.
    testing::GameFixture h;
    setBoard(h.g(), {"ab_"});
    giveUp(h.g());
    EXPECT_FLOAT_EQ(h.g().defeatTimer, 5000.0f);
}

TEST_F(Flow, TheCompleteSequence) {
    setBoard(g, {"ab_c"});
    g.levelIndex = 4;
    g.levelScore = 1234;
    g.maxCombo = 3;
    g.movesMade = 17;
    f.host.advance.stageCompleted = true;
    progressReachesBar(g, 40.0f);
    stepGame(g, 10.0f);  // the bar shows full at once
    stepGame(g, 10.0f);
    EXPECT_FLOAT_EQ(g.completeTimer, 8500.0f);
    ASSERT_EQ(f.host.results.size(), 1u);
    EXPECT_EQ(f.host.results[0].score, 1234);
    EXPECT_EQ(f.host.results[0].maxCombo, 3);
    EXPECT_EQ(f.host.results[0].moves, 17);
    EXPECT_TRUE(g.stageCompleted);
    EXPECT_EQ(f.host.messages.back(), "stagecomplete");
    EXPECT_EQ(f.host.advancedScenes.back(), 2);
    EXPECT_EQ(sound::g_sound.music.requestedPosition, sound::tunePosition(4));

    run(g, 900.0f);
    EXPECT_EQ(countPieces(g.board), 3);
    run(g, 200.0f);  // 7500 ms left: the board is swept
    EXPECT_EQ(countPieces(g.board), 0);
    run(g, 4100.0f);  // 3500 left: the level's tune comes back
    EXPECT_EQ(sound::g_sound.music.requestedPosition, sound::tunePosition(4 % 4));
    EXPECT_TRUE(f.host.screens.empty());
    run(g, 3500.0f);
    EXPECT_FLOAT_EQ(g.completeTimer, -1.0f);
    ASSERT_EQ(f.host.screens.size(), 1u);
    EXPECT_EQ(f.host.screens[0], "levelcomplete");
    sounds.collect();
    EXPECT_TRUE(sounds.heard("levelcomplete.ogg"));
}

TEST_F(Flow, AClickOrKeyShortensASequence) {
    setBoard(g, {"ab_c"});
    progressReachesBar(g, 40.0f);
    run(g, 100.0f);
    ASSERT_GT(g.completeTimer, 0.0f);
    leftButtonDown(g, pointOf(0, 0));
    EXPECT_FLOAT_EQ(g.completeTimer, 1.0f);
    EXPECT_FALSE(g.selected.valid());  // the click did nothing else
    stepGame(g, 10.0f);
    EXPECT_FLOAT_EQ(g.completeTimer, -1.0f);
    EXPECT_EQ(countPieces(g.board), 0);  // the sweep still happened on the way
    EXPECT_EQ(f.host.screens.back(), "levelcomplete");

    testing::GameFixture h;
    setBoard(h.g(), {"ab"});
    run(h.g(), 100.0f);
    keyDown(h.g(), 'A');
    EXPECT_FLOAT_EQ(h.g().defeatTimer, 1.0f);
}

TEST_F(Flow, AfterAFinishedStageAClickLeavesForTheMenus) {
    struct Case {
        Mode mode;
        bool passed;
        const char* screen;
        int preselect;
    };
    for (const Case c : {Case{Mode::Puzzle, false, "mode2", 1}, Case{Mode::Action, true, "main", 0}}) {
        testing::GameFixture h;
        GameState& s = h.g();
        s.mode = c.mode;
        s.completeTimer = -1;
        s.stageCompleted = true;
        s.gamePassed = c.passed;
        pauseGame(s);
        if (c.passed) {
            leftButtonDown(s, {0, 0});  // the congratulations hold clicks for 5 s
            EXPECT_TRUE(h.host.leaves.empty());
            run(s, 5000.0f);
        }
        leftButtonDown(s, {0, 0});
        ASSERT_EQ(h.host.leaves.size(), 1u);
        EXPECT_EQ(h.host.leaves[0].first, c.screen);
        EXPECT_EQ(h.host.leaves[0].second, c.preselect);
    }
}

TEST_F(Flow, TheActionBarDrainsWhileNothingElseHappens) {
    g.mode = Mode::Action;
    g.level.levelDownTimeMs = 1000;
    setBoard(g, {"a____"});
    run(g, 2000.0f);
    EXPECT_FLOAT_EQ(g.barRemaining, 40.0f);  // a full bar doesn't drain
    g.barRemaining = 30.0f;
    run(g, 1000.0f);
    EXPECT_FLOAT_EQ(g.barRemaining, 31.0f);
    sounds.collect();
    EXPECT_TRUE(sounds.heard("score.ogg"));
    pauseGame(g);
    run(g, 3000.0f);
    EXPECT_FLOAT_EQ(g.barRemaining, 31.0f);
    resumeGame(g);
    f.host.tipIsOpen = true;
    run(g, 3000.0f);
    EXPECT_FLOAT_EQ(g.barRemaining, 31.0f);
    f.host.tipIsOpen = false;
    g.drainClockMs = 990.0f;
    pressBoard(g, pointOf(0, 0));
    pressBoard(g, pointOf(4, 0));
    const float flight = float(g.flightTotalMs);
    run(g, flight - 20.0f);  // no drain during the flight
    EXPECT_FLOAT_EQ(g.barRemaining, 31.0f);
}

TEST_F(Flow, TheIdleHintComesAfterTheLevelsDelay) {
    setBoard(g, {"aa_c_", "____a", "bb__b"});
    run(g, 5900.0f);
    EXPECT_FLOAT_EQ(g.hint.timeLeftMs, 0.0f);
    run(g, 200.0f);
    EXPECT_GT(g.hint.timeLeftMs, 4800.0f);
    EXPECT_EQ(g.hint.ball, at(4, 1));
    EXPECT_EQ(g.hint.target, at(2, 0));
    EXPECT_LT(g.idleMs, 0.0f);  // counts up again from minus the delay
    pressBoard(g, pointOf(0, 2));  // a selection takes the arrow away
    EXPECT_FLOAT_EQ(g.hint.timeLeftMs, 0.0f);
}

TEST_F(Flow, AmbientSoundsByPeriodAndStage) {
    struct Case {
        int stage;
        bool passed;
        const char* water;
    };
    for (const Case c : {Case{0, false, "brook.ogg"}, Case{3, false, nullptr}, Case{5, false, "waterfall.ogg"},
                         Case{3, true, "waterfall.ogg"}}) {
        testing::GameFixture h;
        testing::SoundLog log;
        h.host.stage = c.stage;
        h.g().gamePassed = c.passed;
        setBoard(h.g(), {"a__"});
        for (int i = 0; i < 700; ++i) {  // 7 s in 10 ms frames
            stepGame(h.g(), 10.0f);
            log.collect(10.0f);
        }
        const int birds = log.count("birds1.ogg") + log.count("birds2.ogg") + log.count("birds3.ogg");
        EXPECT_EQ(birds, 2) << c.stage;  // at 0 and at 6200
        if (c.water) {
            EXPECT_EQ(log.count(c.water), 3) << c.stage;  // at 0 and two periods later
        } else {
            EXPECT_EQ(log.count("brook.ogg") + log.count("waterfall.ogg"), 0) << c.stage;
        }
    }
}

TEST_F(Flow, PlayTimeCountsOnlyWhilePlaying) {
    setBoard(g, {"a__"});
    run(g, 1000.0f);
    EXPECT_EQ(g.playTimeMs, 1000);
    pauseGame(g);
    run(g, 500.0f);
    resumeGame(g);
    f.host.overlay = true;
    run(g, 500.0f);
    f.host.overlay = false;
    g.cursorMode = CursorMode::Question;
    run(g, 500.0f);
    g.cursorMode = CursorMode::Normal;
    run(g, 100.0f);
    EXPECT_EQ(g.playTimeMs, 1100);
}

TEST_F(Flow, KeysInPlay) {
    setBoard(g, {"a__b"});
    g.cheatKeys = false;
    keyDown(g, kKeySpace);
    EXPECT_FALSE(g.running);
    keyDown(g, 'Q');  // any key resumes
    EXPECT_TRUE(g.running);
    EXPECT_GT(g.resumeShadeMs, 0.0f);
    keyDown(g, kKeyEscape);
    EXPECT_EQ(f.host.screens.back(), "gameplay");
    keyDown(g, '2');
    EXPECT_EQ(f.host.scenes.back(), 1);
    keyDown(g, 'Z');  // cheat keys need the flag
    EXPECT_EQ(f.host.total, 0);

    g.cheatKeys = true;
    keyDown(g, 'Z');
    EXPECT_EQ(f.host.total, 10000);
    keyDown(g, 'C');
    EXPECT_EQ(f.host.livesLeft, 2);
    keyDown(g, 'T');
    EXPECT_TRUE(g.debugDisplay);
    keyDown(g, 'X');
    EXPECT_EQ(countPieces(g.board), 3);
    keyDown(g, 'N');
    EXPECT_FLOAT_EQ(g.barRemaining, 0.0f);
    keyDown(g, 'E');
    EXPECT_EQ(countPieces(g.board), 0);
    g.cheatKeys = false;
}

TEST_F(Flow, AClearedBoardBringsTheAnnouncedBallsAndABonus) {
    setBoard(g, {"aaa__", "_____"});
    g.board.at(at(4, 1)).pending = 2;
    run(g, 1100.0f);  // more than a second of play
    g.lastMoveCell = at(1, 0);
    removalPass(g, true);
    stepGame(g, 10.0f);
    EXPECT_EQ(kindAt(g, 4, 1), 2);  // arrived at once
    EXPECT_TRUE(f.host.sawText("incredible"));
    EXPECT_GT(g.barRemaining, 0.0f);  // something stands again: play goes on

    // With nothing announced the level is won.
    testing::GameFixture h;
    setBoard(h.g(), {"aaa__"});
    run(h.g(), 1100.0f);
    removalPass(h.g(), true);
    run(h.g(), 20.0f);
    EXPECT_FLOAT_EQ(h.g().barRemaining, 0.0f);
    EXPECT_GE(h.host.total, 25000);
}

TEST_F(Flow, AClearedBoardPaysItsBonusOnceAndTheLevelIsJudgedOnce) {
    setBoard(g, {"aaa__"});
    run(g, 1100.0f);  // more than a second of play
    removalPass(g, true);
    run(g, 1000.0f);
    int incredible = 0;
    for (const auto& t : f.host.texts) incredible += t.text == "incredible" ? 1 : 0;
    EXPECT_EQ(incredible, 1);
    EXPECT_EQ(f.host.total, 3 * 10 + 25000);  // the line at combo 1 and one bonus
    EXPECT_GT(g.completeTimer, 0.0f);
    EXPECT_EQ(f.host.results.size(), 1u);
}

TEST_F(Flow, TheLastSparkCompletesTheActionBarOnADrainTickToo) {
    g.mode = Mode::Action;
    g.level.levelDownTimeMs = 1000;
    setBoard(g, {"a____"});
    g.barRemaining = 1.0f;
    g.drainClockMs = 995.0f;                       // the drain ticks in the next frame
    g.progressSparks[0] = {{0.0f, 0.0f}, 1.0f, 5.0f};  // and the last spark arrives in it
    stepGame(g, 10.0f);
    EXPECT_FLOAT_EQ(g.barRemaining, 0.0f);  // a full bar stays full
    stepGame(g, 10.0f);
    EXPECT_FLOAT_EQ(g.completeTimer, kCompleteSequenceMs);
    ASSERT_EQ(f.host.results.size(), 1u);
}

}  // namespace
}  // namespace tessaly::game
