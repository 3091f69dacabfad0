#include "game_test_support.h"

#include <cstring>

#include "game/flow.h"
#include "sound/sound_system.h"

namespace tessaly::game::testing {

bool RecordingHost::sawText(const std::string& text) const {
    for (const auto& t : texts)
        if (t.text == text) return true;
    return false;
}

bool RecordingHost::sawEffect(const std::string& name) const { return countEffect(name) > 0; }

int RecordingHost::countEffect(const std::string& name) const {
    int n = 0;
    for (const auto& e : effects) n += e.name == name ? 1 : 0;
    return n;
}

bool RecordingHost::sawTip(const std::string& name) const {
    for (const auto& t : tips)
        if (t.name == name) return true;
    return false;
}

void RecordingHost::clearLog() {
    texts.clear();
    effects.clear();
    tips.clear();
    messages.clear();
    screens.clear();
    leaves.clear();
    popups.clear();
    results.clear();
}

namespace {

const char* const kGameSounds[] = {
    "addball.ogg",   "addbonus.ogg",     "addlife.ogg",       "ball.ogg",       "ballstand.ogg",
    "birds1.ogg",    "birds2.ogg",       "birds3.ogg",        "bomb1.ogg",      "bomb2.ogg",
    "brook.ogg",     "chain.ogg",        "chpok1.ogg",        "defeat.ogg",     "deleteballs.ogg",
    "diamond.ogg",   "diamond0.ogg",     "excellent.ogg",     "gaf.ogg",        "gethammer.ogg",
    "hammer.ogg",    "level_defeat.ogg", "levelcomplete.ogg", "menu.ogg",       "menu2.ogg",
    "score.ogg",     "selectaim.ogg",    "selectball.ogg",    "square.ogg",     "waterfall.ogg",
    "wow.ogg",
};
constexpr int kSoundCount = int(sizeof kGameSounds / sizeof kGameSounds[0]);

}  // namespace

SoundLog::SoundLog() {
    sound::SoundSystem& s = sound::g_sound;
    s.soundCount = kSoundCount;
    for (int i = 0; i < kSoundCount; ++i) {
        sound::SoundEntry& e = s.sounds[size_t(i)];
        e = {};
        e.sample = uint32_t(1000 + i);  // a handle per name, never played: no output is open
        std::strncpy(e.name, kGameSounds[i], sound::kMaxSoundNameLength);
    }
    for (auto& r : s.requests) r = {};
    s.ringPosition = 0;
}

SoundLog::~SoundLog() {
    sound::SoundSystem& s = sound::g_sound;
    for (int i = 0; i < s.soundCount; ++i) s.sounds[size_t(i)] = {};
    s.soundCount = 0;
    for (auto& r : s.requests) r = {};
    s.ringPosition = 0;
}

void SoundLog::collect(float dtMs) {
    sound::SoundSystem& s = sound::g_sound;
    // Waiting requests in ring order, oldest first.
    for (int i = 0; i < sound::kRequestRingSize; ++i) {
        const auto& r = s.requests[size_t((s.ringPosition + i) % sound::kRequestRingSize)];
        if (r.state != sound::kRequestWaiting) continue;
        const int index = int(r.sample) - 1000;
        if (index >= 0 && index < kSoundCount) calls.push_back({kGameSounds[index], r.rateHz});
    }
    sound::updateSound(s, dtMs);
}

int SoundLog::count(const std::string& name) const {
    int n = 0;
    for (const auto& c : calls) n += c.name == name ? 1 : 0;
    return n;
}

GameFixture::GameFixture() {
    base::seedRandom(12345);
    game->host = &host;
    clearBoard(game->board);
    game->level.colors = 5;
    game->level.addBalls = 3;
    game->barTotal = game->barRemaining = 40.0f;  // a level in progress, far from complete
}

void setBoard(GameState& game, const std::vector<std::string>& rows) {
    clearBoard(game.board);
    int r = 0;
    for (const std::string& row : rows) {
        for (int c = 0; c < int(row.size()) && c < kFieldColumns; ++c) {
            Cell& cell = game.board.at(at(c, r));
            const char ch = row[c];
            if (ch == '.') continue;
            cell.floor = 0;
            cell.scale = 1;
            int kind = kNoPiece;
            if (ch >= '1' && ch <= '9') cell.floor = ch - '0';
            else if (ch >= 'a' && ch <= 'h') kind = ch - 'a';
            else if (ch == 'J') kind = kJoker;
            else if (ch == 'B') kind = kBomb;
            else if (ch == 'D') kind = kDiamond;
            else if (ch == 'S') kind = kSuperbomb;
            if (kind != kNoPiece) {
                cell.piece = newPiece(kind);
                cell.piece.appear = 0;
            }
        }
        ++r;
    }
    game.board.freeCells = countFreeCells(game.board);
}

int kindAt(const GameState& game, int column, int row) { return game.board.at(at(column, row)).piece.kind; }

::testing::AssertionResult boardInvariants(const GameState& game) {
    const Board& b = game.board;
    const int free = countFreeCells(b);
    if (free != b.freeCells)
        return ::testing::AssertionFailure() << "freeCells " << b.freeCells << " but " << free << " free cells";
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& c = b.at(x, y);
            if (!c.isCell() && c.hasPiece())
                return ::testing::AssertionFailure() << "piece on non-cell " << x << "," << y;
            if (!c.isCell() && c.pending != kNoPiece)
                return ::testing::AssertionFailure() << "pending piece on non-cell " << x << "," << y;
            if (c.hasPiece() && !isKnownPiece(c.piece.kind))
                return ::testing::AssertionFailure() << "unknown piece " << c.piece.kind << " at " << x << "," << y;
        }
    return ::testing::AssertionSuccess();
}

void run(GameState& game, float ms, float stepMs) {
    for (float t = 0; t < ms; t += stepMs) stepGame(game, stepMs);
}

}  // namespace tessaly::game::testing
