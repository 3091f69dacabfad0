// The gameplay screen's own logic: the panel's hit areas, the question tip
// chosen for what was clicked, the tip queue, first-time tips once per
// profile, the shown score, the paused display's alpha, the path preview,
// the level-end flight, the order in which a click is taken, and the
// position the player moves on to.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "base/random.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/panel.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "game/spawn.h"
#include "game/tips.h"
#include "game_test_support.h"
#include "support/test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::pointOf;
using testing::setBoard;

// A game, a view, a player and the real host over them.
struct PlayFixture {
    std::unique_ptr<GameState> game = std::make_unique<GameState>();
    std::unique_ptr<PlayView> view = std::make_unique<PlayView>();
    DefaultPlayer player;
    PlayHost host{*view, *game, player};

    PlayFixture() {
        base::seedRandom(777);
        game->host = &host;
        game->level.colors = 5;
        game->level.addBalls = 3;
        game->barTotal = game->barRemaining = 40;
        view->active = true;
    }
    GameState& g() { return *game; }
    PlayView& v() { return *view; }
    void click(base::Vec2 p) { playLeftButtonDown(host, p); }
    void step(float ms, float stepMs = 10) {
        for (float t = 0; t < ms; t += stepMs) stepPlay(host, stepMs);
    }
};

// ---------------------------------------------------------------------------
// Panel

