// Player data: up to eight named players with their progress in the three
// modes, the per-level records, the top-ten table of each mode and two more
// record tables carried along unused, plus the shared settings. Everything
// lives in one record, g_playerData, in fixed-size arrays, and is stored as
// little-endian images in the player-data folder:
//
//   settings.dat   the SettingsBlock (settings.h), 48 bytes
//   profiles.dat   count x ProfileRecord, 156 bytes each
//   records.dat    LevelRecord [mode 0..2][level 0..69], 20160 bytes
//   hiscore.dat    HiscoreEntry [mode 0..2][rank 0..9], 1080 bytes
//   mode3.dat      ActionLevelScores [level 0..69], 7560 bytes
//   surrecs.dat    LevelRecord [mode 0..1][level 0..69], 13440 bytes
//
// Saving writes all six files, each replaced in one step (base/files.h): a
// crash at any moment leaves every file wholly old or wholly new. Loading
// never reads past a file: a settings block of another size counts as
// absent; a profiles file that does not hold the players the settings count
// is left out (and kept beside as "profiles.dat.bad"); a damaged records,
// hiscore, mode3 or surrecs file is kept beside as "NAME.bad" and made anew
// from the defaults. Values a profile can't hold (a mode of 7, stage 40) are
// clamped on loading; a name without its terminating NUL is cut.
//
// Modes are 0 classic, 1 puzzle, 2 action; a level number is stage x 5 +
// level in the stage (0..69). Names of players are at most 31 bytes; the
// entry screen makes them of at most 12 upper-case letters, digits and
// spaces.
//
// Depends on: the file seam, the text table (the default names "defname1"
// and on) and the data registry (the reference files "hi_expert.txt",
// "hi_normal.txt", "hi_zen.txt" for the default records), the random source
// (the default names and times), the rules' level result.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/game_host.h"
#include "player/settings.h"

