// Sections: folder | byte images | default records | loading | saving |
// players | progress and records.
#include "player/player_data.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/byte_io.h"
#include "base/copy_text.h"
#include "base/files.h"
#include "base/random.h"
#include "data/registry.h"
#include "data/text.h"

namespace tessaly::player {

// ---------------------------------------------------------------------------
// Folder

std::string defaultPlayerFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/tessaly";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/tessaly";
    return {};
}

namespace {

std::string pathOf(const PlayerData& d, const char* file) { return d.folder + "/" + file; }

// Copies a name into a fixed field, cut to leave room for the NUL; the rest
// of the field is zeros, so the files hold no stray bytes.
template <size_t N>
void copyName(char (&field)[N], std::string_view name) {
    std::memset(field, 0, N);
    base::copyText(field, name);
}

// A field read from a file ends at its last byte whatever the file says.
template <size_t N>
void terminate(char (&field)[N]) {
    field[N - 1] = '\0';
}

// ---------------------------------------------------------------------------
// Byte images

template <typename IO, typename P>
void transferProfile(IO& io, P& p) {
    io.bytes(p.name, sizeof p.name);
    for (auto& f : p.showHelp) io.u8(f);
    io.zeros(1);
    for (auto& v : p.levelInStage) io.i32(v);
    for (auto& v : p.stage) io.i32(v);
    for (auto& v : p.bestLevelInStage) io.i32(v);
    for (auto& v : p.bestStage) io.i32(v);
    for (auto& v : p.score) io.i32(v);
    for (auto& v : p.lives) io.i32(v);
    for (auto& f : p.tipShown) io.u8(f);
    io.zeros(3);
    io.i32(p.mode);
}

template <typename IO, typename R>
void transferLevelRecord(IO& io, R& r) {
    io.bytes(r.comboHolder, sizeof r.comboHolder);
    io.bytes(r.scoreHolder, sizeof r.scoreHolder);
    io.bytes(r.timeHolder, sizeof r.timeHolder);
    io.bytes(r.movesHolder, sizeof r.movesHolder);
    io.i32(r.score);
    io.i32(r.combo);
    io.i32(r.timeMs);
    io.i32(r.moves);
}

void terminateRecord(LevelRecord& r) {
    terminate(r.comboHolder);
    terminate(r.scoreHolder);
    terminate(r.timeHolder);
    terminate(r.movesHolder);
}

template <typename IO, typename D>
void transferRecords(IO& io, D& records) {
    for (auto& mode : records)
        for (auto& r : mode) transferLevelRecord(io, r);
}

template <typename IO, typename D>
void transferHiscores(IO& io, D& d) {
    for (auto& mode : d.hiscores)
        for (auto& e : mode) {
            io.bytes(e.name, sizeof e.name);
            io.i32(e.score);
        }
}

template <typename IO, typename D>
void transferMode3(IO& io, D& d) {
    for (auto& level : d.mode3)
        for (auto& e : level.entries) {
            io.bytes(e.name, sizeof e.name);
            io.i32(e.timeMs);
        }
}

}  // namespace

void encodeProfile(const ProfileRecord& p, uint8_t* out) {
    base::ByteWriter w{out};
    transferProfile(w, p);
    w.u8(uint8_t(p.mode == 0 ? 1 : 0));  // the classic flag goes with the mode
    w.zeros(7);
    for (const auto& f : p.savedGame) w.u8(f);
    w.zeros(5 + 12);
}

void decodeProfile(const uint8_t* in, ProfileRecord& p) {
    base::ByteReader r{in};
    p = ProfileRecord{};
    transferProfile(r, p);
    r.zeros(8);
    for (auto& f : p.savedGame) r.u8(f);
    terminate(p.name);
    // Only what the game itself can produce.
    auto flag = [](uint8_t& f) { f = f ? 1 : 0; };
    for (int m = 0; m < kModeCount; ++m) {
        flag(p.showHelp[m]);
        flag(p.savedGame[m]);
        p.levelInStage[m] = std::clamp(p.levelInStage[m], 0, kLevelsPerStage - 1);
        p.stage[m] = std::clamp(p.stage[m], 0, kStageCount - 1);
        p.bestLevelInStage[m] = std::clamp(p.bestLevelInStage[m], 0, kLevelsPerStage - 1);
        p.bestStage[m] = std::clamp(p.bestStage[m], 0, kStageCount - 1);
        p.score[m] = std::max(p.score[m], 0);
        p.lives[m] = std::clamp(p.lives[m], kMinLives, kMaxLives);
    }
    for (auto& f : p.tipShown) flag(f);
    p.mode = std::clamp(p.mode, 0, kModeCount - 1);
}

