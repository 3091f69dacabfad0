#include "game/tips.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/copy_text.h"
#include "game/panel.h"
#include "game/removal.h"

namespace tessaly::game {

namespace {

void copyKey(char (&out)[kTipKeyLength + 1], std::string_view key) { base::copyText(out, key); }

TipRequest makeTip(std::string_view title, std::string_view second, int icon, int tipIndex, base::Vec2 at,
                   CellRef cell, float delayMs) {
    TipRequest t;
    copyKey(t.title, title);
    copyKey(t.second, second);
    t.icon = icon;
    t.tipIndex = tipIndex;
    t.at = at;
    t.cell = cell;
    t.delayMs = delayMs;
    return t;
}

// The tip of a special piece: its name as title, what it does as second
// text, and its own picture.
TipRequest specialTip(int kind, base::Vec2 at, CellRef cell, float delayMs) {
    switch (kind) {
        case kJoker: return makeTip("jokertip", "jokertip2", kJoker, int(Tip::JokerTip), at, cell, delayMs);
        case kBomb: return makeTip("triplebomb", "triplebomb2", kBomb, int(Tip::TripleBomb), at, cell, delayMs);
        case kDiamond: return makeTip("diamond", "diamond2", kDiamond, int(Tip::Diamond), at, cell, delayMs);
        default: return makeTip("quadrobomb", "quadrobomb2", kSuperbomb, int(Tip::QuadroBomb), at, cell, delayMs);
    }
}

const char* modeHelpKey(Mode mode) {
    switch (mode) {
        case Mode::Puzzle: return "squarehelp";
        case Mode::Action: return "actionsquarehelp";
        default: return "adventsquarehelp";
    }
}

TipRequest panelTip(const GameState& game, PanelArea area) {
    auto at = [](const base::Rect& r) { return base::centre(r); };
    switch (area) {
        case PanelArea::Score: return makeTip("scoretip", {}, kNoPiece, -1, at(kScoreArea), kNoCell, 0);
        case PanelArea::LevelNumber:
            return makeTip("numleveltip", {}, kNoPiece, -1, at(kLevelNumberArea), kNoCell, 0);
        case PanelArea::Lives: return makeTip("lifetip", {}, kNoPiece, -1, at(kLivesArea), kNoCell, 0);
        case PanelArea::MenuButton: return makeTip("menutip", {}, kNoPiece, -1, at(kMenuButtonArea), kNoCell, 0);
        case PanelArea::RelaxButton:
            return makeTip("relaxtip", {}, kNoPiece, -1, at(kRelaxButtonArea), kNoCell, 0);
        case PanelArea::SceneNight:
        case PanelArea::SceneMorning:
        case PanelArea::SceneDay: {
            static constexpr const char* kKeys[kSceneCount] = {"nighttip", "morningtip", "daytip"};
            const int scene = sceneOfArea(area);
            return makeTip(kKeys[scene], {}, kNoPiece, -1, kSceneButtonCentres[scene], kNoCell, 0);
        }
        case PanelArea::HammerButton:
            if (!game.level.hammerEnabled) return {};
            return makeTip("hammertip", {}, kNoPiece, -1, at(kHammerButtonArea), kNoCell, 0);
        case PanelArea::LevelBar: {
            TipRequest t = makeTip("levelbartip", {}, kNoPiece, -1, at(kLevelBarArea), kNoCell, 0);
            t.percent = int(std::clamp(barFraction(game), 0.0f, 1.0f) * 100.0f);
            return t;
        }
        default: return {};  // the question button itself, and the panel between areas
    }
}

}  // namespace

bool queueTip(TipQueue& q, const TipRequest& tip, bool front) {
    if (q.count >= kMaxQueuedTips) return false;
    if (front) {
        // A tip already open stays open; the new one waits just behind it.
        const int at = tipIsOpen(q) ? 1 : 0;
        for (int i = q.count; i > at; --i) q.items[size_t(i)] = q.items[size_t(i - 1)];
        q.items[size_t(at)] = tip;
        if (at == 0) q.openMs = 0;
    } else {
        q.items[size_t(q.count)] = tip;
    }
    ++q.count;
    return true;
}

const TipRequest* openTip(const TipQueue& q) {
    if (q.count <= 0 || q.items[0].delayMs > 0) return nullptr;
    return &q.items[0];
}

void closeTip(TipQueue& q) {
    if (!tipIsOpen(q)) return;
    for (int i = 1; i < q.count; ++i) q.items[size_t(i - 1)] = q.items[size_t(i)];
    --q.count;
    q.items[size_t(q.count)] = TipRequest{};
    q.openMs = 0;
    if (q.count > 0 && q.items[0].firstTime) q.items[0].delayMs = std::max(q.items[0].delayMs, kFirstTimeTipGapMs);
}

void stepTips(TipQueue& q, float dtMs) {
    if (q.count <= 0) return;
    TipRequest& front = q.items[0];
    if (front.delayMs > 0) {
        front.delayMs = std::max(0.0f, front.delayMs - dtMs);
        return;
    }
    q.openMs += dtMs;
}

void clearTips(TipQueue& q) { q = TipQueue{}; }

TipRequest firstTimeTip(std::string_view n, base::Vec2 at, float delayMs, CellRef cell) {
    TipRequest t;
    if (n == "jokertip") t = specialTip(kJoker, at, cell, delayMs);
    else if (n == "triplebomb") t = specialTip(kBomb, at, cell, delayMs);
    else if (n == "diamond") t = specialTip(kDiamond, at, cell, delayMs);
    else if (n == "quadrobomb") t = specialTip(kSuperbomb, at, cell, delayMs);
    else t = makeTip(n, {}, kNoPiece, -1, at, cell, delayMs);
    t.firstTime = true;
    return t;
}

TipRequest hammerNotReadyTip(const GameState& game) {
    TipRequest t = makeTip("hammernotready", {}, kNoPiece, -1, base::centre(kHammerButtonArea), kNoCell, 0);
    // Rounded down, so that a charge short of full never reads 100.
    t.percent = std::clamp(int(game.hammerCharge * 100.0f), 0, 99);
    return t;
}

TipRequest questionTipFor(const GameState& game, base::Vec2 cursor) {
    const PanelArea area = panelAreaAt(cursor);
    if (area != PanelArea::None || cursor.x >= kScoreArea.left) return panelTip(game, area);

    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || !inWindow(c.x, c.y) || !game.board.at(c).isCell())
        return makeTip("doublerelax", {}, kNoPiece, -1, cursor, kNoCell, 0);

