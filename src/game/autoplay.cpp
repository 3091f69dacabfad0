#include "game/autoplay.h"

#include "base/frame_clock.h"

#include <cmath>
#include <cstdio>

#include "fx/balloon.h"
#include "game/flow.h"
#include "game/greedy_player.h"
#include "game/panel.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "game/tips.h"

namespace tessaly::game {

namespace {

using Kind = AutoplayAction::Kind;

AutoplayAction click(base::Vec2 at) {
    AutoplayAction a;
    a.kind = Kind::Click;
    a.at = at;
    return a;
}
AutoplayAction key(int k) {
    AutoplayAction a;
    a.kind = Kind::Key;
    a.key = k;
    return a;
}

void plan(Autoplay& a, AutoplayAction action) {
    if (a.queued < kMaxAutoplayQueue) a.queue[size_t(a.queued++)] = action;
}

AutoplayAction takeQueued(Autoplay& a) {
    const AutoplayAction first = a.queue[0];
    for (int i = 1; i < a.queued; ++i) a.queue[size_t(i - 1)] = a.queue[size_t(i)];
    --a.queued;
    return first;
}

bool boardBusy(const GameState& game) {
    if (game.moveInFlight || game.scores.live > 0) return true;
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            const Piece& p = game.board.at(x, y).piece;
            if (p.kind != kNoPiece && (p.appear > 0 || p.shakeMs > 0)) return true;
        }
    return false;
}

// The first cell of the window that passes `test`, in board order.
template <typename Test>
bool findCell(const GameState& game, CellRef& out, Test test) {
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x)
            if (test(game.board.at(x, y))) {
                out = {x, y};
                return true;
            }
    return false;
}

// A point of the board area that is no cell (where a double click pauses).
bool findEmptySpace(const GameState& game, base::Vec2& out) {
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x) {
            const base::Vec2 c = cellCentre(x, y);
            if (c.x < -360.0f || c.x > 290.0f) continue;
            if (!game.board.at(x, y).isCell()) {
                out = c;
                return true;
            }
        }
    return false;
}

// What the question cursor is tried on next: the panel's areas, then one
// cell of each kind the board has.
bool questionTarget(const GameState& game, int step, base::Vec2& out) {
    static const base::Vec2 kPanelPoints[] = {
        base::centre(kScoreArea),       base::centre(kLevelNumberArea), base::centre(kLivesArea),
        base::centre(kLevelBarArea),    base::centre(kMenuButtonArea),  base::centre(kRelaxButtonArea),
        kSceneButtonCentres[0],       kSceneButtonCentres[1],       kSceneButtonCentres[2],
        base::centre(kHammerButtonArea)};
    constexpr int kPanel = int(std::size(kPanelPoints));
    if (step < kPanel) {
        out = kPanelPoints[step];
        return true;
    }
    CellRef c;
    bool found = false;
    switch (step - kPanel) {
        case 0: found = findCell(game, c, [](const Cell& k) { return isBallColour(k.piece.kind) && k.piece.chained == 0; }); break;
        case 1: found = findCell(game, c, [](const Cell& k) { return isSpecial(k.piece.kind) && k.piece.chained == 0; }); break;
        case 2: found = findCell(game, c, [](const Cell& k) { return k.hasPiece() && k.piece.chained > 0; }); break;
        case 3: found = findCell(game, c, [](const Cell& k) { return k.isFree() && k.pending != kNoPiece; }); break;
        case 4: found = findCell(game, c, [](const Cell& k) { return k.isFree() && k.pending == kNoPiece && k.floor == 0; }); break;
        case 5: found = findCell(game, c, [](const Cell& k) { return k.isFree() && k.pending == kNoPiece && k.floor == 1; }); break;
        case 6: found = findCell(game, c, [](const Cell& k) { return k.isFree() && k.pending == kNoPiece && k.floor >= 2; }); break;
        case 7: return findEmptySpace(game, out);
        default: return false;
    }
    if (found) out = cellCentre(c);
    return found;
}
constexpr int kQuestionSteps = 18;

// Something other than a move, now and then, so that a long run passes
// through every part of the screen.
bool planSideAction(Autoplay& a, const GameState& game) {
    const int m = a.moves;
    if (game.hammerCharge >= 1.0f && game.level.hammerEnabled && m % 3 == 0) {
        CellRef piece;
        if (findCell(game, piece, [](const Cell& k) { return k.hasPiece(); })) {
            plan(a, click(base::centre(kHammerButtonArea)));
            plan(a, click(cellCentre(piece)));
            return true;
        }
    }
    if (m % 6 == 2) {
        base::Vec2 target;
        for (int tries = 0; tries < kQuestionSteps; ++tries) {
            const int step = a.questionStep;
            a.questionStep = (a.questionStep + 1) % kQuestionSteps;
            if (!questionTarget(game, step, target)) continue;
            plan(a, click(kQuestionButtonCentre));
            plan(a, click(target));
            return true;
        }
    }
    switch (m % 40) {
        case 9: plan(a, click(base::centre(kRelaxButtonArea))); plan(a, click({0, 0})); return true;
        case 17: plan(a, click(kSceneButtonCentres[(m / 40) % kSceneCount])); return true;
        case 23: plan(a, key(kKeyEscape)); plan(a, click({0, 0})); return true;
        case 29: plan(a, key(kKeySpace)); plan(a, key('A')); return true;
        case 35: {
            base::Vec2 space;
            if (!findEmptySpace(game, space)) return false;
            AutoplayAction doubleClick = click(space);
            doubleClick.kind = Kind::DoubleClick;
            plan(a, doubleClick);
            plan(a, click({0, 0}));
            return true;
        }
        default: return false;
    }
}

}  // namespace