void encodeRecords(const PlayerData& d, uint8_t* out) {
    base::ByteWriter w{out};
    transferRecords(w, d.records);
}

void encodeHiscores(const PlayerData& d, uint8_t* out) {
    base::ByteWriter w{out};
    transferHiscores(w, d);
}

void encodeMode3(const PlayerData& d, uint8_t* out) {
    base::ByteWriter w{out};
    transferMode3(w, d);
}

void encodeSurrecs(const PlayerData& d, uint8_t* out) {
    base::ByteWriter w{out};
    transferRecords(w, d.surrecs);
}

// ---------------------------------------------------------------------------
// Default records

namespace {

// Default name k (0..9): the text entries from "defname1" on.
std::string_view defaultName(int k) {
    const int first = data::textIndex("defname1");
    const char* name = data::findText("defname1") ? data::textByIndex(first + k) : nullptr;
    return name && name[0] ? std::string_view(name) : std::string_view("PLAYER");
}

std::string_view randomDefaultName() { return defaultName(base::randomBelow(kDefaultNames)); }

// "M.SS" as minutes and seconds: the whole part in minutes, the fraction in
// hundredths of a minute-second step (1.30 is one minute thirty), read from
// the digits so that no rounding of a float turns 1.30 into 1:29.999.
int32_t minutesSecondsMs(const char* value) {
    if (!value || !value[0]) return 0;
    char* end = nullptr;
    const long minutes = std::strtol(value, &end, 10);
    int64_t ms = int64_t(std::clamp(minutes, 0L, 9999L)) * 60000;
    if (end && *end == '.') {
        int64_t unit = 100000;
        for (const char* p = end + 1; *p >= '0' && *p <= '9' && unit >= 10; ++p) {
            unit /= 10;
            ms += (*p - '0') * unit;
        }
    }
    return int32_t(std::min<int64_t>(ms, INT32_MAX));
}

// The text of a reference file, NUL-terminated; empty when it is missing.
std::string referenceText(const char* file) {
    int32_t size = 0;
    const uint8_t* bytes = data::loadDataFile(file, &size, false);
    if (!bytes) return {};
    std::string text(reinterpret_cast<const char*>(bytes), size_t(size));
    data::releaseDataEntry(bytes);
    return text;
}

}  // namespace

void generateDefaultRecords(PlayerData& d, int64_t (&sumScores)[kModeCount]) {
    static constexpr const char* kReferenceFiles[kModeCount] = {"hi_expert.txt", "hi_normal.txt", "hi_zen.txt"};
    for (int m = 0; m < kModeCount; ++m) {
        const std::string text = referenceText(kReferenceFiles[m]);
        sumScores[m] = 0;
        for (int level = 0; level < kLevelCount; ++level) {
            LevelRecord& r = d.records[size_t(m)][size_t(level)];
            r = LevelRecord{};
            copyName(r.comboHolder, randomDefaultName());
            copyName(r.scoreHolder, randomDefaultName());
            copyName(r.timeHolder, randomDefaultName());
            copyName(r.movesHolder, randomDefaultName());
            const std::string n = std::to_string(level + 1);
            const char* t = text.c_str();
            char value[32];
            r.combo = data::readKeyInt(t, ("combo" + n + "=").c_str());
            r.score = int32_t(int64_t(data::readKeyInt(t, ("score" + n + "=").c_str())) * 2 / 3);
            r.timeMs = int32_t(std::min<int64_t>(
                int64_t(minutesSecondsMs(data::readKeyString(value, sizeof value, t, ("time" + n + "=").c_str()))) * 2,
                INT32_MAX));
            r.moves = int32_t(int64_t(data::readKeyInt(t, ("move" + n + "=").c_str())) * 3 / 2);
            sumScores[m] += r.score;
        }
    }
}

void generateDefaultHiscores(PlayerData& d, const int64_t (&sumScores)[kModeCount]) {
    for (int m = 0; m < kModeCount; ++m) {
        const int64_t s = sumScores[m];
        for (int k = 0; k < kHiscoreRanks; ++k) {
            HiscoreEntry& e = d.hiscores[size_t(m)][size_t(k)];
            copyName(e.name, defaultName(k));
            e.score = int32_t(std::clamp<int64_t>((2 * (s - k * s / 10)) / 3 / 100 * 100, 0, INT32_MAX));
        }
    }
}