TEST(Panel, PointsMapToTheirAreas) {
    struct Case {
        base::Vec2 p;
        PanelArea area;
    };
    const Case cases[] = {
        {{345, 245}, PanelArea::Score},         {{300, 230}, PanelArea::Score},
        {{391, 245}, PanelArea::None},          {{345, 150}, PanelArea::LevelNumber},
        {{345, 55}, PanelArea::Lives},          {{350, 16}, PanelArea::LevelBar},
        {{345, -30}, PanelArea::MenuButton},    {{345, -15}, PanelArea::MenuButton},
        {{345, -64}, PanelArea::QuestionButton}, {{359, -78}, PanelArea::QuestionButton},
        {{345, -98}, PanelArea::RelaxButton},   {{309, -98}, PanelArea::None},
        {{310, -135}, PanelArea::SceneNight},   {{334, -135}, PanelArea::SceneMorning},
        {{331, -135}, PanelArea::SceneNight},   {{357, -140}, PanelArea::SceneMorning},
        {{383, -135}, PanelArea::SceneDay},     {{386, -135}, PanelArea::None},
        {{352, -226}, PanelArea::HammerButton}, {{319, -226}, PanelArea::None},
        {{0, 0}, PanelArea::None},              {{345, 110}, PanelArea::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(panelAreaAt(c.p), c.area) << "(" << c.p.x << ", " << c.p.y << ")";
    EXPECT_EQ(sceneOfArea(PanelArea::SceneDay), 2);
    EXPECT_EQ(sceneOfArea(PanelArea::RelaxButton), -1);
}

TEST(Panel, LevelBarFillRevealsTheTroughFromTheLeft) {
    const LevelBarFill empty = levelBarFill(0);
    EXPECT_FLOAT_EQ(empty.rect.left, empty.rect.right);
    EXPECT_FLOAT_EQ(empty.rect.left, 304 + 92 * 7 / 128.0f);
    const LevelBarFill full = levelBarFill(1);
    EXPECT_FLOAT_EQ(full.uLeft, 7 / 128.0f);
    EXPECT_FLOAT_EQ(full.uRight, 121 / 128.0f);
    EXPECT_FLOAT_EQ(full.rect.right, 304 + 92 * 121 / 128.0f);
    const LevelBarFill half = levelBarFill(0.5f);
    EXPECT_FLOAT_EQ(half.uRight, (7 + 57) / 128.0f);
    EXPECT_FLOAT_EQ(half.rect.top, 28);
    EXPECT_FLOAT_EQ(half.rect.bottom, 5);
    // A shown fraction a little past its bounds stays inside the frame.
    EXPECT_FLOAT_EQ(levelBarFill(1.2f).rect.right, full.rect.right);
    EXPECT_FLOAT_EQ(levelBarFill(-0.1f).rect.right, empty.rect.right);
    EXPECT_FLOAT_EQ(levelBarEdge(0.5f).x, half.rect.right);
}

// ---------------------------------------------------------------------------
// Question tips

TEST(QuestionTips, ChosenByWhatWasClicked) {
    PlayFixture f;
    setBoard(f.g(), {"a_12", "J_3B", "DS__"});
    // A chained ball and a chained special, an announced ball.
    f.g().board.at(at(0, 2)).piece.chained = 1;
    f.g().board.at(at(3, 1)).piece.chained = 2;
    f.g().board.at(at(2, 2)).pending = 4;
    f.g().level.hammerEnabled = true;
    f.g().barRemaining = 10;  // 75 % of 40

    struct Case {
        const char* name;
        Mode mode;
        base::Vec2 p;
        const char* title;
        const char* second;
        int icon;
    };
    const Case cases[] = {
        {"free ball, classic", Mode::Classic, pointOf(0, 0), "balltip", "adventsquarehelp", 0},
        {"free ball, puzzle", Mode::Puzzle, pointOf(0, 0), "balltip", "squarehelp", 0},
        {"free ball, action", Mode::Action, pointOf(0, 0), "balltip", "actionsquarehelp", 0},
        {"joker", Mode::Classic, pointOf(0, 1), "jokertip", "jokertip2", kJoker},
        {"chained bomb", Mode::Classic, pointOf(3, 1), "chainitemtip", "", kNoPiece},
        {"chained diamond", Mode::Classic, pointOf(0, 2), "chainitemtip", "", kNoPiece},
        {"superbomb", Mode::Classic, pointOf(1, 2), "quadrobomb", "quadrobomb2", kSuperbomb},
        {"announced ball", Mode::Classic, pointOf(2, 2), "newballtip", "", kNoPiece},
        {"plain floor", Mode::Classic, pointOf(1, 0), "tipcleanquare", "", kNoPiece},
        {"square of 1", Mode::Classic, pointOf(2, 0), "tipbusysquare1", "", kNoPiece},
        {"square of 2", Mode::Classic, pointOf(3, 0), "tipbusysquare2", "", kNoPiece},
        {"square of 3", Mode::Classic, pointOf(2, 1), "tipbusysquare2", "", kNoPiece},
        {"off the board", Mode::Classic, {-100, -250}, "doublerelax", "", kNoPiece},
        {"score", Mode::Classic, {345, 245}, "scoretip", "", kNoPiece},
        {"level number", Mode::Classic, {345, 150}, "numleveltip", "", kNoPiece},
        {"lives", Mode::Classic, {345, 55}, "lifetip", "", kNoPiece},
        {"menu", Mode::Classic, {345, -30}, "menutip", "", kNoPiece},
        {"relax", Mode::Classic, {345, -98}, "relaxtip", "", kNoPiece},
        {"night", Mode::Classic, {320, -135}, "nighttip", "", kNoPiece},
        {"morning", Mode::Classic, {345, -135}, "morningtip", "", kNoPiece},
        {"day", Mode::Classic, {370, -135}, "daytip", "", kNoPiece},
        {"hammer", Mode::Classic, {352, -226}, "hammertip", "", kNoPiece},
        {"level bar", Mode::Classic, {350, 16}, "levelbartip", "", kNoPiece},
        {"question button", Mode::Classic, kQuestionButtonCentre, "", "", kNoPiece},
        {"panel between areas", Mode::Classic, {345, 110}, "", "", kNoPiece},
    };
    for (const Case& c : cases) {
        f.g().mode = c.mode;
        const TipRequest t = questionTipFor(f.g(), c.p);
        EXPECT_STREQ(t.title, c.title) << c.name;
        EXPECT_STREQ(t.second, c.second) << c.name;
        EXPECT_EQ(t.icon, c.icon) << c.name;
        EXPECT_FLOAT_EQ(t.delayMs, 0) << c.name << ": a question tip opens at once";
    }
    EXPECT_EQ(questionTipFor(f.g(), {350, 16}).percent, 75);
    EXPECT_TRUE(questionTipFor(f.g(), pointOf(1, 0)).cell == at(1, 0)) << "a cell's tip points at it";
    f.g().level.hammerEnabled = false;
    EXPECT_STREQ(questionTipFor(f.g(), {352, -226}).title, "") << "a level without the hammer has nothing to explain";
}

TEST(Panel, TheLivesBoxSaysLastLifeOnlyWhileThereIsOne) {
    struct Case {
        int lives;
        float defeatTimer;
        LivesBox box;
    };
    const Case cases[] = {
        {3, 0, LivesBox::Hearts},      {5, 0, LivesBox::HeartAndCount}, {0, 0, LivesBox::LastLife},
        {1, 3000, LivesBox::Hearts},   {0, 3000, LivesBox::Empty},      {0, -1, LivesBox::Empty},
        {-1, 0, LivesBox::Empty},
    };
    for (const Case& c : cases) {
        GameState g;
        g.livesShown = c.lives;
        g.defeatTimer = c.defeatTimer;
        EXPECT_EQ(livesBoxOf(g), c.box) << c.lives << " lives, defeat timer " << c.defeatTimer;
    }
}

TEST(Panel, TheHammerIsReadyOnlyWhenFullAndItsGaugeShowsTheCharge) {
    GameState g;
    g.level.hammerEnabled = true;
    const float charges[] = {0.0f, 0.5f, 0.8f, 0.999f};
    float lastTop = -1e9f;
    for (float c : charges) {
        g.hammerCharge = c;
        EXPECT_FALSE(hammerReady(g)) << c;
        const HammerGauge gauge = hammerGauge(c);
        EXPECT_GE(gauge.fill.top, gauge.fill.bottom);
        EXPECT_LT(gauge.fill.top, gauge.trough.top) << "the fill stays inside its trough";
        EXPECT_GT(gauge.fill.top, lastTop) << "a larger charge fills more";
        lastTop = gauge.fill.top;
        // The tip of a click on it never claims a full charge.
        const TipRequest tip = hammerNotReadyTip(g);
        EXPECT_STREQ(tip.title, "hammernotready");
        EXPECT_EQ(tip.percent, int(c * 100)) << c;
        EXPECT_LT(tip.percent, 100);
    }
    g.hammerCharge = 1;
    EXPECT_TRUE(hammerReady(g));
    g.level.hammerEnabled = false;
    EXPECT_FALSE(hammerReady(g));
}

TEST(TipText, OnlyTheOneNumberIsFormatted) {
    struct Case {
        const char* text;
        int value;
        const char* shown;
    };
    const Case cases[] = {
        {"Level progress: %i%%", 42, "Level progress: 42%"},
        {"%d of it", 7, "7 of it"},
        {"%i and %i", 3, "3 and %i"},
        {"no %s here %n", 5, "no %s here %n"},
        {"plain", 5, "plain"},
        {"ends with %", 5, "ends with %"},
    };
    for (const Case& c : cases) {
        char out[64];
        formatTipText(out, sizeof out, c.text, c.value);
        EXPECT_STREQ(out, c.shown) << c.text;
    }
    char small[6];
    formatTipText(small, sizeof small, "%i%%", 123456);
    EXPECT_STREQ(small, "12345") << "the output is cut to its buffer";
}

// ---------------------------------------------------------------------------
// The tip queue

TEST(TipQueue, TipsOpenOneAtATimeAfterTheirDelays) {
    TipQueue q;
    ASSERT_TRUE(queueTip(q, firstTimeTip("hammertip", {352, -226}, 2000, kNoCell)));
    ASSERT_TRUE(queueTip(q, firstTimeTip("jokertip", {0, 0}, 1000, at(1, 1))));
    EXPECT_FALSE(tipIsOpen(q));
    stepTips(q, 1999);
    EXPECT_FALSE(tipIsOpen(q));
    stepTips(q, 1);
    ASSERT_TRUE(tipIsOpen(q));
    EXPECT_STREQ(openTip(q)->title, "hammertip");

    // A question tip asked for meanwhile waits just behind the open one.
    TipRequest question{};
    std::strcpy(question.title, "scoretip");
    ASSERT_TRUE(queueTip(q, question, true));
    EXPECT_STREQ(openTip(q)->title, "hammertip");
    closeTip(q);
    ASSERT_TRUE(tipIsOpen(q));
    EXPECT_STREQ(openTip(q)->title, "scoretip");
    closeTip(q);
    // The later first-time tip waits the gap of play after the one before.
    EXPECT_FALSE(tipIsOpen(q));
    stepTips(q, kFirstTimeTipGapMs - 1);
    EXPECT_FALSE(tipIsOpen(q));
    stepTips(q, 1);
    ASSERT_TRUE(tipIsOpen(q));
    const TipRequest& joker = *openTip(q);
    EXPECT_STREQ(joker.second, "jokertip2");
    EXPECT_EQ(joker.icon, kJoker);
    EXPECT_TRUE(joker.cell == at(1, 1));
    closeTip(q);
    EXPECT_EQ(q.count, 0);
    closeTip(q);  // nothing open: nothing happens
    EXPECT_EQ(q.count, 0);
}

TEST(TipQueue, FirstTimeTipsLeavePlayBetweenThemButQuestionTipsDoNot) {
    TipQueue q;
    queueTip(q, firstTimeTip("hammertip", {}, 1000, kNoCell));
    queueTip(q, firstTimeTip("doublerelax", {}, 1000, kNoCell));
    stepTips(q, 1000);
    ASSERT_TRUE(tipIsOpen(q));
    closeTip(q);
    stepTips(q, kFirstTimeTipGapMs - 10);
    EXPECT_FALSE(tipIsOpen(q)) << "the next first-time tip waits for play";
    stepTips(q, 20);
    ASSERT_TRUE(tipIsOpen(q));
    EXPECT_STREQ(openTip(q)->title, "doublerelax");
    // A question tip asked for now opens as soon as the open one is closed.
    TipRequest question = questionTipFor(GameState{}, base::centre(kScoreArea));
    ASSERT_FALSE(question.firstTime);
    queueTip(q, question, true);
    closeTip(q);
    ASSERT_TRUE(tipIsOpen(q));
    EXPECT_STREQ(openTip(q)->title, "scoretip");
}

TEST(TipBalloon, StandsWhereItCoversTheLeastOfTheBoard) {
    const base::Rect board{-380, 300, 300, -300};
    // A 200 x 100 box whose centre lies 150 units from the anchor along the angle.
    auto boxAt = [](base::Vec2 anchor) {
        return [anchor](float angle) {
            const base::Vec2 c = anchor + base::rotateDeg({150, 0}, angle);
            return base::rectFromCentre(c, 200, 100);
        };
    };
    // At the hammer, bottom right: the box goes up over the panel rather
    // than left over the board, and it stays on the screen.
    const base::Vec2 hammer{352, -226};
    const float a = leastCoveringAngle(hammer, board, boxAt(hammer));
    const base::Rect box = boxAt(hammer)(a);
    EXPECT_GE(box.bottom, -300);
    EXPECT_LE(box.right, 400);
    EXPECT_LT(overlapArea(box, board), overlapArea(boxAt(hammer)(180), board));
    // Off a small board in the middle, the box moves off it entirely.
    const base::Rect small{-100, 100, 100, -100};
    const base::Vec2 cell{60, 60};
    EXPECT_FLOAT_EQ(overlapArea(boxAt(cell)(leastCoveringAngle(cell, small, boxAt(cell))), small), 0);
}

TEST(TipQueue, AFullQueueRefusesFurtherTips) {
    TipQueue q;
    for (int i = 0; i < kMaxQueuedTips; ++i) ASSERT_TRUE(queueTip(q, firstTimeTip("newballtip", {}, 10, kNoCell)));
    EXPECT_FALSE(queueTip(q, firstTimeTip("diamond", {}, 10, kNoCell)));
    EXPECT_FALSE(queueTip(q, firstTimeTip("diamond", {}, 10, kNoCell), true));
    EXPECT_EQ(q.count, kMaxQueuedTips);
    for (int i = 0; i < kMaxQueuedTips; ++i) EXPECT_STREQ(q.items[size_t(i)].title, "newballtip");
}

TEST(FirstTimeTips, AreShownOncePerProfile) {
    PlayFixture f;
    setBoard(f.g(), {"a___"});
    showTipOnce(f.g(), Tip::Diamond, {0, 0}, 2000, at(0, 0));
    showTipOnce(f.g(), Tip::Diamond, {0, 0}, 2000, at(0, 0));
    ASSERT_EQ(f.v().tips.count, 1);
    EXPECT_STREQ(f.v().tips.items[0].title, "diamond");
    EXPECT_STREQ(f.v().tips.items[0].second, "diamond2");
    EXPECT_EQ(f.v().tips.items[0].icon, kDiamond);
    EXPECT_TRUE(f.player.tipsShown[int(Tip::Diamond)]);

    // The same player later, in another game: not again. Another player: yes.
    clearTips(f.v().tips);
    showTipOnce(f.g(), Tip::Diamond, {0, 0}, 2000, kNoCell);
    EXPECT_EQ(f.v().tips.count, 0);
    PlayFixture other;
    showTipOnce(other.g(), Tip::Diamond, {0, 0}, 2000, kNoCell);
    EXPECT_EQ(other.v().tips.count, 1);
}

// ---------------------------------------------------------------------------
// Shown score, paused display, shades

TEST(ShownScore, RunsTowardsTheTotal) {
    struct Case {
        int shown, target;
        float frameMs;
        int next;
        bool running;
    };
    const Case cases[] = {
        {0, 1000, 16, 160, true},     // trunc(1000 x 0.01 x 16)
        {990, 1000, 16, 991, true},   // at least 1 a frame
        {999, 1000, 16, 1000, false}, // reaches it
        {0, 100, 100, 100, false},    // a long frame never runs past it
        {500, 500, 16, 500, false},
        {800, 0, 16, 0, false},       // a new game: taken at once
    };
    for (const Case& c : cases) {
        ShownScore s{c.shown, false, 0};
        EXPECT_EQ(advanceShownScore(s, c.target, c.frameMs), c.running) << c.shown << " -> " << c.target;
        EXPECT_EQ(s.value, c.next) << c.shown << " -> " << c.target;
    }
    ShownScore s;
    int frames = 0;
    while (advanceShownScore(s, 25000, 16) && frames < 1000) ++frames;
    EXPECT_EQ(s.value, 25000);
    EXPECT_LT(frames, 200) << "a big bonus is counted up within a few seconds";
}

TEST(PausedDisplay, AlphaFollowsTheSineOfThePause) {
    struct Case {
        float t;
        bool stageEnd;
        int alpha;
        bool relax;
    };
    // (s + 1) / 2 above 0.7 shows the prompt: s = cos(0.0003 t - 0.9424779),
    // or after a stage end s = sin(0.0003 t - 2.1991148).
    const Case cases[] = {
        {0, false, 80, true},         {3141.59f, false, 255, true}, {6000, false, 108, true},
        {7100, false, 0, false},      {20944, false, 80, false},    {0, true, 0, false},
        {12566.37f, true, 255, false}, {8000, true, 0, false},
    };
    for (const Case& c : cases) {
        const PausedLook l = pausedLook(c.t, c.stageEnd, false);
        EXPECT_NEAR(l.promptAlpha, c.alpha, 1) << c.t << (c.stageEnd ? " stage end" : "");
        EXPECT_NEAR(l.promptSize, 13 + l.promptAlpha / 255.0f, 0.01f) << c.t;
        EXPECT_EQ(l.relaxShown, c.relax) << c.t;
        EXPECT_EQ(l.congratulationsAlpha, 0) << c.t;
    }
    EXPECT_NEAR(pausedLook(3141.59f, false, false).relaxSize, 25.0f, 0.01f);
    // After the last stage: the congratulations fade in from 3 s and out again.
    EXPECT_EQ(pausedLook(2999, false, true).congratulationsAlpha, 0);
    EXPECT_NEAR(pausedLook(12000, false, true).congratulationsAlpha, 255, 1);
    EXPECT_NEAR(pausedLook(7500, false, true).congratulationsAlpha, int(255 * std::sin(base::kPi * 0.25f)), 1);
    EXPECT_EQ(pausedLook(12000, false, true).promptAlpha, 0);
}

TEST(Shades, EndSequencesDarkenTheBoard) {
    GameState* g = new GameState;
    struct Case {
        float complete, defeat;
        int alpha;
    };
    const Case cases[] = {{0, 0, 0},     {8500, 0, 0},  {5750, 0, 70}, {3000, 0, 140},
                          {100, 0, 140}, {-1, 0, 140},  {0, 5000, 0},  {0, 3000, 70},
                          {0, 1000, 140}, {0, -1, 140}};
    for (const Case& c : cases) {
        g->completeTimer = c.complete;
        g->defeatTimer = c.defeat;
        EXPECT_EQ(sequenceShadeAlpha(*g), c.alpha) << c.complete << " " << c.defeat;
    }
    g->running = true;
    g->resumeShadeMs = 250;
    EXPECT_EQ(resumeShadeAlpha(*g), 50);
    g->running = false;
    EXPECT_EQ(resumeShadeAlpha(*g), 0);
    delete g;
}

// ---------------------------------------------------------------------------
// Path preview, pieces, the level-end flight

TEST(PathPreview, TracesTheWayTheBallWouldGo) {
    PlayFixture f;
    GameState& g = f.g();
    setBoard(g, {"a_b__",
                 "_____",
                 "_c_d_"});
    selectBall(g, at(0, 0));
    PathPreview p;
    ASSERT_TRUE(tracePreview(g.board, at(0, 0), at(2, 2), p));
    // Back from the target; where two cells are one step nearer, the one to
    // the left is taken before the one above.
    ASSERT_EQ(p.steps, 4);
    const CellRef expected[] = {at(2, 2), at(2, 1), at(1, 1), at(0, 1), at(0, 0)};
    for (int i = 0; i <= p.steps; ++i) EXPECT_TRUE(cellAtPoint(p.points[size_t(i)]) == expected[i]) << i;
    EXPECT_NEAR(arrivalAngle(p), 270, 0.01f) << "arriving from above, pointing down";

    ASSERT_TRUE(tracePreview(g.board, at(0, 0), at(1, 0), p));
    EXPECT_EQ(p.steps, 1);
    EXPECT_NEAR(arrivalAngle(p), 0, 0.01f) << "arriving from the left, pointing right";

    EXPECT_FALSE(tracePreview(g.board, at(0, 0), at(2, 0), p)) << "a ball is no target";
    EXPECT_EQ(p.steps, 0);
    EXPECT_FALSE(tracePreview(g.board, at(0, 0), at(0, 0), p));
    // A cell filled since the field was computed is not walked through.
    g.board.at(at(0, 1)).piece = newPiece(3);
    g.board.at(at(1, 1)).piece = newPiece(3);
    EXPECT_FALSE(tracePreview(g.board, at(0, 0), at(2, 2), p));
}

TEST(PieceLook, AppearanceZoomAndPreviewGrowth) {
    EXPECT_FLOAT_EQ(appearScale(kAppearStart), 0);
    EXPECT_FLOAT_EQ(appearScale(0), 1);
    EXPECT_FLOAT_EQ(appearScale(-50), 1);
    float peak = 0;
    for (float a = 500; a >= 0; a -= 5) peak = std::max(peak, appearScale(a));
    EXPECT_GT(peak, 1.02f) << "a new piece overshoots a little";
    EXPECT_LT(peak, 1.15f);
    EXPECT_FLOAT_EQ(pendingScale(500), 0);
    EXPECT_FLOAT_EQ(pendingScale(250), 0.5f);
    EXPECT_FLOAT_EQ(pendingScale(0), 1);
    for (float t = 0; t < 5000; t += 97) {
        EXPECT_NEAR(idleWobble(t, 0.3f), 1, 0.026f);
    }
}

TEST(LevelEndFlight, EachCellKeepsItsPathFromFrameToFrame) {
    // Two frames of the same moment: the same numbers for every cell.
    auto frame = [](float elapsed, CellFlight* out, int n) {
        base::seedRepeatable(1000);
        for (int i = 0; i < n; ++i) out[i] = cellFlight(elapsed);
    };
    CellFlight a[40], b[40];
    frame(2500, a, 40);
    frame(2500, b, 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_FLOAT_EQ(a[i].offset.x, b[i].offset.x) << i;
        EXPECT_FLOAT_EQ(a[i].offset.y, b[i].offset.y) << i;
    }
    // Not all cells move alike.
    bool differ = false;
    for (int i = 1; i < 40; ++i) differ = differ || a[i].offset.x != a[0].offset.x;
    EXPECT_TRUE(differ);
    // Before the flight every cell is at home; long after, all are gone.
    frame(kFlightStartMs, a, 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_FLOAT_EQ(a[i].scale, 1) << i;
        EXPECT_FLOAT_EQ(a[i].offset.x, 0) << i;
    }
    frame(kFlightStartMs + kFlightSpreadMs + 1500, a, 40);
    for (int i = 0; i < 40; ++i) EXPECT_FLOAT_EQ(a[i].scale, 0) << i;
}

// ---------------------------------------------------------------------------
// Input order

class PlayInput : public ::testing::Test {
protected:
    PlayFixture f;
    testing::SoundLog sounds;
    GameState& g = f.g();

    void SetUp() override {
        setBoard(g, {"a_a__",
                     "_____",
                     "__b__"});
    }
};

TEST_F(PlayInput, TheQuestionCursorExplainsWhatWasClicked) {
    f.click(kQuestionButtonCentre);
    EXPECT_EQ(g.cursorMode, CursorMode::Question);
    f.click(pointOf(0, 0));
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
    EXPECT_FALSE(g.selected.valid()) << "the question click selects nothing";
    ASSERT_TRUE(tipIsOpen(f.v().tips));
    EXPECT_STREQ(openTip(f.v().tips)->title, "balltip");
    sounds.collect();
    EXPECT_TRUE(sounds.heard("menu.ogg"));

    // While it is open the board waits for a click that closes it; only the
    // next one selects.
    f.click(pointOf(2, 2));
    EXPECT_FALSE(tipIsOpen(f.v().tips));
    EXPECT_FALSE(g.selected.valid());
    f.click(pointOf(2, 2));
    EXPECT_TRUE(g.selected == at(2, 2));

    // The question button clicked again in question mode turns it off.
    f.click(kQuestionButtonCentre);
    f.click(kQuestionButtonCentre);
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
    EXPECT_FALSE(tipIsOpen(f.v().tips));
}

TEST_F(PlayInput, RelaxPausesAndAnyClickResumes) {
    f.click(base::centre(kRelaxButtonArea));
    EXPECT_FALSE(g.running);
    sounds.collect();
    EXPECT_TRUE(sounds.heard("menu.ogg"));
    f.click(pointOf(0, 0));
    EXPECT_TRUE(g.running);
    EXPECT_FALSE(g.selected.valid()) << "the resuming click does nothing else";
    EXPECT_GT(g.resumeShadeMs, 0);
    // Keys: Space pauses, any key resumes.
    playKeyDown(f.host, kKeySpace);
    EXPECT_FALSE(g.running);
    playKeyDown(f.host, 'A');
    EXPECT_TRUE(g.running);
}

TEST_F(PlayInput, PanelButtons) {
    f.click(kSceneButtonCentres[2]);
    EXPECT_EQ(f.v().scene, 2);
    f.click(kSceneButtonCentres[0]);
    EXPECT_EQ(f.v().scene, 0);

    // The menu button opens the pause menu, which then takes the clicks.
    static std::string opened;
    static bool menuOpen;
    static int menuClicks;
    opened.clear();
    menuOpen = false;
    menuClicks = 0;
    const PlayHooks saved = g_playHooks;
    g_playHooks.openScreen = [](std::string_view name) {
        opened = name;
        menuOpen = true;
    };
    g_playHooks.menuOpen = [] { return menuOpen; };
    g_playHooks.menuLeftButtonDown = [] { ++menuClicks; };
    f.click(base::centre(kMenuButtonArea));
    EXPECT_EQ(opened, "gameplay");
    EXPECT_TRUE(f.host.overlayOpen());
    f.click(pointOf(0, 0));
    EXPECT_EQ(menuClicks, 1);
    EXPECT_FALSE(g.selected.valid()) << "the board did not take the click";
    g_playHooks = saved;

    // The hammer arms only with a full charge, and strikes the piece clicked.
    g.level.hammerEnabled = true;
    f.click(base::centre(kHammerButtonArea));
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
    f.click(pointOf(4, 2));  // closes the tip that says why
    g.hammerCharge = 1;
    f.click(base::centre(kHammerButtonArea));
    EXPECT_EQ(g.cursorMode, CursorMode::Hammer);
    f.click(pointOf(2, 2));
    EXPECT_EQ(testing::kindAt(g, 2, 2), kNoPiece);
    EXPECT_FLOAT_EQ(g.hammerCharge, 0);
    EXPECT_GE(f.v().strike.timeMs, 0) << "the strike is drawn";
}

TEST_F(PlayInput, AMoveShowsItsPathAndKeepsItWhileTheBallFlies) {
    f.click(pointOf(2, 2));
    ASSERT_TRUE(g.selected == at(2, 2));
    playMouseMove(f.host, pointOf(4, 0));
    f.step(10);
    ASSERT_GT(f.v().preview.steps, 0);
    const int steps = f.v().preview.steps;
    EXPECT_TRUE(cellAtPoint(f.v().preview.points[0]) == at(4, 0));
    f.click(pointOf(4, 0));
    ASSERT_TRUE(g.moveInFlight);
    playMouseMove(f.host, pointOf(0, 2));
    f.step(50);
    EXPECT_EQ(f.v().preview.steps, steps) << "the path stays while the ball flies";
    f.step(1500);
    EXPECT_FALSE(g.moveInFlight);
    EXPECT_EQ(testing::kindAt(g, 4, 0), 1);
    EXPECT_EQ(f.v().preview.steps, 0);
}

TEST_F(PlayInput, WhileABallFliesTheNextBallCanBePickedButNoNewTarget) {
    // Board: a_a__ / _____ / __b__. The left a flies two cells down.
    f.click(pointOf(0, 0));
    f.click(pointOf(0, 2));
    ASSERT_TRUE(g.moveInFlight);
    f.step(30);
    // A new target while it flies is refused, and the refusal is kept to show.
    f.click(pointOf(4, 1));
    EXPECT_EQ(g.refused.why, Refusal::BallInFlight);
    EXPECT_TRUE(g.refused.cell == at(4, 1));
    EXPECT_EQ(g.refused.count, 1);
    // The flying ball's start cell looks empty: it is a refused target too.
    f.click(pointOf(0, 0));
    EXPECT_EQ(g.refused.count, 2);
    // Another ball is picked for the next move and keeps its selection
    // through the landing.
    f.click(pointOf(2, 2));
    EXPECT_TRUE(g.selected == at(2, 2));
    f.step(1500);
    ASSERT_FALSE(g.moveInFlight);
    EXPECT_EQ(testing::kindAt(g, 0, 2), 0) << "the first move landed";
    EXPECT_TRUE(g.selected == at(2, 2));
    EXPECT_EQ(g.refused.why, Refusal::None) << "the refusal has faded";
    // Its distances are those of the board after the landing: the next
    // click sends it.
    f.click(pointOf(4, 2));
    EXPECT_TRUE(g.moveInFlight);
    EXPECT_TRUE(g.moveFrom == at(2, 2));
}

TEST_F(PlayInput, ADoubleClickOverTwoCellsIsTwoClicks) {
    // The desktop pairs presses a few dozen pixels apart: a quick select on
    // one cell and send to its neighbour must still move the ball.
    f.click(pointOf(2, 2));
    playLeftDoubleClick(f.host, pointOf(3, 2));
    EXPECT_TRUE(g.moveInFlight);
    EXPECT_TRUE(g.moveTarget == at(3, 2));
    f.step(1500);
    // On the same cell it stays a double click: the selected ball is deselected.
    f.click(pointOf(3, 2));
    ASSERT_TRUE(g.selected == at(3, 2));
    playLeftDoubleClick(f.host, pointOf(3, 2));
    EXPECT_FALSE(g.selected.valid());
    EXPECT_FALSE(g.moveInFlight);
}

TEST_F(PlayInput, AClickOnTheChargingHammerSaysWhyAndArmsNothing) {
    g.level.hammerEnabled = true;
    g.hammerCharge = 0.8f;
    f.click(base::centre(kHammerButtonArea));
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
    ASSERT_TRUE(tipIsOpen(f.v().tips));
    EXPECT_STREQ(openTip(f.v().tips)->title, "hammernotready");
    EXPECT_EQ(openTip(f.v().tips)->percent, 80);
    f.click(pointOf(2, 2));  // closes the tip
    // Once ready it becomes ready on screen too, from that frame on.
    g.hammerCharge = 1;
    f.step(30);
    EXPECT_GE(f.v().hammerReadyMs, 0);
    f.click(base::centre(kHammerButtonArea));
    EXPECT_EQ(g.cursorMode, CursorMode::Hammer);
    EXPECT_FALSE(tipIsOpen(f.v().tips));
}

// The keyboard's cell cursor: arrows show it on the selected ball and move
// it over holes, Enter sends the ball there through the click path, the
// mouse hides it, Escape hides it before it opens the in-game menu.
TEST_F(PlayInput, ArrowsMoveACellCursorAndEnterActsThere) {
    setBoard(g, {"a_a__",
                 "_._._",
                 "__b__"});
    static std::string opened;
    opened.clear();
    g_playHooks.openScreen = [](std::string_view name) { opened = name; };
    f.click(pointOf(2, 2));
    ASSERT_TRUE(g.selected == at(2, 2));
    playKeyDown(f.host, kKeyUp);
    ASSERT_TRUE(f.v().keyCursorShown);
    EXPECT_TRUE(f.v().keyCell == at(2, 2)) << "it first shows on the selected ball";
    playKeyDown(f.host, kKeyLeft);
    playKeyDown(f.host, kKeyUp);
    EXPECT_TRUE(f.v().keyCell == at(1, 0)) << "up runs over the hole to the next cell";
    playKeyDown(f.host, kKeyUp);
    EXPECT_TRUE(f.v().keyCell == at(1, 0)) << "and stops at the edge";
    playKeyDown(f.host, kKeyLeft);
    playKeyDown(f.host, kKeyDown);
    EXPECT_TRUE(f.v().keyCell == at(0, 1));
    f.step(10);
    EXPECT_TRUE(f.v().hover == at(0, 1)) << "the cursor is the hover: the path shows";
    EXPECT_GT(f.v().preview.steps, 0);
    const base::Vec2 pointer = f.v().cursor;
    playKeyDown(f.host, kKeyEnter);
    ASSERT_TRUE(g.moveInFlight);
    EXPECT_TRUE(g.moveFrom == at(2, 2));
    EXPECT_TRUE(g.moveTarget == at(0, 1));
    EXPECT_EQ(f.v().cursor.x, pointer.x) << "the pointer stays where the mouse left it";
    f.step(1500);
    // Right runs over the holes of the middle row to the next cell, and stops
    // at the edge.
    for (int i = 0; i < 4; ++i) playKeyDown(f.host, kKeyRight);
    EXPECT_TRUE(f.v().keyCell == at(4, 1));

    // Escape: first the cursor goes, then the menu opens as ever.
    playKeyDown(f.host, kKeyEscape);
    EXPECT_FALSE(f.v().keyCursorShown);
    EXPECT_TRUE(opened.empty());
    playKeyDown(f.host, kKeyEscape);
    EXPECT_EQ(opened, "gameplay");
    // The mouse hides it; with it hidden Enter does what it always did.
    playKeyDown(f.host, kKeyDown);
    ASSERT_TRUE(f.v().keyCursorShown);
    playMouseMove(f.host, pointOf(3, 0));
    EXPECT_FALSE(f.v().keyCursorShown);
    g_playHooks.openScreen = nullptr;
}

TEST_F(PlayInput, RightClickLeavesTheQuestionCursor) {
    f.click(kQuestionButtonCentre);
    playRightButtonDown(f.host);
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
}

TEST(PlayerPosition, AdvancesThroughStagesAndWrapsAfterTheLast) {
    DefaultPlayer p;
    p.levelByMode[0] = 3;
    LevelAdvance a = advancePlayer(p, 0);
    EXPECT_FALSE(a.stageCompleted);
    EXPECT_EQ(p.levelByMode[0], 4);
    a = advancePlayer(p, 0);
    EXPECT_TRUE(a.stageCompleted);
    EXPECT_FALSE(a.gamePassed);
    EXPECT_EQ(p.levelByMode[0], 5);
    EXPECT_EQ(p.bestLevel[0], 5);
    p.levelByMode[2] = 69;
    a = advancePlayer(p, 2);
    EXPECT_TRUE(a.stageCompleted);
    EXPECT_TRUE(a.gamePassed);
    EXPECT_EQ(p.levelByMode[2], 0);
    EXPECT_EQ(p.bestLevel[2], 69);
}

}  // namespace
}  // namespace tessaly::game
