#include "game/hammer.h"

#include "game/moves.h"
#include "game/removal.h"
#include "sound/sound.h"

namespace tessaly::game {

bool inHammerButton(base::Vec2 p) {
    return p.x >= kHammerButtonLeft && p.x <= kHammerButtonRight && p.y >= kHammerButtonBottom &&
           p.y <= kHammerButtonTop;
}

bool armHammer(GameState& game) {
    if (!game.level.hammerEnabled || game.hammerCharge != 1.0f) return false;
    game.cursorMode =
        game.cursorMode == CursorMode::Hammer ? CursorMode::Normal : CursorMode::Hammer;
    deselect(game);
    return true;
}

void strikeHammer(GameState& game, base::Vec2 cursor) {
    if (game.cursorMode != CursorMode::Hammer || game.moveInFlight) return;
    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || !game.board.at(c).isCell()) {
        game.cursorMode = CursorMode::Normal;
        return;
    }
    Cell& cell = game.board.at(c);
    if (!cell.hasPiece()) return;
    const base::Vec2 at = cellCentre(c);
    game.host->playEffect("hammer", at, cell.piece.kind);
    sound::playSound("hammer.ogg");
    beginScoreGroup(game);
    if (cell.piece.chained > 0)
        breakChain(game, c.x, c.y);
    else
        removePiece(game, c.x, c.y);
    game.tallies = {};  // a strike is no pass: it counts towards no award
    game.hammerCharge = 0;
    game.cursorMode = CursorMode::Normal;
}

}  // namespace tessaly::game
