// Player data: the files' layouts and round trips, the damaged-file rules,
// the generated defaults, players, progress, records and the hiscore table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "base/files.h"
#include "base/random.h"
#include "data/text.h"
#include "player/player_data.h"
#include "support/test_support.h"

namespace tessaly::player {
namespace {

namespace fs = std::filesystem;

class PlayerDataTest : public test::DataFolderTest {
protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        base::seedRandom(5);
        data::freeTextTable();
        const std::string names =
            "defname1=ELLA\r\ndefname2=FINN\r\ndefname3=IRIS\r\ndefname4=OSKAR\r\ndefname5=MAYA\r\n"
            "defname6=TOBI\r\ndefname7=NORA\r\ndefname8=LEO\r\ndefname9=SOPHIE\r\ndefname10=BEN\r\n";
        data::g_texts.parse(names.data(), int(names.size()));
        d = std::make_unique<PlayerData>();
        d->folder = (m_folder.path() / "user").string();
    }
    void TearDown() override {
        data::freeTextTable();
        DataFolderTest::TearDown();
    }
    std::string file(const char* name) const { return d->folder + "/" + name; }
    void writeFile(const char* name, const std::string& bytes) const {
        base::makeFolders(d->folder, 0700);
        ASSERT_TRUE(base::writeFileAtomic(file(name), bytes.data(), bytes.size()));
    }
    // A reload of what is on disk into a fresh record.
    std::unique_ptr<PlayerData> reload() const {
        auto r = std::make_unique<PlayerData>();
        r->folder = d->folder;
        readSettings(*r);
        loadPlayerFiles(*r);
        return r;
    }
    void withPlayers(std::initializer_list<const char*> names) {
        for (const char* n : names) ASSERT_TRUE(createPlayer(*d, n));
    }