AutoplayAction nextAutoplayAction(Autoplay& a, PlayHost& host, float dtMs) {
    if (!a.enabled || !host.view().active) return {};
    if (a.waitMs > 0) {
        a.waitMs -= dtMs;
        return {};
    }
    a.waitMs = kAutoplayPauseMs;
    const PlayView& view = host.view();
    GameState& game = host.game();

    // The menus over the board (the in-game menu, the result screens) are
    // answered by the shell, which knows them.
    if (host.overlayOpen()) {
        a.queued = 0;
        return {};
    }
    if (game.completeTimer > 0) {
        // Every other won level is hurried on by a click.
        if ((a.levelsWon % 2 == 1) && game.completeTimer < 5000.0f) return click({0, 0});
        return {};
    }
    if (game.defeatTimer > 0 || game.moveInFlight) return {};
    if (tipIsOpen(view.tips)) {
        const base::Rect& r = fx::g_balloon.continueRect;
        return click(r.left < r.right ? base::centre(r) : base::Vec2{-40, 200});
    }
    if (a.queued > 0) {
        const AutoplayAction next = takeQueued(a);
        // Only a send whose ball is still selected must start a move: the
        // player's own clicks between (a tip's button, a side action) may
        // have let the ball go.
        if (next.moveFrom.valid() && game.selected == next.moveFrom) {
            a.checkingMove = true;
            a.checkFrom = next.moveFrom;
            a.checkTo = next.moveTo;
            a.movesBefore = game.movesMade;
        }
        return next;
    }
    if (!game.running) return click({0, 0});
    if (boardBusy(game)) return {};

    if (planSideAction(a, game)) {
        ++a.sideActions;
        ++a.moves;  // so the next decision is a move again
        return takeQueued(a);
    }
    CellRef ball, target;
    if (!chooseGreedyMove(game, ball, target)) {
        a.waitMs = 500.0f;  // nothing movable now; look again later
        return {};
    }
    ++a.moves;
    AutoplayAction send = click(cellCentre(target));
    send.moveFrom = ball;
    send.moveTo = target;
    plan(a, send);
    return click(cellCentre(ball));
}

bool checkPlayInvariants(Autoplay& a, PlayHost& host) {
    const GameState& game = host.game();
    const PlayView& view = host.view();
    // Levels are counted where their end begins, whatever screens follow.
    const bool completing = game.completeTimer > 0, losing = game.defeatTimer > 0;
    if (completing && !a.wasCompleting) ++a.levelsWon;
    if (losing && !a.wasLosing) ++a.levelsLost;
    a.wasCompleting = completing;
    a.wasLosing = losing;
    const char* problem = boardProblem(game);
    char text[kAutoplayProblemLength + 1] = {};
    if (!problem && game.moveInFlight && !game.board.at(game.moveFrom).hasPiece()) problem = "a ball flies from an empty cell";
    if (!problem && (game.hammerCharge < 0 || game.hammerCharge > 1)) problem = "hammer charge outside 0..1";
    if (!problem && (game.barRemaining < 0 || game.barRemaining > game.barTotal + 0.001f))
        problem = "level bar outside its total";
    if (!problem && view.score.value > host.totalScore()) problem = "the shown score ran past the total";
    if (!problem && (view.tips.count < 0 || view.tips.count > kMaxQueuedTips)) problem = "tip queue count out of range";
    if (a.checkingMove) {
        a.checkingMove = false;
        // Dropped: no move started although the ball and the free target are
        // still there and nothing stands in the way of play.
        const bool started = game.moveInFlight || game.movesMade != a.movesBefore;
        const bool stillPossible = game.running && !host.overlayOpen() && game.board.at(a.checkFrom).hasPiece() &&
                                   game.board.at(a.checkTo).isFree();
        if (!started && stillPossible) {
            ++a.lostInputs;
            if (!problem) problem = "a click that sends a ball was dropped";
        }
    }
    if (!problem) return true;
    ++a.problems;
    if (!a.firstProblem[0]) {
        std::snprintf(text, sizeof text, "frame %llu, level %i mode %i: %s",
                      static_cast<unsigned long long>(base::g_frame.frameNumber), game.levelIndex,
                      modeNumber(game.mode), problem);
        std::snprintf(a.firstProblem, sizeof a.firstProblem, "%s", text);
    }
    return false;
}

}  // namespace tessaly::game
