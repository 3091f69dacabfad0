// The rules of play under load: the removal pass and the hint search on the
// whole 20 x 15 field, and whole levels played by the greedy player, all
// headless (the rules never draw).
#include <benchmark/benchmark.h>

#include <memory>

#include "base/random.h"
#include "data/registry.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/game_state.h"
#include "game/greedy_player.h"
#include "game/removal.h"
#include "game/spawn.h"

namespace {

using namespace tessaly;
using namespace tessaly::game;

void place(GameState& g, int x, int y, int kind) {
    Cell& c = g.board.at(x, y);
    c.floor = 0;
    c.scale = 1;
    if (kind != kNoPiece) {
        c.piece = newPiece(kind);
        c.piece.appear = 0;
    }
}

// Every cell of the field filled; no two neighbours alike in any direction,
// so the pass finds no line.
std::unique_ptr<GameState> fullBoardWithoutLines() {
    auto g = std::make_unique<GameState>();
    clearBoard(g->board);
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) place(*g, x, y, (x + 3 * y) % 5);
    g->board.freeCells = 0;
    g->barTotal = g->barRemaining = 1e9f;
    return g;
}

// The full field with a line of three in every other row, one of them
// through a bomb, one through a diamond.
std::unique_ptr<GameState> fullBoardWithLines() {
    auto g = fullBoardWithoutLines();
    for (int y = kFieldTop; y <= kFieldBottom; y += 2)
        for (int x = kFieldLeft + 2; x < kFieldLeft + 5; ++x) g->board.at(x, y).piece.kind = 6;
    g->board.at(kFieldLeft + 3, kFieldTop + 4).piece.kind = kBomb;
    g->board.at(kFieldLeft + 3, kFieldTop + 10).piece.kind = kDiamond;
    return g;
}

// Two thirds of the field filled with seven colours, no line standing.
std::unique_ptr<GameState> twoThirdsBoard(uint32_t seed) {
    auto g = std::make_unique<GameState>();
    clearBoard(g->board);
    base::seedRandom(seed);
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) place(*g, x, y, kNoPiece);
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            if (base::randomBelow(3) == 0) continue;
            for (int tries = 0; tries < 10; ++tries) {
                place(*g, x, y, base::randomBelow(7));
                if (findLines(g->board, x, y) == 0) break;
                g->board.at(x, y).piece = Piece{};
            }
        }
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) g->board.at(x, y).marked = 0;
    g->board.freeCells = countFreeCells(g->board);
    return g;
}

void BM_RemovalPassFullFieldNoLines(benchmark::State& state) {
    auto g = fullBoardWithoutLines();
    for (auto _ : state) benchmark::DoNotOptimize(removalPass(*g, false));
}
BENCHMARK(BM_RemovalPassFullFieldNoLines);

void BM_RemovalPassFullFieldWithLinesAndBlasts(benchmark::State& state) {
    auto prepared = fullBoardWithLines();
    auto g = std::make_unique<GameState>(*prepared);
    int removed = 0;
    for (auto _ : state) {
        g->board = prepared->board;  // 97 KB copy, part of the figure
        g->scores.count = g->scores.live = 0;
        removed = removalPass(*g, false);
        benchmark::DoNotOptimize(removed);
    }
    state.counters["removed"] = removed;
}
BENCHMARK(BM_RemovalPassFullFieldWithLinesAndBlasts);

void BM_BoardCopyAlone(benchmark::State& state) {
    auto prepared = fullBoardWithLines();
    auto g = std::make_unique<GameState>(*prepared);
    for (auto _ : state) {
        g->board = prepared->board;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BoardCopyAlone);

void BM_HintSearchTwoThirdsFull(benchmark::State& state) {
    auto g = twoThirdsBoard(17);
    CellRef ball, target;
    bool found = false;
    for (auto _ : state) {
        found = findHint(*g, ball, target);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found;
}
BENCHMARK(BM_HintSearchTwoThirdsFull);

void BM_HintSearchNoMoveOnFullField(benchmark::State& state) {
    // A full field but for one cell, where no piece makes a line: every
    // cell is tried and nothing is found.
    auto g = fullBoardWithoutLines();
    g->board.at(kFieldLeft + 7, kFieldTop + 7).piece = Piece{};
    g->board.freeCells = 1;
    CellRef ball, target;
    for (auto _ : state) benchmark::DoNotOptimize(findHint(*g, ball, target));
}
BENCHMARK(BM_HintSearchNoMoveOnFullField);

void BM_GreedyMoveChoiceTwoThirdsFull(benchmark::State& state) {
    auto g = twoThirdsBoard(23);
    CellRef ball, target;
    for (auto _ : state) benchmark::DoNotOptimize(chooseGreedyMove(*g, ball, target));
}
BENCHMARK(BM_GreedyMoveChoiceTwoThirdsFull);

// A whole level played by the greedy player at a 50 ms step.
void BM_GreedyWholeLevel(benchmark::State& state) {
    data::g_registry.dataFolder = TESSALY_DATA_DIR;
    const int level = int(state.range(0));
    const Mode mode = Mode(state.range(1));
    GreedyResult r;
    for (auto _ : state) {
        auto g = std::make_unique<GameState>();
        g->mode = mode;
        base::seedRandom(uint32_t(1000 + level * 31 + int(mode) * 7));
        if (!startLevel(*g, level)) {
            state.SkipWithError("level not found: build the data set first");
            return;
        }
        r = playGreedy(*g);
        data::g_registry.clear();
    }
    state.counters["moves"] = r.moves;
    state.counters["frames"] = r.frames;
    state.counters["won"] = r.won;
    state.counters["us_per_frame"] = benchmark::Counter(
        double(r.frames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GreedyWholeLevel)
    ->Args({10, 0})
    ->Args({40, 0})
    ->Args({40, 1})
    ->Args({40, 2})
    ->Args({69, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