    std::unique_ptr<PlayerData> d;
};

// --- Layouts and round trips -------------------------------------------------

TEST_F(PlayerDataTest, SettingsKeepTheirLayoutDefaultsAndRanges) {
    SettingsBlock s;
    s.musicVolume = 12;
    s.effectsVolume = 34;
    s.customPointer = 1;
    s.currentPlayer = 2;
    s.playerCount = 3;
    s.fullscreen = 0;
    s.ballSpeed = 101.5f;
    uint8_t bytes[kSettingsBytes];
    encodeSettings(s, bytes);
    int32_t v;
    std::memcpy(&v, bytes + 4, 4);
    EXPECT_EQ(v, 34);
    EXPECT_EQ(bytes[25], 1);
    std::memcpy(&v, bytes + 36, 4);
    EXPECT_EQ(v, 3);
    float f;
    std::memcpy(&f, bytes + 44, 4);
    EXPECT_FLOAT_EQ(f, 101.5f);
    SettingsBlock back;
    ASSERT_TRUE(decodeSettings(bytes, sizeof bytes, back));
    EXPECT_EQ(back.musicVolume, 12);
    EXPECT_EQ(back.currentPlayer, 2);
    EXPECT_EQ(back.fullscreen, 0);

    // Another size counts as absent; values no slider can set are clamped.
    EXPECT_FALSE(decodeSettings(bytes, 47, back));
    EXPECT_EQ(back.musicVolume, 90);
    EXPECT_EQ(back.fullscreen, 1);
    EXPECT_FLOAT_EQ(back.ballSpeed, 70.0f);
    const int32_t huge = 1 << 30;
    std::memcpy(bytes, &huge, 4);
    const float nan = std::nanf("");
    std::memcpy(bytes + 44, &nan, 4);
    ASSERT_TRUE(decodeSettings(bytes, sizeof bytes, back));
    EXPECT_EQ(back.musicVolume, kMaxVolume);
    EXPECT_FLOAT_EQ(back.ballSpeed, kDefaultBallSpeed);
}

TEST_F(PlayerDataTest, ProfilesKeepTheirLayoutAndAreClampedOnLoading) {
    ProfileRecord p;
    std::strcpy(p.name, "ANNA");
    p.stage[2] = 7;
    p.levelInStage[2] = 3;
    p.lives[1] = -1;
    p.tipShown[12] = 1;
    p.mode = 0;
    p.savedGame[1] = 1;
    uint8_t bytes[kProfileBytes];
    encodeProfile(p, bytes);
    int32_t v;
    std::memcpy(&v, bytes + 48 + 8, 4);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(bytes[32], 1);    // show-help flags start set
    EXPECT_EQ(bytes[120], 1);   // the last tip flag
    EXPECT_EQ(bytes[128], 1);   // mode 0 sets the classic flag
    EXPECT_EQ(bytes[137], 1);   // saved game of mode 1
    ProfileRecord back;
    decodeProfile(bytes, back);
    EXPECT_STREQ(back.name, "ANNA");
    EXPECT_EQ(currentLevelNumber(back, 2), 38);
    EXPECT_EQ(back.lives[1], -1);

    // What no game produces: a stage of 40, mode 7, a name without its NUL.
    std::memset(bytes, 'A', 32);
    const int32_t forty = 40, seven = 7, many = 1 << 30;
    std::memcpy(bytes + 48, &forty, 4);
    std::memcpy(bytes + 124, &seven, 4);
    std::memcpy(bytes + 96, &many, 4);
    decodeProfile(bytes, back);
    EXPECT_EQ(std::strlen(back.name), 31u);
    EXPECT_EQ(back.stage[0], kStageCount - 1);
    EXPECT_EQ(back.mode, 2);
    EXPECT_EQ(back.lives[0], kMaxLives);
}

TEST_F(PlayerDataTest, EveryFileRoundTripsWithItsSize) {
    loadPlayerFiles(*d);  // defaults for the tables (no files yet)
    withPlayers({"ANNA", "BORIS", "CLARA"});
    d->profiles[1].score[2] = 4321;
    d->records[1][5].combo = 9;
    d->hiscores[2][3].score = 777;
    d->settings.musicVolume = 40;
    selectPlayer(*d, 1);
    ASSERT_TRUE(saveAllPlayerData(*d));
    const std::pair<const char*, size_t> sizes[] = {
        {"settings.dat", 48},     {"profiles.dat", 3 * 156}, {"records.dat", 20160},
        {"hiscore.dat", 1080},    {"mode3.dat", 7560},       {"surrecs.dat", 13440},
    };
    for (const auto& [name, size] : sizes) EXPECT_EQ(fs::file_size(file(name)), size) << name;
    EXPECT_EQ(fs::status(d->folder).permissions() & fs::perms::all, fs::perms::owner_all);

    const auto r = reload();
    ASSERT_EQ(r->count, 3);
    ASSERT_NE(currentProfile(*r), nullptr);
    EXPECT_STREQ(currentProfile(*r)->name, "BORIS");  // 3 players, current 1: the second record
    EXPECT_EQ(r->profiles[1].score[2], 4321);
    EXPECT_EQ(r->records[1][5].combo, 9);
    EXPECT_EQ(r->hiscores[2][3].score, 777);
    EXPECT_EQ(r->settings.musicVolume, 40);
    EXPECT_EQ(std::memcmp(r->mode3.data(), d->mode3.data(), sizeof d->mode3), 0);
    EXPECT_EQ(std::memcmp(r->surrecs.data(), d->surrecs.data(), sizeof d->surrecs), 0);
}

// --- Damaged and missing files ------------------------------------------------

TEST_F(PlayerDataTest, DamagedTablesAreKeptBesideAndMadeAnew) {
    loadPlayerFiles(*d);
    withPlayers({"ANNA"});
    d->hiscores[0][0].score = 123456;
    ASSERT_TRUE(saveAllPlayerData(*d));
    struct Case {
        const char* file;
        std::string bytes;
    };
    const Case cases[] = {
        {"records.dat", std::string(100, 'x')},          // short
        {"hiscore.dat", std::string(1081, '\0')},        // one byte long
        {"mode3.dat", std::string(7560 * 3, '\x7F')},    // garbage of another size
        {"surrecs.dat", ""},                             // empty
    };
    for (const Case& c : cases) writeFile(c.file, c.bytes);
    const auto r = reload();
    EXPECT_EQ(r->count, 1) << "the players are untouched";
    EXPECT_NE(r->hiscores[0][0].score, 123456) << "the damaged table was made anew";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bad = file(c.file) + ".bad";
        ASSERT_TRUE(fs::exists(bad));
        EXPECT_EQ(fs::file_size(bad), c.bytes.size());
    }
    // A second damage never overwrites the first copy.
    writeFile("records.dat", "again");
    reload();
    EXPECT_EQ(fs::file_size(file("records.dat") + ".bad"), 100u);
    EXPECT_EQ(fs::file_size(file("records.dat") + ".1.bad"), 5u);
}