void generateDefaultMode3(PlayerData& d) {
    for (int level = 0; level < kLevelCount; ++level) {
        const int r = base::randomBelow(10);
        for (int c = 0; c < 3; ++c) {
            ActionLevelScores::Entry& e = d.mode3[size_t(level)].entries[c];
            copyName(e.name, defaultName((r + c) % kDefaultNames));
            if (level < 4) e.timeMs = 25000 + 20000 * c + 8000 * base::randomBelow(3);
            else if (level < 10) e.timeMs = 50000 + 30000 * c + 10000 * base::randomBelow(3);
            else if (level < 25) e.timeMs = 150000 + 100000 * c + 10000 * base::randomBelow(6);
            else e.timeMs = 240000 + 150000 * c + 10000 * base::randomBelow(8);
        }
    }
}

void generateDefaultSurrecs(PlayerData& d) {
    for (auto& mode : d.surrecs)
        for (int level = 0; level < kLevelCount; ++level) {
            LevelRecord& r = mode[size_t(level)];
            r = LevelRecord{};
            copyName(r.comboHolder, randomDefaultName());
            copyName(r.timeHolder, randomDefaultName());
            copyName(r.movesHolder, randomDefaultName());
            const ActionLevelScores::Entry& best = d.mode3[size_t(level)].entries[0];
            copyName(r.scoreHolder, best.name);
            r.score = best.timeMs;
            r.combo = level < 3 ? 5 + base::randomBelow(8)
                      : level < 5 ? 5 + base::randomBelow(5)
                      : level == 5 ? 4 + base::randomBelow(3)
                                   : 2 + base::randomBelow(3);
            r.moves = 50 + base::randomBelow(40);
            // No time record, and no holder for it.
            r.timeHolder[0] = '\0';
            r.timeMs = 0;
        }
}

// ---------------------------------------------------------------------------
// Loading

namespace {

// Keeps a damaged file beside the one about to replace it, under the first
// free name of NAME.bad, NAME.1.bad .. NAME.9.bad, so it is never silently
// overwritten.
void keepDamaged(const PlayerData& d, const char* file, const base::FileBytes& bytes) {
    for (int i = 0; i < 10; ++i) {
        const std::string name = pathOf(d, file) + (i == 0 ? std::string() : "." + std::to_string(i)) + ".bad";
        if (base::fileExists(name)) continue;
        if (base::writeFileAtomic(name, bytes.data.get(), bytes.size))
            std::fprintf(stderr, "Tessaly: %s was damaged; kept as %s, a new one is made\n", file, name.c_str());
        return;
    }
}

enum class FileState { Read, Missing, Damaged };

// Reads a player file of exactly `size` bytes; a file of another size is
// kept beside as damaged.
FileState readPlayerFile(const PlayerData& d, const char* file, size_t size, base::FileBytes& out) {
    if (d.folder.empty()) return FileState::Missing;
    const base::FileStatus status = base::readWholeFile(pathOf(d, file), size, out);
    if (status == base::FileStatus::Missing) return FileState::Missing;
    if (status == base::FileStatus::Ok && out.size == size) return FileState::Read;
    if (status == base::FileStatus::TooLarge || status == base::FileStatus::Ok) {
        base::FileBytes whole;
        if (base::readWholeFile(pathOf(d, file), base::kDefaultReadLimit, whole) == base::FileStatus::Ok)
            keepDamaged(d, file, whole);
    }
    return FileState::Damaged;
}

bool s_settingsRead = false;  // readSettings found a whole block

}  // namespace

void readSettings(PlayerData& d) {
    d.settings = SettingsBlock{};
    s_settingsRead = false;
    if (d.folder.empty()) return;
    base::FileBytes file;
    if (base::readWholeFile(pathOf(d, "settings.dat"), kSettingsBytes, file) == base::FileStatus::Ok)
        s_settingsRead = decodeSettings(file.data.get(), file.size, d.settings);
}

