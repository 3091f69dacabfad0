#include <gtest/gtest.h>

#include "game/flow.h"
#include "game/hammer.h"
#include "game/moves.h"
#include "game_test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::kindAt;
using testing::pointOf;
using testing::setBoard;

class Hammer : public ::testing::Test {
protected:
    testing::GameFixture f;
    testing::SoundLog sounds;
    GameState& g = f.g();
    const base::Vec2 button{350.0f, -200.0f};
};

TEST_F(Hammer, ArmsOnlyWithAFullChargeAndAnEnabledHammer) {
    setBoard(g, {"a__"});
    EXPECT_TRUE(inHammerButton(button));
    EXPECT_FALSE(inHammerButton({319.0f, -200.0f}));
    EXPECT_FALSE(inHammerButton({350.0f, -161.0f}));

    g.hammerCharge = 0.99f;
    leftButtonDown(g, button);
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);

    g.hammerCharge = 1.0f;
    pressBoard(g, pointOf(0, 0));
    leftButtonDown(g, button);
    EXPECT_EQ(g.cursorMode, CursorMode::Hammer);
    EXPECT_FALSE(g.selected.valid());  // arming drops the selection
    leftButtonDown(g, button);         // a second click puts it away
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);

    g.level.hammerEnabled = false;     // "hammer=no"
    leftButtonDown(g, button);
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
}

TEST_F(Hammer, StrikesOnePieceOrOneChainAndUsesTheWholeCharge) {
    setBoard(g, {"ab_c"});
    g.board.at(at(1, 0)).piece.chained = 2;
    g.board.at(at(0, 0)).floor = 1;

    struct Step {
        const char* what;
        base::Vec2 click;
        bool strikes;
        CursorMode after;
    };
    const Step steps[] = {
        {"an empty cell does nothing", pointOf(2, 0), false, CursorMode::Hammer},
        {"a ball is removed", pointOf(0, 0), true, CursorMode::Normal},
        {"a chained ball loses one chain", pointOf(1, 0), true, CursorMode::Normal},
        {"off the field the hammer is put away", pointOf(10, 10), false, CursorMode::Normal},
    };
    for (const Step& s : steps) {
        g.hammerCharge = 1.0f;
        g.cursorMode = CursorMode::Hammer;
        const int effectsBefore = f.host.countEffect("hammer");
        leftButtonDown(g, s.click);
        EXPECT_EQ(g.cursorMode, s.after) << s.what;
        EXPECT_FLOAT_EQ(g.hammerCharge, s.strikes ? 0.0f : 1.0f) << s.what;
        EXPECT_EQ(f.host.countEffect("hammer"), effectsBefore + (s.strikes ? 1 : 0)) << s.what;
    }
    EXPECT_EQ(kindAt(g, 0, 0), kNoPiece);
    EXPECT_EQ(g.board.at(at(0, 0)).floor, 0);  // the square under it broke
    EXPECT_EQ(kindAt(g, 1, 0), 1);
    EXPECT_EQ(g.board.at(at(1, 0)).piece.chained, 1);
    EXPECT_EQ(g.board.freeCells, 2);
    EXPECT_EQ(g.tallies.removed, 0);  // a strike counts towards no award
    sounds.collect();
    EXPECT_TRUE(sounds.heard("hammer.ogg"));
    // The removed ball pays like any other once it has popped.
    testing::run(g, 1000.0f);
    EXPECT_EQ(f.host.countEffect("ball1"), 1);
}

TEST_F(Hammer, ABombInALineBlastsTheBallThatCompletedIt) {
    f.host.furthest = 5;
    setBoard(g, {"_a___", "aB__d", "c____"});
    pressBoard(g, pointOf(1, 0));
    pressBoard(g, pointOf(2, 1));  // a, B, a in the middle row
    testing::run(g, 400.0f);
    EXPECT_EQ(kindAt(g, 2, 1), kNoPiece);  // the moved ball
    EXPECT_EQ(kindAt(g, 0, 2), kNoPiece);  // a ball beside the bomb
    EXPECT_EQ(kindAt(g, 4, 1), 3);         // out of its reach
    EXPECT_EQ(g.combo, 1);
}

}  // namespace
}  // namespace tessaly::game