TEST_F(PlayerDataTest, ProfilesMustHoldThePlayersTheSettingsCount) {
    withPlayers({"ANNA", "BORIS"});
    ASSERT_TRUE(saveAllPlayerData(*d));
    // The settings say three players; the file holds two.
    SettingsBlock s = d->settings;
    s.playerCount = 3;
    uint8_t bytes[kSettingsBytes];
    encodeSettings(s, bytes);
    writeFile("settings.dat", std::string(reinterpret_cast<char*>(bytes), sizeof bytes));
    auto r = reload();
    EXPECT_EQ(r->count, 0);
    EXPECT_TRUE(fs::exists(file("profiles.dat") + ".bad")) << "kept before the next save replaces it";

    // Settings of another size count as absent: defaults, but the whole
    // profiles file still brings its players back.
    writeFile("settings.dat", std::string(47, '\0'));
    r = reload();
    EXPECT_EQ(r->settings.musicVolume, 90);
    ASSERT_EQ(r->count, 2);
    EXPECT_STREQ(r->profiles[1].name, "BORIS");
}

TEST_F(PlayerDataTest, FirstRunDefaultsComeFromTheReferenceFiles) {
    m_folder.write("hi_expert.txt", std::string("score1=300\r\ncombo1=4\r\ntime1=1.30\r\nmove1=10\r\n"
                                                "score2=600\r\n"));
    loadPlayerFiles(*d);
    const LevelRecord& r = d->records[0][0];
    EXPECT_EQ(r.score, 200);        // two thirds
    EXPECT_EQ(r.combo, 4);
    EXPECT_EQ(r.timeMs, 180000);    // one minute thirty, doubled
    EXPECT_EQ(r.moves, 15);         // one and a half
    EXPECT_GT(std::strlen(r.scoreHolder), 0u);
    // The hiscores grow from the summed scores: S = 200 + 400.
    EXPECT_STREQ(d->hiscores[0][0].name, "ELLA");
    EXPECT_EQ(d->hiscores[0][0].score, 400);                      // 2 x 600 / 3
    EXPECT_EQ(d->hiscores[0][1].score, (2 * (600 - 60)) / 3 / 100 * 100);
    EXPECT_STREQ(d->hiscores[0][9].name, "BEN");
    EXPECT_EQ(d->hiscores[1][0].score, 0) << "a missing reference file gives zeros";
    // The action times rise with the level; the survival records copy them.
    EXPECT_GE(d->mode3[0].entries[0].timeMs, 25000);
    EXPECT_LT(d->mode3[0].entries[0].timeMs, d->mode3[0].entries[1].timeMs);
    EXPECT_EQ(d->surrecs[1][30].score, d->mode3[30].entries[0].timeMs);
    EXPECT_EQ(d->surrecs[1][30].timeMs, 0);

    // Only hiscore.dat missing: the tables start at zero.
    ASSERT_TRUE(saveAllPlayerData(*d));
    fs::remove(file("hiscore.dat"));
    const auto again = reload();
    for (const auto& mode : again->hiscores)
        for (const HiscoreEntry& e : mode) EXPECT_EQ(e.score, 0);
    EXPECT_EQ(again->records[0][0].score, 200);
}

