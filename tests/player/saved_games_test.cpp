// Saved games: when a game in progress may be saved, where its file goes,
// which mode it belongs to, and a restore that gives back the same board.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/random.h"
#include "game/flow.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "game/saved_game.h"
#include "player/profile_seat.h"
#include "player/saved_games.h"
#include "support/test_support.h"

namespace tessaly::player {
namespace {

namespace fs = std::filesystem;

TEST(SavedGameNames, OnlyPlainFileNamesLeadToAFile) {
    struct Case {
        const char* name;
        bool safe;
    };
    const Case cases[] = {
        {"ANNA", true}, {"JO 2", true},   {"", false},    {".", false},       {"..", false},
        {"A/B", false}, {"../X", false},  {"A\\B", false}, {"TAB\tX", false}, {"..A", true},
    };
    for (const Case& c : cases) EXPECT_EQ(safeFileName(c.name), c.safe) << '"' << c.name << '"';
    PlayerData d;
    d.folder = "/tmp/somewhere";
    createPlayer(d, "../../etc/evil");
    EXPECT_EQ(savedGamePath(d, 0), "");
    createPlayer(d, "ANNA");
    EXPECT_EQ(savedGamePath(d, 2), "/tmp/somewhere/ANNA_2.sav");
    EXPECT_EQ(savedGamePath(d, 3), "") << "no fourth mode";
}

class SavedGames : public test::DataFolderTest {
protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        base::seedRandom(3);
        std::string grid;
        for (int r = 0; r < 15; ++r) grid += (r < 6 ? std::string(8, '0') + std::string(12, '.') : std::string(20, '.')) + "\r\n";
        for (int i = 0; i < 3; ++i)
            m_folder.write("levels/" + game::levelFileName(i), "colors=4\r\naddballs=3\r\nlevel=\r\n" + grid);
        d.folder = (m_folder.path() / "user").string();
        createPlayer(d, "ANNA");
        setCurrentLevelNumber(d.profiles[0], 1, 2);
    }

    // A puzzle game on level 2 with one move made.
    void playAMove() {
        ASSERT_TRUE(game::startPlay(host, game::Mode::Puzzle, 2));
        // One more ball in the first free cell, as a move would leave it.
        for (int x = game::kFieldLeft; x <= game::kFieldRight; ++x)
            for (int y = game::kFieldTop; y <= game::kFieldBottom; ++y) {
                game::Cell& c = game.board.at(x, y);
                if (c.floor < 0 || c.piece.kind != game::kNoPiece || c.pending != game::kNoPiece) continue;
                c.piece = game::newPiece(1);
                c.piece.appear = 0;
                x = game::kFieldRight + 1;
                break;
            }
        game.board.freeCells = game::countFreeCells(game.board);
        game.movesMade = 1;
    }

    PlayerData d;
    ProfileSeat seat{d};
    std::unique_ptr<game::GameState> gameRecord = std::make_unique<game::GameState>();
    game::GameState& game = *gameRecord;
    std::unique_ptr<game::PlayView> view = std::make_unique<game::PlayView>();
    game::PlayHost host{*view, game, seat};
};

TEST_F(SavedGames, SavedOnlyWhenEveryConditionHolds) {
    playAMove();
    const SaveConditions onScreen{true, false};
    struct Case {
        const char* what;
        void (*spoil)(game::GameState&, PlayerData&, SaveConditions&);
    };
    const Case cases[] = {
        {"play not on screen", [](game::GameState&, PlayerData&, SaveConditions& c) { c.gameScreenCurrent = false; }},
        {"levelcomplete open", [](game::GameState&, PlayerData&, SaveConditions& c) { c.levelCompleteShown = true; }},
        {"a score waits for the table", [](game::GameState&, PlayerData& p, SaveConditions&) { p.hiscorePending = true; }},
        {"the complete sequence runs", [](game::GameState& g, PlayerData&, SaveConditions&) { g.completeTimer = 100; }},
        {"the defeat sequence ended", [](game::GameState& g, PlayerData&, SaveConditions&) { g.defeatTimer = -1; }},
        {"no move made yet", [](game::GameState& g, PlayerData&, SaveConditions&) { g.movesMade = 0; }},
    };
    for (const Case& c : cases) {
        auto g = std::make_unique<game::GameState>(game);
        PlayerData p = d;
        SaveConditions facts = onScreen;
        c.spoil(*g, p, facts);
        EXPECT_FALSE(saveRunningGame(p, *g, facts)) << c.what;
        EXPECT_FALSE(hasSavedGame(p, 1)) << c.what;
    }
    ASSERT_TRUE(saveRunningGame(d, game, onScreen));
    EXPECT_TRUE(fs::exists(d.folder + "/ANNA_1.sav"));
    EXPECT_EQ(fs::file_size(d.folder + "/ANNA_1.sav"), game::kSavedGameBytes);
    // The flag is the mode's own: no other mode offers it.
    EXPECT_TRUE(hasSavedGame(d, 1));
    EXPECT_FALSE(hasSavedGame(d, 0));
    EXPECT_FALSE(hasSavedGame(d, 2));
}

TEST_F(SavedGames, RestoreGivesTheSameBoardAndAbandonDropsTheFlagOnly) {
    playAMove();
    ASSERT_TRUE(saveRunningGame(d, game, {true, false}));
    std::vector<uint8_t> before(game::kSavedGameBytes), after(game::kSavedGameBytes);
    game::encodeSavedGame(game, before.data());

    ASSERT_TRUE(game::startPlay(host, game::Mode::Classic, 0));  // something else in between
    ASSERT_TRUE(restoreSavedGame(d, host, 1));
    game::encodeSavedGame(game, after.data());
    EXPECT_EQ(before, after);
    EXPECT_EQ(game.mode, game::Mode::Puzzle);
    EXPECT_EQ(game.levelIndex, 2);

    abandonSavedGame(d, 1);
    EXPECT_FALSE(hasSavedGame(d, 1));
    EXPECT_TRUE(fs::exists(d.folder + "/ANNA_1.sav")) << "clearing the flag leaves the file";
    // A damaged file leaves the level as freshly started.
    std::filesystem::resize_file(d.folder + "/ANNA_1.sav", 1000);
    EXPECT_FALSE(restoreSavedGame(d, host, 1));
    EXPECT_EQ(game.movesMade, 0);
}

TEST_F(SavedGames, NamesDifferingInLetterCaseKeepTheirOwnFiles) {
    createPlayer(d, "anna");
    selectPlayer(d, 0);
    const std::string upper = savedGamePath(d, 0);
    selectPlayer(d, 1);
    const std::string lower = savedGamePath(d, 0);
    EXPECT_NE(upper, lower) << "the file system here tells them apart, so the games never mix";
}

}  // namespace
}  // namespace tessaly::player