void loadPlayerFiles(PlayerData& d) {
    d.count = 0;
    d.hiscorePending = false;
    // Profiles: exactly the players the settings count. Without settings
    // (lost, or never written) a whole file of records is still taken, so
    // losing one small file never loses the players.
    base::FileBytes file;
    const size_t largest = kProfileBytes * kMaxPlayers;
    const base::FileStatus status =
        d.folder.empty() ? base::FileStatus::Missing : base::readWholeFile(pathOf(d, "profiles.dat"), largest, file);
    if (status == base::FileStatus::Ok) {
        const int32_t stored = s_settingsRead ? d.settings.playerCount : int32_t(file.size / kProfileBytes);
        const bool whole = stored >= 0 && stored <= kMaxPlayers && file.size == size_t(stored) * kProfileBytes;
        if (whole) {
            d.count = stored;
            for (int i = 0; i < d.count; ++i) decodeProfile(file.data.get() + size_t(i) * kProfileBytes, d.profiles[size_t(i)]);
        } else if (file.size > 0) {
            keepDamaged(d, "profiles.dat", file);
        }
    } else if (status == base::FileStatus::TooLarge) {
        base::FileBytes whole;
        if (base::readWholeFile(pathOf(d, "profiles.dat"), base::kDefaultReadLimit, whole) == base::FileStatus::Ok)
            keepDamaged(d, "profiles.dat", whole);
    }
    d.settings.playerCount = d.count;
    d.settings.currentPlayer = d.count > 0 ? std::clamp(d.settings.currentPlayer, 0, d.count - 1) : 0;

    int64_t sums[kModeCount] = {};
    if (readPlayerFile(d, "records.dat", kRecordsBytes, file) == FileState::Read) {
        base::ByteReader r{file.data.get()};
        transferRecords(r, d.records);
        for (auto& mode : d.records)
            for (auto& rec : mode) terminateRecord(rec);
    } else {
        generateDefaultRecords(d, sums);
    }
    if (readPlayerFile(d, "hiscore.dat", kHiscoreBytes, file) == FileState::Read) {
        base::ByteReader r{file.data.get()};
        transferHiscores(r, d);
        for (auto& mode : d.hiscores)
            for (auto& e : mode) terminate(e.name);
    } else {
        generateDefaultHiscores(d, sums);
    }
    if (readPlayerFile(d, "mode3.dat", kMode3Bytes, file) == FileState::Read) {
        base::ByteReader r{file.data.get()};
        transferMode3(r, d);
        for (auto& level : d.mode3)
            for (auto& e : level.entries) terminate(e.name);
    } else {
        generateDefaultMode3(d);
    }
    if (readPlayerFile(d, "surrecs.dat", kSurrecsBytes, file) == FileState::Read) {
        base::ByteReader r{file.data.get()};
        transferRecords(r, d.surrecs);
        for (auto& mode : d.surrecs)
            for (auto& rec : mode) terminateRecord(rec);
    } else {
        generateDefaultSurrecs(d);
    }
}

// ---------------------------------------------------------------------------
// Saving

bool saveAllPlayerData(PlayerData& d) {
    if (d.folder.empty()) return false;
    auto fail = [&](const std::string& why) {
        if (!d.folderFailed)
            std::fprintf(stderr, "Tessaly can't save player data in %s: %s\n", d.folder.c_str(), why.c_str());
        d.folderFailed = true;
        return false;
    };
    if (!base::makeFolders(d.folder, 0700)) return fail("the folder can't be made");

    d.settings.playerCount = d.count;
    uint8_t settings[kSettingsBytes];
    encodeSettings(d.settings, settings);
    // Largest image first, sized once: the records.
    static uint8_t image[kRecordsBytes];
    static_assert(kRecordsBytes >= kSurrecsBytes && kRecordsBytes >= kMode3Bytes &&
                  kRecordsBytes >= kProfileBytes * kMaxPlayers);
    std::string error;
    auto write = [&](const char* file, const void* bytes, size_t size) {
        return base::writeFileAtomic(pathOf(d, file), bytes, size, &error);
    };
    bool ok = write("settings.dat", settings, sizeof settings);
    for (int i = 0; i < d.count; ++i) encodeProfile(d.profiles[size_t(i)], image + size_t(i) * kProfileBytes);
    ok = ok && write("profiles.dat", image, size_t(d.count) * kProfileBytes);
    encodeRecords(d, image);
    ok = ok && write("records.dat", image, kRecordsBytes);
    encodeHiscores(d, image);
    ok = ok && write("hiscore.dat", image, kHiscoreBytes);
    encodeMode3(d, image);
    ok = ok && write("mode3.dat", image, kMode3Bytes);
    encodeSurrecs(d, image);
    ok = ok && write("surrecs.dat", image, kSurrecsBytes);
    if (!ok) return fail(error);
    d.folderFailed = false;
    return true;
}

// ---------------------------------------------------------------------------
// Players

ProfileRecord* currentProfile(PlayerData& d) {
    if (d.count <= 0) return nullptr;
    return &d.profiles[size_t(std::clamp(d.settings.currentPlayer, 0, d.count - 1))];
}

bool createPlayer(PlayerData& d, std::string_view name) {
    if (name.empty() || name.size() >= size_t(kNameField) || d.count >= kMaxPlayers) return false;
    for (int i = 0; i < d.count; ++i)
        if (name == d.profiles[size_t(i)].name) return false;
    ProfileRecord& p = d.profiles[size_t(d.count)];
    p = ProfileRecord{};
    copyName(p.name, name);
    d.settings.currentPlayer = d.count++;
    d.settings.playerCount = d.count;
    return true;
}