namespace tessaly::player {

constexpr int kMaxPlayers = 8;          // the entry screen refuses a ninth
constexpr int kModeCount = 3;
constexpr int kLevelCount = 70;
constexpr int kLevelsPerStage = 5;
constexpr int kStageCount = 14;
constexpr int kHiscoreRanks = 10;
constexpr int kTipFlags = 13;
constexpr int kStartLives = 3;
constexpr int kNameField = 32;          // a name and its NUL
constexpr int kHolderField = 20;        // a record holder's name and its NUL
constexpr int kDefaultNames = 10;       // "defname1".."defname10"

constexpr size_t kProfileBytes = 156;
constexpr size_t kLevelRecordBytes = 96;
constexpr size_t kRecordsBytes = kLevelRecordBytes * kModeCount * kLevelCount;  // 20160
constexpr size_t kHiscoreBytes = 36 * kModeCount * kHiscoreRanks;               // 1080
constexpr size_t kMode3Bytes = 108 * kLevelCount;                               // 7560
constexpr size_t kSurrecsBytes = kLevelRecordBytes * 2 * kLevelCount;           // 13440

// Lives a profile may hold: -1 marks a lost game; the rules give an extra
// life for every so many points, far fewer than this in any game.
constexpr int32_t kMinLives = -1;
constexpr int32_t kMaxLives = 999;

struct ProfileRecord {
    char name[kNameField] = {};
    uint8_t showHelp[kModeCount] = {1, 1, 1};  // the help screen opens before the mode's first level
    int32_t levelInStage[kModeCount] = {};      // 0..4
    int32_t stage[kModeCount] = {};             // 0..13
    int32_t bestLevelInStage[kModeCount] = {};  // within the best stage
    int32_t bestStage[kModeCount] = {};
    int32_t score[kModeCount] = {};             // the running game's total, points
    int32_t lives[kModeCount] = {kStartLives, kStartLives, kStartLives};
    uint8_t tipShown[kTipFlags] = {};           // in the order of game::Tip
    int32_t mode = 1;                           // current mode
    uint8_t savedGame[kModeCount] = {};         // a saved game counts for the mode
};

struct LevelRecord {
    char comboHolder[kHolderField] = {};
    char scoreHolder[kHolderField] = {};
    char timeHolder[kHolderField] = {};
    char movesHolder[kHolderField] = {};
    int32_t score = 0;    // best score, points
    int32_t combo = 0;    // best combo
    int32_t timeMs = 0;   // best time, ms
    int32_t moves = 0;    // fewest moves
};

struct HiscoreEntry {
    char name[kNameField] = {};
    int32_t score = 0;
};

struct ActionLevelScores {
    struct Entry {
        char name[kNameField] = {};
        int32_t timeMs = 0;
    };
    Entry entries[3];     // ascending times
};

struct PlayerData {
    SettingsBlock settings;
    std::array<ProfileRecord, kMaxPlayers> profiles{};
    int32_t count = 0;                                   // players; the current one is settings.currentPlayer
    std::array<std::array<LevelRecord, kLevelCount>, kModeCount> records{};
    std::array<std::array<HiscoreEntry, kHiscoreRanks>, kModeCount> hiscores{};
    std::array<ActionLevelScores, kLevelCount> mode3{};
    std::array<std::array<LevelRecord, kLevelCount>, 2> surrecs{};
    bool hiscorePending = false;   // a lost game's score waits for the table (the "hiscore" screen)
    std::string folder;            // the player-data folder; empty: nothing is read or saved
    bool folderFailed = false;     // a save failed; said once on stderr
};

inline PlayerData g_playerData;

// --- The folder -----------------------------------------------------------
// $XDG_DATA_HOME/tessaly, or ~/.local/share/tessaly when the variable is
// unset or empty; empty when neither can be had.
std::string defaultPlayerFolder();

// --- Files ------------------------------------------------------------------
// The settings from "settings.dat" (before the window opens). Missing or of
// another size: every default and no players.
void readSettings(PlayerData& d);
// The player files (after the text tables, which the defaults use).
void loadPlayerFiles(PlayerData& d);
// Writes the settings and all five player files. False when the folder
// can't be made or a file can't be written (said once on stderr); every
// file written is whole.
bool saveAllPlayerData(PlayerData& d);

// Byte images of the files, for saving and for tests.
void encodeProfile(const ProfileRecord& p, uint8_t* out);   // kProfileBytes
void decodeProfile(const uint8_t* in, ProfileRecord& p);     // clamps what no game can produce
void encodeRecords(const PlayerData& d, uint8_t* out);       // kRecordsBytes
void encodeHiscores(const PlayerData& d, uint8_t* out);      // kHiscoreBytes
void encodeMode3(const PlayerData& d, uint8_t* out);         // kMode3Bytes
void encodeSurrecs(const PlayerData& d, uint8_t* out);       // kSurrecsBytes

// The defaults of a first run. `sumScores` receives the summed reference
// score of each mode, from which the hiscore defaults grow.
void generateDefaultRecords(PlayerData& d, int64_t (&sumScores)[kModeCount]);
void generateDefaultHiscores(PlayerData& d, const int64_t (&sumScores)[kModeCount]);
void generateDefaultMode3(PlayerData& d);
void generateDefaultSurrecs(PlayerData& d);  // after mode3: it takes names and scores from it

// --- Players ------------------------------------------------------------------
// The current player, or null when there is none.
ProfileRecord* currentProfile(PlayerData& d);
// Fails on an empty name, one longer than a name field holds, one equal to
// an existing player's, or a ninth player. The new player becomes current.
bool createPlayer(PlayerData& d, std::string_view name);
// Fails on an empty or too long name; no check for duplicates.
bool renamePlayer(PlayerData& d, int index, std::string_view name);
void removePlayer(PlayerData& d, int index);
void selectPlayer(PlayerData& d, int index);

// --- The current player in a mode ---------------------------------------------
// A level number is stage x 5 + level in the stage.
int currentLevelNumber(const ProfileRecord& p, int mode);
void setCurrentLevelNumber(ProfileRecord& p, int mode, int level);
// The highest level number the player may choose.
int progress(const ProfileRecord& p, int mode);
// Score 0, lives 3, the stage's first level (the stage stays).
void resetProgress(ProfileRecord& p, int mode);
struct ProgressAdvance {
    bool stageCompleted = false;
    bool allStagesCompleted = false;
};
// The next level (never past 69), the progress, and whether a stage or all
// fourteen were completed; after the last the player is back on stage 1.
ProgressAdvance advanceProgress(ProfileRecord& p, int mode);
// A won level of `mode`: every value strictly better than the level's
// record takes the record and the player's name; then the hiscore table,
// the player's position, and all player data saved.
ProgressAdvance recordFinishedLevel(PlayerData& d, int mode, const game::LevelResult& result);
// The player's score in `mode` into the mode's table: below equal scores,
// and never a second entry for a name already holding a better place.
void insertHiscore(PlayerData& d, int mode);

}  // namespace tessaly::player