TEST_F(PlayerDataTest, NoFolderMeansNothingIsReadOrSaved) {
    d->folder.clear();
    readSettings(*d);
    loadPlayerFiles(*d);
    EXPECT_EQ(d->count, 0);
    EXPECT_FALSE(saveAllPlayerData(*d));
    // A folder that can't be made: the save says so once and fails.
    m_folder.write("blocker", std::string("a file where the folder would go"));
    d->folder = (m_folder.path() / "blocker" / "tessaly").string();
    EXPECT_FALSE(saveAllPlayerData(*d));
    EXPECT_TRUE(d->folderFailed);
}

// --- Players -----------------------------------------------------------------

TEST_F(PlayerDataTest, CreatingRenamingAndRemovingPlayers) {
    EXPECT_FALSE(createPlayer(*d, ""));
    withPlayers({"ANNA", "BORIS", "CLARA"});
    EXPECT_FALSE(createPlayer(*d, "BORIS")) << "names are unique";
    EXPECT_EQ(d->settings.currentPlayer, 2) << "the new player is current";
    const ProfileRecord& fresh = d->profiles[2];
    EXPECT_EQ(fresh.lives[0], 3);
    EXPECT_EQ(fresh.mode, 1);
    EXPECT_EQ(fresh.showHelp[2], 1);
    for (const char* n : {"D", "E", "F", "G", "H"}) EXPECT_TRUE(createPlayer(*d, n));
    EXPECT_FALSE(createPlayer(*d, "I")) << "no ninth player";
    EXPECT_FALSE(renamePlayer(*d, 0, ""));
    EXPECT_TRUE(renamePlayer(*d, 0, "CLARA")) << "renaming does not check duplicates";

    struct Case {
        int players, current, removed, currentAfter;
    };
    const Case cases[] = {
        {3, 2, 2, 1},  // the current player, last in the list
        {3, 0, 0, 0},  // the current player, first in the list
        {3, 2, 0, 1},  // one before the current player
        {3, 0, 2, 0},  // one after it
        {1, 0, 0, 0},  // the last player
    };
    for (const Case& c : cases) {
        PlayerData p;
        for (int i = 0; i < c.players; ++i) createPlayer(p, std::string(1, char('A' + i)));
        selectPlayer(p, c.current);
        removePlayer(p, c.removed);
        EXPECT_EQ(p.count, c.players - 1);
        EXPECT_EQ(p.settings.currentPlayer, c.currentAfter) << c.players << "/" << c.current << "/" << c.removed;
    }
    PlayerData none;
    createPlayer(none, "A");
    removePlayer(none, 0);
    EXPECT_EQ(currentProfile(none), nullptr);
}

// --- Progress, records and hiscores ---------------------------------------------

TEST_F(PlayerDataTest, AdvancingThroughStagesAndPastTheLastLevel) {
    ProfileRecord p;
    setCurrentLevelNumber(p, 0, 3);
    ProgressAdvance a = advanceProgress(p, 0);
    EXPECT_FALSE(a.stageCompleted);
    EXPECT_EQ(currentLevelNumber(p, 0), 4);
    a = advanceProgress(p, 0);
    EXPECT_TRUE(a.stageCompleted);
    EXPECT_FALSE(a.allStagesCompleted);
    EXPECT_EQ(currentLevelNumber(p, 0), 5);
    EXPECT_EQ(progress(p, 0), 5);

    setCurrentLevelNumber(p, 2, 69);
    a = advanceProgress(p, 2);
    EXPECT_TRUE(a.stageCompleted);
    EXPECT_TRUE(a.allStagesCompleted);
    EXPECT_EQ(p.stage[2], 0);
    EXPECT_EQ(progress(p, 2), 69) << "progress stays at the last level";

    p.score[1] = 900;
    p.lives[1] = 1;
    setCurrentLevelNumber(p, 1, 23);
    resetProgress(p, 1);
    EXPECT_EQ(p.score[1], 0);
    EXPECT_EQ(p.lives[1], 3);
    EXPECT_EQ(currentLevelNumber(p, 1), 20) << "the stage stays";
}