    const Cell& cell = game.board.at(c);
    const base::Vec2 at = cellCentre(c);
    if (cell.hasPiece()) {
        const int kind = cell.piece.kind;
        if (cell.piece.chained > 0)
            return makeTip(isSpecial(kind) ? "chainitemtip" : "chainballtip", {}, kNoPiece, -1, at, c, 0);
        if (isSpecial(kind)) return specialTip(kind, at, c, 0);
        return makeTip("balltip", modeHelpKey(game.mode), kind, kBallTipIndex, at, c, 0);
    }
    if (cell.pending != kNoPiece) return makeTip("newballtip", {}, kNoPiece, -1, at, c, 0);
    // Squares stronger than 2 are explained as strong squares too.
    static constexpr const char* kFloorKeys[3] = {"tipcleanquare", "tipbusysquare1", "tipbusysquare2"};
    return makeTip(kFloorKeys[std::clamp(cell.floor, 0, 2)], {}, kNoPiece, -1, at, c, 0);
}

void formatTipText(char* out, int outSize, const char* text, int value) {
    if (outSize <= 0) return;
    int n = 0;
    bool valueUsed = false;
    auto put = [&](char ch) {
        if (n < outSize - 1) out[n++] = ch;
    };
    for (const char* p = text ? text : ""; *p; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            put('%');
            ++p;
        } else if (p[0] == '%' && (p[1] == 'i' || p[1] == 'd') && !valueUsed) {
            char number[16];
            std::snprintf(number, sizeof number, "%i", value);
            for (const char* d = number; *d; ++d) put(*d);
            valueUsed = true;
            ++p;
        } else {
            put(*p);
        }
    }
    out[n] = '\0';
}

}  // namespace tessaly::game
