// Sections: line search | the pass (blasts, removal, combo, hammer, bonus,
// awards) | removing pieces, chains and squares | score items and sparks.
#include "game/removal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/format_text.h"
#include "data/text.h"
#include "game/spawn.h"
#include "sound/sound.h"

namespace tessaly::game {

namespace {

// The four directions in search order: diagonal, anti-diagonal, horizontal,
// vertical. A run is walked back against the step, then counted along it.
constexpr int kDirections[4][2] = {{1, 1}, {-1, 1}, {1, 0}, {0, 1}};

void markRun(Board& board, CellRef start, int dx, int dy, int length) {
    for (int i = 0; i < length; ++i) board.at(start.x + dx * i, start.y + dy * i).marked = 1;
}

bool matchesAt(const Board& board, int x, int y, int colour) {
    return inArray(x, y) && isMatch(board, x, y, colour);
}

}  // namespace

// ---------------------------------------------------------------------------
// Line search

int runThrough(const Board& board, int x, int y, int dx, int dy, int colour, CellRef* start) {
    int sx = x, sy = y;
    while (matchesAt(board, sx - dx, sy - dy, colour)) {
        sx -= dx;
        sy -= dy;
    }
    int n = 0;
    for (int cx = sx, cy = sy; matchesAt(board, cx, cy, colour); cx += dx, cy += dy) ++n;
    if (start) *start = {sx, sy};
    return n;
}

int verticalColour(const Board& board, int x, int y, int kind) {
    int cy = y - 1;
    while (cy >= 0 && board.at(x, cy).piece.kind == kJoker) --cy;
    if (cy < 0) return kind;
    const int found = board.at(x, cy).piece.kind;
    return found == kNoPiece ? kind : found;
}

int findLines(Board& board, int x, int y) {
    const int kind = board.at(x, y).piece.kind;
    if (kind == kNoPiece) return 0;
    int longest = 0;
    for (int d = 0; d < 4; ++d) {
        const int dx = kDirections[d][0], dy = kDirections[d][1];
        int colour = kind;
        if (d == 3 && isSpecial(kind)) colour = verticalColour(board, x, y, kind);
        CellRef start;
        const int n = runThrough(board, x, y, dx, dy, colour, &start);
        if (n >= board.minLine) {
            markRun(board, start, dx, dy, n);
            longest = std::max(longest, n);
        }
    }
    return longest;
}

bool standsInLine(const Board& board, int x, int y) {
    if (!board.at(x, y).hasPiece()) return false;
    for (int d = 0; d < 4; ++d) {
        const int dx = kDirections[d][0], dy = kDirections[d][1];
        // Every run through (x, y) lies inside the unbroken row of pieces
        // through it, so the searches that could find one start there.
        int sx = x, sy = y;
        while (inArray(sx - dx, sy - dy) && board.at(sx - dx, sy - dy).hasPiece()) {
            sx -= dx;
            sy -= dy;
        }
        for (int cx = sx, cy = sy; inArray(cx, cy) && board.at(cx, cy).hasPiece(); cx += dx, cy += dy) {
            const int kind = board.at(cx, cy).piece.kind;
            const int colour = d == 3 && isSpecial(kind) ? verticalColour(board, cx, cy, kind) : kind;
            CellRef start;
            const int n = runThrough(board, cx, cy, dx, dy, colour, &start);
            if (n < board.minLine) continue;
            // Steps from the run's first cell to (x, y); every direction but
            // the horizontal one steps one row down at a time.
            const int k = dy != 0 ? y - start.y : x - start.x;
            if (k >= 0 && k < n) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// The pass

namespace {

void forEachWindowCellByRows(auto&& visit) {
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x) visit(x, y);
}

// Marks the cells of a bomb's or superbomb's area (cells only). Returns true
// when the area holds a special, which the blasting piece itself is.
bool blastArea(Board& board, int x, int y, int radius2) {
    bool special = false;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy) {
            if (dx * dx + dy * dy >= radius2) continue;
            Cell& cell = board.at(x + dx, y + dy);
            if (!cell.isCell()) continue;
            cell.marked = 1;
            special = special || isSpecial(cell.piece.kind);
        }
    return special;
}

void addDiamondSpark(GameState& game, base::Vec2 from, base::Vec2 to) {
    DiamondSpark& s = game.diamondSparks[game.nextDiamondSpark];
    s = {from, to, kDiamondSparkMs};
    game.nextDiamondSpark = (game.nextDiamondSpark + 1) % kMaxDiamondSparks;
}

// A marked diamond takes the colours of the marked balls around it (or, with
// none, of the first marked ball of every row) and marks every ball of those
// colours on the board.
void diamondSweep(GameState& game, int x, int y) {
    Board& board = game.board;
    bool chosen[10] = {};
    bool any = false;
    static constexpr int kAround[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1},
                                          {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& d : kAround) {
        const Cell& c = board.at(x + d[0], y + d[1]);
        if (c.marked && c.piece.kind >= 0 && c.piece.kind <= 9) {
            chosen[c.piece.kind] = true;
            any = true;
        }
    }
    if (!any) {
        for (int ry = kFieldTop; ry <= kFieldBottom; ++ry)
            for (int rx = kFieldLeft; rx <= kFieldRight; ++rx) {
                const Cell& c = board.at(rx, ry);
                if (c.marked && c.piece.kind >= 0 && c.piece.kind <= 9) {
                    chosen[c.piece.kind] = true;
                    break;
                }
            }
    }
    bool swept = false;
    const base::Vec2 from = cellCentre(x, y);
    forEachWindowCellByRows([&](int cx, int cy) {
        Cell& c = board.at(cx, cy);
        if (c.marked || c.piece.kind < 0 || c.piece.kind > 9 || !chosen[c.piece.kind]) return;
        c.marked = 1;
        addDiamondSpark(game, from, cellCentre(cx, cy));
        swept = true;
    });
    if (swept) sound::playSound("diamond0.ogg");
}

void runBlasts(GameState& game) {
    Board& board = game.board;
    for (int round = 0; round < kMaxBlastRounds; ++round) {
        bool again = false;
        forEachWindowCellByRows([&](int x, int y) {
            const Cell& cell = board.at(x, y);
            if (!cell.marked) return;
            switch (cell.piece.kind) {
                case kBomb: again = blastArea(board, x, y, kBombRadius2) || again; break;
                case kSuperbomb: again = blastArea(board, x, y, kSuperbombRadius2) || again; break;
                case kDiamond:
                    diamondSweep(game, x, y);
                    again = true;
                    break;
                default: break;
            }
        });
        if (!again) break;
    }
}

void showText(GameState& game, const char* text, TextSource source, base::Vec2 at, float size,
              float ms) {
    game.host->floatingText(text, source, at, size, ms);
}

void chargeHammer(GameState& game, int removed) {
    if (!game.level.hammerEnabled || game.hammerCharge >= 1.0f) return;
    game.hammerCharge += float(removed) * float(game.combo) * 0.03f;
    if (game.hammerCharge < 1.0f) return;
    game.hammerCharge = 1.0f;
    sound::playSound("gethammer.ogg");
    if (!game.host->tipShown(Tip::HammerFull)) {
        game.host->showTip(tipName(Tip::HammerFull), {320.0f, -230.0f}, 2000.0f, kNoCell);
        game.host->markTipShown(Tip::HammerFull);
    } else {
        showText(game, "readyhammer", TextSource::Key, {0.0f, -265.0f}, 22.0f, 4000.0f);
    }
}

bool bonusesAllowed(GameState& game) {
    return game.levelIndex >= 2 || game.mode == Mode::Action || game.host->furthestLevel() > 1;
}

void sweepBoard(GameState& game) {
    sound::playSound("deleteballs.ogg");
    clearAllPieces(game);
}

void announceTurn(GameState& game) {
    arriveBalls(game);
    announceBalls(game, game.level.addBalls);
}

void giveAwards(GameState& game) {
    const PassTallies& t = game.tallies;
    const int removedForExcellent = 15 + 5 * modeNumber(game.mode);
    if (t.superbombs >= 3) {
        sweepBoard(game);
        forEachWindowCellByRows([&](int x, int y) {
            if (game.board.at(x, y).floor > 0) breakSquareLayer(game, x, y);
        });
        game.barRemaining = 0;
        announceTurn(game);
    } else if (t.bombs + t.diamonds >= 3) {
        sweepBoard(game);
        announceTurn(game);
        addScore(game, kAwardScorePoint, 5000);
        showText(game, "megamatch", TextSource::Key, kAwardTextPoint, 27.0f, 2500.0f);
        showText(game, "+5000", TextSource::Literal, kAwardAmountPoint, 27.0f, 2500.0f);
    } else if (t.removed > removedForExcellent) {
        sound::playSound("excellent.ogg");
        showText(game, game.excellentToggle ? "perfect" : "excellent", TextSource::Key, kAwardTextPoint,
                 27.0f, 2500.0f);
        game.excellentToggle = !game.excellentToggle;
    } else if (t.bombs + t.diamonds + t.jokers >= 3) {
        addScore(game, kAwardScorePoint, 1000);
        showText(game, "supermatch", TextSource::Key, kAwardTextPoint, 27.0f, 2500.0f);
        showText(game, "+1000", TextSource::Literal, kAwardAmountPoint, 27.0f, 2500.0f);
        sound::playSound("excellent.ogg");
    }
}

}  // namespace

int removalPass(GameState& game, bool afterMove) {
    Board& board = game.board;
    beginScoreGroup(game);
    const int firstItem = game.scores.count;

    // 1. Clear the scratch flags.
    forEachWindowCellByRows([&](int x, int y) {
        board.at(x, y).marked = 0;
        board.at(x, y).piece.visited = 0;
    });

    // 2. Lines.
    int maxRun = 0;
    forEachWindowCellByRows([&](int x, int y) { maxRun = std::max(maxRun, findLines(board, x, y)); });

    // 3. Blasts.
    runBlasts(game);

    // 4. Tally the specials taking part.
    forEachWindowCellByRows([&](int x, int y) {
        const Cell& c = board.at(x, y);
        if (!c.marked) return;
        switch (c.piece.kind) {
            case kJoker: ++game.tallies.jokers; break;
            case kBomb: ++game.tallies.bombs; break;
            case kDiamond: ++game.tallies.diamonds; break;
            case kSuperbomb:
                ++game.tallies.bombs;
                ++game.tallies.superbombs;
                break;
            default: break;
        }
    });

    // 5. Removal.
    int removed = 0;
    forEachWindowCellByRows([&](int x, int y) {
        Cell& c = board.at(x, y);
        if (!c.marked) return;
        if (c.hasPiece()) {
            ++removed;
            if (c.piece.chained > 0)
                breakChain(game, x, y);
            else
                removePiece(game, x, y);
        } else if (c.floor > 0) {
            breakSquareLayer(game, x, y);
        }
    });

    // 6. Combo, hammer and bonus pieces.
    if (!game.demo) {
        if (removed > 0) {
            game.combo = std::min(kMaxCombo, game.combo + 1);
            if (game.combo >= 2) {
                game.moveCounter = std::max(-kMaxMoveCount, game.moveCounter - game.combo);
                game.maxCombo = std::max(game.maxCombo, game.combo);
                // "Combo x %i" in the player's language; the English words
                // when the table lacks them.
                char text[64];
                if (!data::formatText(text, sizeof text, data::findText("combo"), {game.combo}))
                    std::snprintf(text, sizeof text, "Combo x %i", game.combo);
                const base::Vec2 at = game.lastMoveCell.valid() ? cellCentre(game.lastMoveCell)
                                                              : base::Vec2{-40.0f, 0.0f};
                showText(game, text, TextSource::Literal, at, 20.0f, 2000.0f);
            }
            chargeHammer(game, removed);
            // Bonuses go to the cell of the last move; a pass that removed
            // nothing earns none, whatever the running combo.
            if (bonusesAllowed(game) && game.lastMoveCell.valid()) {
                if (maxRun >= board.minLine + 2) giveBonus(game, kSuperbomb);
                if (game.combo >= 2 && game.combo % 2 == 0)
                    giveBonus(game, kDiamond);
                else if (maxRun == board.minLine + 1)
                    giveBonus(game, kBomb);
            }
        } else if (afterMove) {
            game.combo = 0;
        }
    }

    // 7. Awards.
    giveAwards(game);

    // The pass's items pay with the pass's combo and diamond count.
    ScoreQueue& q = game.scores;
    for (int i = firstItem; i < q.count; ++i) {
        q.items[i].combo = game.combo;
        q.items[i].diamondsInPass = game.tallies.diamonds;
    }

    // 8. Reset the tallies.
    game.tallies = {};
    return removed;
}

// ---------------------------------------------------------------------------
// Removing pieces, chains and squares

void beginScoreGroup(GameState& game) {
    ScoreQueue& q = game.scores;
    ++q.passNumber;
    q.passItems = 0;
}

namespace {

void payItem(GameState& game, const ScoreItem& item);

void queueScoreItem(GameState& game, base::Vec2 at, int kind, bool onSquare) {
    ScoreQueue& q = game.scores;
    ScoreItem item;
    item.at = at;
    item.kind = kind;
    item.onSquare = onSquare;
    item.waitMs = float(std::min(q.passItems, 5)) * kScoreItemStaggerMs;
    item.combo = game.combo;
    item.diamondsInPass = game.tallies.diamonds;
    item.pass = q.passNumber;
    ++q.passItems;
    if (q.count >= kMaxScoreItems) {
        // Full: the piece pops at once rather than losing its points.
        item.done = true;
        payItem(game, item);
        return;
    }
    q.items[q.count++] = item;
    ++q.live;
}

}  // namespace

void removePiece(GameState& game, int x, int y) {
    Cell& cell = game.board.at(x, y);
    if (!cell.hasPiece()) return;
    queueScoreItem(game, cellCentre(x, y), cell.piece.kind, cell.floor > 0);
    ++game.tallies.removed;
    cell.piece = Piece{};
    if (cell.floor > 0) breakSquareLayer(game, x, y);
    ++game.board.freeCells;
}

void breakChain(GameState& game, int x, int y) {
    Cell& cell = game.board.at(x, y);
    if (cell.piece.chained <= 0) return;
    --cell.piece.chained;
    const base::Vec2 at = cellCentre(x, y);
    game.host->playEffect("chain1", at, cell.piece.kind);
    game.host->playEffect("chain2", at, cell.piece.kind);
    sound::playSound("chain.ogg");
    addScore(game, at, 50);
}

void breakSquareLayer(GameState& game, int x, int y) {
    Cell& cell = game.board.at(x, y);
    if (cell.floor <= 0) return;
    const int before = cell.floor--;
    const base::Vec2 at = cellCentre(x, y);
    if (before <= 2) {
        game.host->playEffect("square1", at, -1);
        game.host->playEffect("square2", at, -1);
        sound::playSound("square.ogg");
        ++game.brokenSquares;
    }
    // Every layer counts towards a Puzzle level's bar, whose total is the sum
    // of all layers, so that stronger squares can be finished too.
    if (game.mode == Mode::Puzzle && !game.demo) sendProgress(game, at, 1.0f);
}

void clearAllPieces(GameState& game) {
    forEachWindowCellByRows([&](int x, int y) {
        Cell& c = game.board.at(x, y);
        if (!c.hasPiece()) return;
        if (c.piece.chained > 0)
            breakChain(game, x, y);
        else
            removePiece(game, x, y);
    });
}

// ---------------------------------------------------------------------------
// Score items and sparks

void addScore(GameState& game, base::Vec2 at, int points) {
    if (game.demo) return;
    GameHost& host = *game.host;
    if (!host.gameScreenCurrent() || host.overlayOpen()) return;
    if (game.completeTimer > 0 && game.completeTimer < 8000.0f) return;
    const int total = host.totalScore();
    if (total % 100000 + points >= 100000) {
        host.addLife();
        sound::playSound("addlife.ogg");
        host.floatingText("gottalife", TextSource::Key, {-40.0f, -100.0f}, 27.0f, 2500.0f);
    }
    host.addToTotalScore(points);
    game.levelScore = int32_t(std::min<int64_t>(kMaxLevelScore, int64_t(game.levelScore) + points));
    host.scorePopup(at, points);
}

float barFraction(const GameState& game) {
    if (game.barTotal <= 0) return 1.0f;
    return (game.barTotal - game.barRemaining) / game.barTotal;
}

void progressReachesBar(GameState& game, float amount) {
    game.barRemaining = std::max(0.0f, game.barRemaining - amount);
    sound::playSoundAtRate("score.ogg", int(15000.0f + 40000.0f * barFraction(game)));
}

void sendProgress(GameState& game, base::Vec2 from, float amount) {
    if (amount <= 0) return;
    for (ProgressSpark& s : game.progressSparks) {
        if (s.flightMs > 0) continue;
        s = {from, amount, kProgressSparkFlightMs};
        return;
    }
    progressReachesBar(game, amount);  // every slot flying: arrive at once
}

namespace {

float barFeed(const GameState& game, int combo) {
    const float c = float(combo);
    switch (game.mode) {
        case Mode::Action: return std::sqrt(c);
        case Mode::Classic: return game.levelIndex >= 6 ? c : std::pow(c * c * c, 0.25f);
        default: return 0.0f;
    }
}

void payItem(GameState& game, const ScoreItem& item) {
    GameHost& host = *game.host;
    switch (item.kind) {
        case kBomb:
            host.playEffect("bomb1", item.at, item.kind);
            host.playEffect("bomb2", item.at, item.kind);
            sound::playSound("bomb1.ogg");
            break;
        case kSuperbomb:
            host.playEffect("dbomb1", item.at, item.kind);
            host.playEffect("dbomb2", item.at, item.kind);
            sound::playSound("bomb2.ogg");
            break;
        case kDiamond:
            host.playEffect("diamond1", item.at, item.kind);
            host.playEffect("diamond2", item.at, item.kind);
            sound::playSound("diamond.ogg");
            break;
        default:
            host.playEffect("ball1", item.at, item.kind);
            host.playEffect("ball2", item.at, item.kind);
            if (game.scores.ballSoundPass != item.pass) {
                game.scores.ballSoundPass = item.pass;
                const int step = game.mode == Mode::Action ? 2000 : 5000;
                sound::playSoundAtRate("ball.ogg", 35000 + item.combo * step);
            }
            break;
    }
    int points = item.combo * 10 + (item.onSquare ? 100 : 0);
    if (item.kind == kDiamond) points += 100 * item.diamondsInPass;
    if (points > 0) addScore(game, item.at, points);
    if (!game.demo) sendProgress(game, item.at, barFeed(game, item.combo));
}

}  // namespace

void stepScoreItems(GameState& game, float dtMs) {
    ScoreQueue& q = game.scores;
    for (int i = 0; i < q.count; ++i) {
        ScoreItem& item = q.items[i];
        if (item.done) continue;
        if (item.waitMs > 0) {
            item.waitMs -= dtMs;
            continue;
        }
        item.popMs += dtMs;
        if (item.popMs < kScoreItemPopMs) continue;
        item.done = true;
        --q.live;
        payItem(game, item);
    }
    if (q.live <= 0) {
        q.count = 0;
        q.live = 0;
    }
}

void stepSparks(GameState& game, float dtMs) {
    for (DiamondSpark& s : game.diamondSparks)
        if (s.lifeMs > 0) s.lifeMs -= dtMs;
    for (ProgressSpark& s : game.progressSparks) {
        if (s.flightMs <= 0) continue;
        s.flightMs -= dtMs;
        if (s.flightMs <= 0) progressReachesBar(game, s.amount);
    }
}

}  // namespace tessaly::game