TEST_F(PlayerDataTest, AFinishedLevelTakesTheRecordsItBeats) {
    loadPlayerFiles(*d);
    withPlayers({"ANNA"});
    LevelRecord& r = d->records[1][7];
    r = {};
    std::strcpy(r.scoreHolder, "OLD");
    r.score = 5000;
    r.combo = 3;
    r.timeMs = 60000;
    r.moves = 40;
    setCurrentLevelNumber(d->profiles[0], 1, 7);
    const ProgressAdvance a = recordFinishedLevel(*d, 1, {7, 5000, 4, 60000, 39});
    EXPECT_STREQ(r.scoreHolder, "OLD") << "an equal score is no record";
    EXPECT_EQ(r.combo, 4);
    EXPECT_STREQ(r.comboHolder, "ANNA");
    EXPECT_EQ(r.timeMs, 60000);
    EXPECT_EQ(r.moves, 39);
    EXPECT_STREQ(r.movesHolder, "ANNA");
    EXPECT_FALSE(a.stageCompleted);
    EXPECT_EQ(currentLevelNumber(d->profiles[0], 1), 8);
    EXPECT_TRUE(fs::exists(file("records.dat"))) << "saved with the level";
}

TEST_F(PlayerDataTest, HiscoreInsertion) {
    struct Case {
        const char* what;
        int32_t score;
        int oldRank;            // -1: the player is not in the table
        int32_t oldScore;
        int expectedRank;       // -1: not entered
    };
    // The table holds 1000, 900, ..., 100.
    const Case cases[] = {
        {"a new best", 1500, -1, 0, 0},
        {"a tie goes below the equal score", 700, -1, 0, 4},
        {"below the whole table", 50, -1, 0, -1},
        {"a better old place is kept", 650, 1, 900, -1},
        {"a worse old place moves up", 850, 6, 400, 2},
        {"the same place is updated", 720, 3, 700, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayerData p;
        createPlayer(p, "ANNA");
        for (int k = 0; k < kHiscoreRanks; ++k) {
            std::snprintf(p.hiscores[0][size_t(k)].name, kNameField, "P%d", k);
            p.hiscores[0][size_t(k)].score = 1000 - 100 * k;
        }
        if (c.oldRank >= 0) {
            std::strcpy(p.hiscores[0][size_t(c.oldRank)].name, "ANNA");
            p.hiscores[0][size_t(c.oldRank)].score = c.oldScore;
        }
        p.profiles[0].score[0] = c.score;
        insertHiscore(p, 0);
        int found = -1, count = 0;
        for (int k = 0; k < kHiscoreRanks; ++k)
            if (std::strcmp(p.hiscores[0][size_t(k)].name, "ANNA") == 0) {
                if (found < 0) found = k;
                ++count;
            }
        if (c.expectedRank < 0) {
            EXPECT_EQ(count, c.oldRank >= 0 ? 1 : 0);
        } else {
            EXPECT_EQ(found, c.expectedRank);
            EXPECT_EQ(count, 1) << "one entry per player";
            EXPECT_EQ(p.hiscores[0][size_t(found)].score, c.score);
        }
        for (int k = 1; k < kHiscoreRanks; ++k)
            EXPECT_GE(p.hiscores[0][size_t(k - 1)].score, p.hiscores[0][size_t(k)].score) << "still in order";
    }
}

}  // namespace
}  // namespace tessaly::player