bool renamePlayer(PlayerData& d, int index, std::string_view name) {
    if (name.empty() || name.size() >= size_t(kNameField) || index < 0 || index >= d.count) return false;
    copyName(d.profiles[size_t(index)].name, name);
    return true;
}

void removePlayer(PlayerData& d, int index) {
    if (index < 0 || index >= d.count) return;
    for (int i = index + 1; i < d.count; ++i) d.profiles[size_t(i - 1)] = d.profiles[size_t(i)];
    d.profiles[size_t(--d.count)] = ProfileRecord{};
    int& current = d.settings.currentPlayer;
    if (current >= index) current = std::max(current - 1, 0);
    if (d.count == 0) current = 0;
    d.settings.playerCount = d.count;
}

void selectPlayer(PlayerData& d, int index) {
    if (index >= 0 && index < d.count) d.settings.currentPlayer = index;
}

// ---------------------------------------------------------------------------
// Progress and records

int currentLevelNumber(const ProfileRecord& p, int mode) {
    return p.stage[mode] * kLevelsPerStage + p.levelInStage[mode];
}

void setCurrentLevelNumber(ProfileRecord& p, int mode, int level) {
    level = std::clamp(level, 0, kLevelCount - 1);
    p.stage[mode] = level / kLevelsPerStage;
    p.levelInStage[mode] = level % kLevelsPerStage;
}

int progress(const ProfileRecord& p, int mode) { return p.bestStage[mode] * kLevelsPerStage + p.bestLevelInStage[mode]; }

void resetProgress(ProfileRecord& p, int mode) {
    p.score[mode] = 0;
    p.lives[mode] = kStartLives;
    p.levelInStage[mode] = 0;
}

ProgressAdvance advanceProgress(ProfileRecord& p, int mode) {
    ProgressAdvance a;
    const int next = std::min(currentLevelNumber(p, mode) + 1, kLevelCount - 1);
    const int best = std::max(progress(p, mode), next);
    p.bestStage[mode] = best / kLevelsPerStage;
    p.bestLevelInStage[mode] = best % kLevelsPerStage;
    if (++p.levelInStage[mode] >= kLevelsPerStage) {
        p.levelInStage[mode] = 0;
        a.stageCompleted = true;
        if (++p.stage[mode] >= kStageCount) {
            a.allStagesCompleted = true;
            p.stage[mode] = 0;
        }
    }
    return a;
}

ProgressAdvance recordFinishedLevel(PlayerData& d, int mode, const game::LevelResult& result) {
    ProfileRecord* p = currentProfile(d);
    if (!p || mode < 0 || mode >= kModeCount) return {};
    const int level = std::clamp(result.levelIndex, 0, kLevelCount - 1);
    LevelRecord& r = d.records[size_t(mode)][size_t(level)];
    if (result.score > r.score) {
        r.score = result.score;
        copyName(r.scoreHolder, p->name);
    }
    if (result.maxCombo > r.combo) {
        r.combo = result.maxCombo;
        copyName(r.comboHolder, p->name);
    }
    // A time or move count of 0 is no record (a missing reference file): the
    // first finish takes it.
    if (result.playTimeMs < r.timeMs || r.timeMs <= 0) {
        r.timeMs = result.playTimeMs;
        copyName(r.timeHolder, p->name);
    }
    if (result.moves < r.moves || r.moves <= 0) {
        r.moves = result.moves;
        copyName(r.movesHolder, p->name);
    }
    insertHiscore(d, mode);
    const ProgressAdvance a = advanceProgress(*p, mode);
    saveAllPlayerData(d);
    return a;
}

void insertHiscore(PlayerData& d, int mode) {
    const ProfileRecord* p = currentProfile(d);
    if (!p || mode < 0 || mode >= kModeCount) return;
    auto& table = d.hiscores[size_t(mode)];
    const int32_t score = p->score[mode];
    int place = 0;
    while (place < kHiscoreRanks && table[size_t(place)].score >= score) ++place;
    if (place == kHiscoreRanks) return;
    int last = kHiscoreRanks - 1;  // the entry that leaves: the player's own, else the lowest
    for (int k = kHiscoreRanks - 1; k >= 0; --k)
        if (std::strcmp(table[size_t(k)].name, p->name) == 0) {
            last = k;
            break;
        }
    if (last < place) return;  // the player already holds a better place
    for (int k = last; k > place; --k) table[size_t(k)] = table[size_t(k - 1)];
    copyName(table[size_t(place)].name, p->name);
    table[size_t(place)].score = score;
}

}  // namespace tessaly::player
