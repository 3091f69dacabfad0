#include "game/level_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "data/registry.h"
#include "data/text.h"

namespace tessaly::game {

namespace {

bool isSignificant(char c) { return c == '.' || (c >= '0' && c <= 'z'); }

// An empty line ends a grid: CR LF CR LF (or LF LF in a file saved without
// carriage returns).
bool emptyLineAt(std::string_view text, size_t i) {
    return text.substr(i, 4) == "\r\n\r\n" || text.substr(i, 2) == "\n\n";
}

// Reads a file of the "levels" folder (it stays a loose file: levels are
// read again whenever a level restarts) and hands its text to `parse`.
template <typename Parse>
bool parseLevelsFile(const std::string& name, std::string& reason, Parse parse) {
    data::ScopedFolder folder("levels");
    int32_t size = 0;
    uint8_t* bytes = data::loadDataFile(name, &size, false);
    if (!bytes) {
        reason = "can't be read";
        return false;
    }
    const bool ok = parse(std::string_view(reinterpret_cast<const char*>(bytes), size_t(size)));
    data::releaseDataEntry(bytes);
    return ok;
}

bool isFigureCharacter(char c) { return c == '.' || (c >= '0' && c <= '9'); }

// Calls `take(i, c)` for each significant character after `key`, at most
// `limit` of them, stopping at the end of the text or an empty line.
template <typename Take>
void readGrid(std::string_view text, std::string_view key, int limit, Take take,
              bool (*significant)(char) = isSignificant) {
    const size_t start = text.find(key);
    if (start == std::string_view::npos) return;
    int taken = 0;
    for (size_t i = start + key.size(); i < text.size() && taken < limit; ++i) {
        if (emptyLineAt(text, i)) break;
        const char c = text[i];
        if (c == '\0') break;
        if (!significant(c)) continue;
        take(taken, c);
        ++taken;
    }
}

void placeNewPiece(Cell& cell, int kind) {
    cell.piece = newPiece(kind);
    cell.pending = kNoPiece;
    cell.pendingTimerMs = 0;
}

// One character of a level grid into a cell.
void readLevelCell(Cell& cell, char c) {
    if (c == '.') return;  // stays a non-cell
    if (c >= '0' && c <= '9') {
        cell.floor = c - '0';
        return;
    }
    if (c >= 'a' && c <= 'h') {
        cell.floor = 0;
        placeNewPiece(cell, c - 'a');
        return;
    }
    if (c >= ':' && c <= 'W') {
        // Upper case (and the seven characters between '9' and 'A'): a
        // chained piece on a double square. Codes that no piece has (the
        // seven characters, 'I', 'J', 'O'..'W') leave the square empty
        // rather than placing a piece nothing can draw or match.
        cell.floor = 2;
        const int kind = c - 'A';
        if (isKnownPiece(kind)) {
            placeNewPiece(cell, kind);
            cell.piece.chained = 1;
        }
        return;
    }
    if (c == 'X') {
        cell.floor = 0;
        placeNewPiece(cell, 0);
        return;
    }
    if (c == 'Z') {
        cell.floor = 1;
        placeNewPiece(cell, 0);
        return;
    }
    // Any other letter: plain floor, no piece.
    cell.floor = 0;
    cell.piece.appear = -1;
}

std::string readString(const std::string& text, const char* key) {
    char value[64] = {};
    data::readKeyString(value, int(sizeof value), text.c_str(), key);
    return value;
}

}  // namespace

std::string levelFileName(int levelIndex) {
    char name[32];
    if (levelIndex < 4)
        std::snprintf(name, sizeof name, "tut1_%.2i.lvl", levelIndex + 1);
    else
        std::snprintf(name, sizeof name, "pack1_%.2i.lvl", levelIndex - 3);
    return name;
}

bool parseLevel(std::string_view text, Board& board, LevelParams& params, std::string& error) {
    // The key readers want a NUL-terminated text; a NUL inside the file ends it.
    const std::string owned(text.substr(0, std::min(text.size(), text.find('\0'))));
    const char* s = owned.c_str();

    LevelParams p;
    p.hammerEnabled = readString(owned, "hammer=") != "no";
    p.colors = data::readKeyInt(s, "colors=");
    p.levelDownTimeMs = std::max(0, data::readKeyInt(s, "leveldowntime="));
    // Counts are bounded by what the board can hold: a turn announces
    // addballs balls, and the field has kMaxAddBalls cells to announce in.
    p.addBalls = std::clamp(data::readKeyInt(s, "addballs="), 0, kMaxAddBalls);
    p.balls4Destroy = std::clamp(data::readKeyFloat(s, "balls4destroy="), 0.0f, kMaxBarTotal);
    p.jockerFrequency = data::readKeyInt(s, "jockerfrequency=");
    // 0, a missing key or a nonsensical negative value: one ball in 20.
    if (p.jockerFrequency <= 0) p.jockerFrequency = kDefaultJockerFrequency;

    if (p.colors <= 0) {
        error = "no colours (colors= missing or 0)";
        return false;
    }
    if (p.colors > kMaxColors) p.colors = kMaxColors;
    if (owned.find("level=") == std::string::npos) {
        error = "no board (level= missing)";
        return false;
    }

    readGrid(
        owned, "bonusfigure=", 9,
        [&](int i, char c) { p.bonusFigure[(i % 3) * 3 + i / 3] = c == '.' ? -1 : c - '0'; },
        isFigureCharacter);

    auto scratch = std::make_unique<Board>();
    clearBoard(*scratch);
    readGrid(owned, "level=", kFieldColumns * kFieldRows, [&](int i, char c) {
        readLevelCell(scratch->at(kFieldLeft + i % kFieldColumns, kFieldTop + i / kFieldColumns), c);
    });
    scratch->freeCells = countFreeCells(*scratch);

    board = *scratch;
    params = p;
    return true;
}

bool loadLevel(GameState& game, int levelIndex, std::string* error) {
    const std::string name = levelFileName(levelIndex);
    std::string reason;
    const bool ok = parseLevelsFile(name, reason, [&](std::string_view text) {
        return parseLevel(text, game.board, game.level, reason);
    });
    if (!ok) {
        std::fprintf(stderr, "Level %s: %s\n", name.c_str(), reason.c_str());
        if (error) *error = name + ": " + reason;
    }
    return ok;
}

bool parseHelpLevel(std::string_view text, int colourOffset, int setFlag, Mode mode, Board& board,
                    HelpPointers& pointers, std::string& error) {
    if (text.find("level=") == std::string_view::npos) {
        error = "no board (level= missing)";
        return false;
    }
    const std::string_view owned = text.substr(0, std::min(text.size(), text.find('\0')));
    // One scratch board for every call: the help screen reloads its boards
    // while it plays, and that must not allocate.
    static Board s_scratch;
    Board* scratch = &s_scratch;
    clearBoard(*scratch);
    HelpPointers found;
    const int offset = ((colourOffset % 7) + 7) % 7;

    auto recordPointer = [&](int x, int y) {
        if (found.count < kMaxHelpPointers) found.points[found.count++] = cellCentre(x, y);
    };
    readGrid(owned, "level=", kFieldColumns * kFieldRows, [&](int i, char c) {
        const int x = kFieldLeft + i % kFieldColumns, y = kFieldTop + i / kFieldColumns;
        Cell& cell = scratch->at(x, y);
        if (c == '.') return;
        cell.scale = 0.5f;
        cell.floor = 0;
        if (c >= '0' && c <= '9') {
            cell.floor = c - '0';
        } else if (c >= 'a' && c <= 'p') {
            placeNewPiece(cell, (offset + (c - 'a')) % 7);
        } else if (c >= 'A' && c <= 'P') {
            cell.floor = 1;
            placeNewPiece(cell, (offset + (c - 'A')) % 7);
        } else if (c == 'u' || c == 'y') {
            cell.floor = 1;
            placeNewPiece(cell, setFlag == 1 ? kJoker : offset);
            recordPointer(x, y);
        } else if (c == 'v' || c == 'z') {
            cell.floor = 1;
            recordPointer(x, y);
        } else if (c == 'x') {
            recordPointer(x, y);
        }
    });
    if (mode != Mode::Puzzle)
        for (auto& column : scratch->cells)
            for (auto& cell : column)
                if (cell.floor > 0) cell.floor = 0;
    scratch->freeCells = countFreeCells(*scratch);
    board = *scratch;
    pointers = found;
    return true;
}

std::string helpLevelName(int page, int setFlag) {
    char name[32];
    std::snprintf(name, sizeof name, "help%i.lvl", page + (setFlag == 0 ? 4 : 0));
    return name;
}

bool readHelpLevelText(int page, int setFlag, std::string& text) {
    std::string reason;
    const bool ok = parseLevelsFile(helpLevelName(page, setFlag), reason, [&](std::string_view bytes) {
        text.assign(bytes.substr(0, std::min(bytes.size(), bytes.find('\0'))));
        return true;
    });
    if (!ok) std::fprintf(stderr, "Help level %s: %s\n", helpLevelName(page, setFlag).c_str(), reason.c_str());
    return ok;
}

bool loadHelpLevel(GameState& demo, int page, int colourOffset, int setFlag,
                   HelpPointers& pointers) {
    const std::string fileName = helpLevelName(page, setFlag);
    const char* name = fileName.c_str();
    std::string reason;
    const bool ok = parseLevelsFile(name, reason, [&](std::string_view text) {
        return parseHelpLevel(text, colourOffset, setFlag, demo.mode, demo.board, pointers, reason);
    });
    if (!ok) {
        std::fprintf(stderr, "Help level %s: %s\n", name, reason.c_str());
        return false;
    }
    settleHelpBoard(demo);
    return true;
}

void settleHelpBoard(GameState& demo) {
    demo.demo = true;
    demo.selected = kNoCell;
    demo.moveInFlight = false;
    demo.moveFrom = kNoCell;
    demo.moveTarget = kNoCell;
    demo.lastMoveCell = kNoCell;
    demo.board.minLine = kMinLine;
}

}  // namespace tessaly::game
