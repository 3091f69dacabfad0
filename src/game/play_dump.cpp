#include "game/play_dump.h"
#include "sound/sound.h"
#include "sound/sound_system.h"
#include "gfx/bolts.h"
#include "gfx/banners.h"
#include "fx/sparks.h"
#include "fx/particles.h"
#include "fx/floating_text.h"

#include <algorithm>
#include <string>

#include "base/lookups.h"
#include "base/state_dump.h"
#include "game/autoplay.h"
#include "game/panel.h"
#include "game/play_host.h"
#include "game/tips.h"

namespace tessaly::game {

namespace {

template <typename CellChar>
void dumpRows(base::JsonWriter& json, const char* key, const Board& board, CellChar cellChar) {
    json.beginArray(key);
    std::string row(kFieldColumns, '.');
    for (int y = kFieldTop; y <= kFieldBottom; ++y) {
        for (int x = kFieldLeft; x <= kFieldRight; ++x) row[size_t(x - kFieldLeft)] = cellChar(board.at(x, y));
        json.value(row);
    }
    json.endArray();
}

char digit(int v) { return char('0' + std::clamp(v, 0, 9)); }

const char* cursorName(CursorMode m) {
    switch (m) {
        case CursorMode::Hammer: return "hammer";
        case CursorMode::Question: return "question";
        default: return "normal";
    }
}

}  // namespace

char pieceCharacter(int kind) {
    if (isBallColour(kind)) return char('0' + kind);
    switch (kind) {
        case kNoPiece: return '.';
        case kJoker: return 'J';
        case kBomb: return 'B';
        case kDiamond: return 'D';
        case kSuperbomb: return 'S';
        default: return '?';
    }
}

void dumpPlayState(base::JsonWriter& json, PlayHost& host) {
    const PlayView& view = host.view();
    const GameState& game = host.game();
    json.field("active", view.active);
    json.field("mode", modeNumber(game.mode));
    json.field("levelIndex", game.levelIndex);
    const Board& board = game.board;
    dumpRows(json, "floors", board, [](const Cell& c) { return c.isCell() ? digit(c.floor) : '.'; });
    dumpRows(json, "pieces", board, [](const Cell& c) { return pieceCharacter(c.piece.kind); });
    dumpRows(json, "chains", board, [](const Cell& c) { return digit(c.hasPiece() ? c.piece.chained : 0); });
    dumpRows(json, "pending", board, [](const Cell& c) { return pieceCharacter(c.pending); });
    json.field("freeCells", board.freeCells);
    json.field("score", host.totalScore());
    json.field("shownScore", view.score.value);
    json.field("levelScore", game.levelScore);
    json.field("combo", game.combo);
    json.field("maxCombo", game.maxCombo);
    json.field("hammerCharge", game.hammerCharge);
    json.field("hammerReady", hammerReady(game));
    json.field("hammerReadyMs", view.hammerReadyMs);
    json.field("lives", host.lives());
    json.field("barTotal", game.barTotal);
    json.field("barRemaining", game.barRemaining);
    json.field("barShown", game.barShown);
    json.field("moves", game.movesMade);
    json.field("playTimeMs", game.playTimeMs);
    json.field("completeTimer", game.completeTimer);
    json.field("defeatTimer", game.defeatTimer);
    json.field("paused", !game.running);
    json.field("selectedX", game.selected.x);
    json.field("selectedY", game.selected.y);
    json.field("ballInFlight", game.moveInFlight);
    json.field("moveFromX", game.moveFrom.x);
    json.field("moveFromY", game.moveFrom.y);
    json.field("moveTargetX", game.moveTarget.x);
    json.field("moveTargetY", game.moveTarget.y);
    static constexpr const char* kRefusals[] = {"", "ballInFlight", "outOfReach", "chained"};
    json.field("refused", kRefusals[std::clamp(int(game.refused.why), 0, 3)]);
    json.field("refusedX", game.refused.cell.x);
    json.field("refusedY", game.refused.cell.y);
    json.field("refusedClicks", game.refused.count);
    json.field("lastMoveX", game.lastMoveCell.x);
    json.field("lastMoveY", game.lastMoveCell.y);
    // The cells of the flying (or last) move, its target first.
    json.beginArray("path");
    const bool flying = game.moveInFlight && game.moveFrom.valid();
    if (game.pathLength > 0 && (flying || game.lastMoveCell.valid())) {
        const base::Vec2 origin = flying ? cellCentre(game.moveFrom) : cellCentre(game.lastMoveCell) - game.path[0];
        for (int i = 0; i <= game.pathLength && i < kMaxPathPoints; ++i) {
            const CellRef c = cellAtPoint(origin + game.path[size_t(i)]);
            json.value(std::to_string(c.x) + "," + std::to_string(c.y));
        }
    }
    json.endArray();
    json.field("cursorMode", cursorName(game.cursorMode));
    const TipRequest* tip = openTip(view.tips);
    json.field("tipOpen", tip ? tip->title : "");
    json.field("tipsQueued", view.tips.count);
    json.field("tipWaitMs", view.tips.count > 0 ? view.tips.items[0].delayMs : 0.0f);
    json.field("menuOpen", host.overlayOpen());
    json.field("scene", view.scene);
    json.field("previewSteps", view.preview.steps);
    const Autoplay& a = g_autoplay;
    json.beginObject("autoplay");
    json.field("enabled", a.enabled);
    json.field("moves", a.moves);
    json.field("levelsWon", a.levelsWon);
    json.field("levelsLost", a.levelsLost);
    json.field("sideActions", a.sideActions);
    json.field("problems", a.problems);
    json.field("firstProblem", a.firstProblem);
    json.field("lostInputs", a.lostInputs);
    json.field("maxFrameCpuMs", a.maxFrameCpuMs);
    json.field("slowFrames", a.slowFrames);
    json.endObject();
}

void dumpLookupMisses(base::JsonWriter& json) {
    const base::LookupMisses& m = base::g_lookupMisses;
    static constexpr const char* kKinds[int(base::LookupKind::Count)] = {"textures", "sounds", "effects", "texts"};
    for (int k = 0; k < int(base::LookupKind::Count); ++k) {
        json.field(kKinds[k], m.counts[k]);
        json.field(std::string("last_") + kKinds[k], m.lastName[k]);
    }
    json.field("total", m.total());
}

void dumpPoolUse(base::JsonWriter& json) {
    struct Pool {
        const char* name;
        const base::PoolUse& use;
        int capacity;
    };
    const sound::SoundSystem& sound = sound::g_sound;
    const Pool pools[] = {
        {"particles", fx::g_particles.particleUse, fx::kMaxParticles},
        {"particleEmitters", fx::g_particles.emitterUse, fx::kMaxEmitters},
        {"particleQuads", fx::g_particles.quadUse, fx::kMaxParticleQuads},
        {"sparks", fx::g_sparks.sparkUse, fx::kMaxSparks},
        {"sparkQueue", fx::g_sparks.queueUse, fx::kMaxSparkQueue},
        {"sparkEmitters", fx::g_sparks.emitterUse, fx::kMaxSparkEmitters},
        {"floatingTexts", fx::g_floatingTexts.use, fx::kMaxFloatingTexts},
        {"bannerLetters", gfx::g_banners.use, gfx::kMaxBannerLetters},
        {"bolts", gfx::g_bolts.use, gfx::kMaxBolts},
        {"soundRequests", sound.requestUse, sound::kRequestRingSize},
    };
    int64_t dropped = 0;
    for (const Pool& p : pools) dropped += p.use.dropped;
    json.field("droppedTotal", dropped);
    for (const Pool& p : pools) {
        json.beginObject(p.name);
        json.field("capacity", p.capacity);
        json.field("highWater", p.use.highWater);
        json.field("replaced", p.use.replaced);
        json.field("dropped", p.use.dropped);
        json.endObject();
    }
}

}  // namespace tessaly::game
