// The game played headless through the real executable: --level and --mode
// open the game screen, scripted clicks move a ball and make a line, the
// pause key pauses and any key resumes, a screenshot shows the board and the
// panel, and the built-in player plays several levels of each mode through
// the real input path with no broken invariant and no missing texture,
// sound, effect or text.
//
// Level 0 ("tut1_01.lvl") is the fixture of the scripted runs: its file
// places balls that make a line of three with one short move along row 14.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/registry.h"
#include "e2e/run_game.h"
#include "gfx/texture.h"
#include "platform/png_file.h"

namespace tessaly::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kData = TESSALY_DATA_DIR;

// --- Reading the dump --------------------------------------------------------

// The value after "key": in the dump's "game" object (first occurrence after it).
std::string gameSection(const std::string& json) {
    const size_t at = json.find("\"game\":{");
    return at == std::string::npos ? std::string() : json.substr(at);
}

double number(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

bool flag(const std::string& json, const std::string& key) {
    return json.find("\"" + key + "\":true") != std::string::npos;
}

std::string text(const std::string& json, const std::string& key) {
    const std::string open = "\"" + key + "\":\"";
    const size_t at = json.find(open);
    if (at == std::string::npos) return "<missing>";
    const size_t end = json.find('"', at + open.size());
    return json.substr(at + open.size(), end - at - open.size());
}

// An array of strings: the board rows or the path's cells.
std::vector<std::string> strings(const std::string& json, const std::string& key) {
    std::vector<std::string> out;
    size_t at = json.find("\"" + key + "\":[");
    if (at == std::string::npos) return out;
    at += key.size() + 4;
    while (at < json.size() && json[at] != ']') {
        const size_t open = json.find('"', at);
        const size_t close = json.find('"', open + 1);
        out.push_back(json.substr(open + 1, close - open - 1));
        at = close + 1;
        if (json[at] == ',') ++at;
    }
    return out;
}

// The board of a dump, addressed by cell (x 5..24, y 5..19).
struct Board {
    std::vector<std::string> floors, pieces, chains, pending;

    explicit Board(const std::string& game)
        : floors(strings(game, "floors")), pieces(strings(game, "pieces")), chains(strings(game, "chains")),
          pending(strings(game, "pending")) {}
    bool complete() const { return floors.size() == 15 && pieces.size() == 15 && pending.size() == 15; }
    char piece(int x, int y) const { return pieces[size_t(y - 5)][size_t(x - 5)]; }
    char floor(int x, int y) const { return floors[size_t(y - 5)][size_t(x - 5)]; }
    char announced(int x, int y) const { return pending[size_t(y - 5)][size_t(x - 5)]; }
    int count(const std::vector<std::string>& rows, bool (*test)(char)) const {
        int n = 0;
        for (const std::string& r : rows)
            for (char c : r) n += test(c);
        return n;
    }
    int pieceCount() const { return count(pieces, [](char c) { return c != '.'; }); }
    int pendingCount() const { return count(pending, [](char c) { return c != '.'; }); }
    int freeCount() const {
        int n = 0;
        for (int y = 5; y <= 19; ++y)
            for (int x = 5; x <= 24; ++x) n += floor(x, y) != '.' && piece(x, y) == '.';
        return n;
    }
};

// Screen units of a cell's centre.
double cellX(int x) { return (x - 5) * 40 - 360; }
double cellY(int y) { return 280 - (y - 5) * 40; }

// --- Running the game ----------------------------------------------------------

struct Play {
    GameRun run;
    std::string dump, game;
};

// Level `level` of `mode` for `frames` frames of 16 ms with a fixed seed,
// with scripted input lines and extra options.
Play play(const std::string& folder, int level, int mode, int frames, const std::vector<std::string>& script,
          std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--data", kData, "--windowed", "--fixed-step", "16", "--seed", "3",
                                     "--level", std::to_string(level), "--mode", std::to_string(mode),
                                     "--frames", std::to_string(frames), "--dump-state", folder + "/state.json"};
    if (!script.empty()) {
        std::ofstream file(folder + "/input.txt");
        for (const std::string& line : script) file << line << "\n";
        args.insert(args.end(), {"--input", folder + "/input.txt"});
    }
    args.insert(args.end(), extra.begin(), extra.end());
    Play p;
    p.run = runGame(args, folder);
    p.dump = readText(folder + "/state.json");
    p.game = gameSection(p.dump);
    return p;
}

std::string clickAt(int frame, int x, int y) {
    return std::to_string(frame) + " move " + std::to_string(cellX(x)) + " " + std::to_string(cellY(y)) + "\n" +
           std::to_string(frame) + " left-down\n" + std::to_string(frame) + " left-up";
}

void requireDataSet() {
    ASSERT_TRUE(fs::exists(kData + "/levels/tut1_01.lvl")) << "the generated data set is missing from " << kData;
}

// --- Scripted play ----------------------------------------------------------------

TEST(GameE2e, TheLevelOpensWithItsBoard) {
    requireDataSet();
    const TestFolder dir("level-opens");
    const Play p = play(dir.path(), 0, 0, 59, {});
    ASSERT_EQ(p.run.exitCode, 0) << p.run.err;
    EXPECT_NE(p.dump.find("\"screen\":\"game\""), std::string::npos);
    EXPECT_EQ(number(p.game, "mode"), 0);
    EXPECT_EQ(number(p.game, "levelIndex"), 0);
    const Board b(p.game);
    ASSERT_TRUE(b.complete()) << p.game;
    // The file's balls: a pair and a third one two cells off along row 14.
    EXPECT_NE(b.piece(10, 14), '.');
    EXPECT_EQ(b.piece(11, 14), b.piece(10, 14));
    EXPECT_EQ(b.piece(14, 14), b.piece(10, 14));
    EXPECT_EQ(number(p.game, "freeCells"), b.freeCount());
    // The first turn's two balls are announced (both may fall on one cell).
    EXPECT_GE(b.pendingCount(), 1);
    EXPECT_LE(b.pendingCount(), 2);
    EXPECT_EQ(number(p.game, "lives"), 3);
    EXPECT_EQ(number(p.game, "score"), 0);
    EXPECT_FALSE(flag(p.game, "paused"));

    // Options that make no sense are refused before a window opens.
    const Play bad = play(dir.path(), 0, 0, 1, {}, {"--level", "70"});
    EXPECT_EQ(bad.run.exitCode, 2);
    EXPECT_NE(bad.run.err.find("--level"), std::string::npos) << bad.run.err;
}

TEST(GameE2e, ABallTakesTheShortestPathAndNewBallsArrive) {
    requireDataSet();
    const TestFolder dir("move");
    const Play before = play(dir.path(), 0, 0, 59, {});
    ASSERT_EQ(before.run.exitCode, 0) << before.run.err;
    const Board start(before.game);
    ASSERT_TRUE(start.complete());
    const char ball = start.piece(10, 10);
    ASSERT_NE(ball, '.') << "the level's lone ball at (10, 10)";
    // Along row 10 to (14, 10): four free cells in a row, nothing in the way.
    for (int x = 11; x <= 14; ++x) ASSERT_EQ(start.piece(x, 10), '.') << x;
    const std::vector<std::string> script = {clickAt(60, 10, 10), clickAt(62, 14, 10)};

    // Mid-flight: the ball is on its way along the traced path.
    const Play flying = play(dir.path(), 0, 0, 70, script);
    ASSERT_EQ(flying.run.exitCode, 0) << flying.run.err;
    EXPECT_TRUE(flag(flying.game, "ballInFlight")) << flying.game;
    EXPECT_EQ(number(flying.game, "moveFromX"), 10);
    EXPECT_EQ(number(flying.game, "moveTargetX"), 14);
    EXPECT_EQ(number(flying.game, "previewSteps"), 4) << "the previewed path stays while the ball flies";

    const Play after = play(dir.path(), 0, 0, 150, script);
    ASSERT_EQ(after.run.exitCode, 0) << after.run.err;
    const Board end(after.game);
    ASSERT_TRUE(end.complete());
    EXPECT_FALSE(flag(after.game, "ballInFlight"));
    EXPECT_EQ(end.piece(14, 10), ball);
    EXPECT_EQ(end.piece(10, 10), '.');
    EXPECT_EQ(number(after.game, "moves"), 1);
    const std::vector<std::string> path = strings(after.game, "path");
    const std::vector<std::string> expected = {"14,10", "13,10", "12,10", "11,10", "10,10"};
    EXPECT_EQ(path, expected) << "target first, one cell per step, no detour";
    // Nothing was removed, so the announced balls came and two more were announced.
    EXPECT_GT(end.pieceCount(), start.pieceCount());
    EXPECT_GE(end.pendingCount(), 1);
    EXPECT_LE(end.pendingCount(), 2);
    EXPECT_EQ(number(after.game, "freeCells"), end.freeCount());
}

TEST(GameE2e, ALineOfThreeVanishesAndScores) {
    requireDataSet();
    const TestFolder dir("line");
    const Play before = play(dir.path(), 0, 0, 59, {});
    ASSERT_EQ(before.run.exitCode, 0) << before.run.err;
    const Board start(before.game);
    ASSERT_TRUE(start.complete());
    // (14, 14) to (12, 14) completes the row (10..12, 14).
    const Play after = play(dir.path(), 0, 0, 150, {clickAt(60, 14, 14), clickAt(62, 12, 14)});
    ASSERT_EQ(after.run.exitCode, 0) << after.run.err;
    const Board end(after.game);
    for (int x = 10; x <= 14; ++x) EXPECT_EQ(end.piece(x, 14), '.') << x;
    EXPECT_EQ(end.pieceCount(), start.pieceCount() - 3);
    EXPECT_EQ(end.pendingCount(), start.pendingCount()) << "a move that removes a line brings no new balls";
    EXPECT_EQ(number(after.game, "score"), 30) << "three balls at combo 1";
    EXPECT_EQ(number(after.game, "levelScore"), 30);
    EXPECT_EQ(number(after.game, "combo"), 1);
    EXPECT_GT(number(after.game, "barRemaining"), 0);
    EXPECT_LT(number(after.game, "barRemaining"), number(after.game, "barTotal")) << "the level bar filled a little";
}

TEST(GameE2e, QuickClicksAfterAMoveAreTakenOrVisiblyRefused) {
    requireDataSet();
    const TestFolder dir("quick-clicks");
    // A move of four cells, then quick clicks while it flies: a ball picked
    // for the next move is taken, a new target is refused (and shown). The
    // picked ball is sent at once after the landing; while it flies the third
    // ball is picked, and sent the moment the second move's line has gone,
    // by a pair of presses the desktop counts as a double click.
    const std::vector<std::string> script = {
        clickAt(60, 10, 10), clickAt(62, 14, 10),  // first move, lands about frame 90
        clickAt(70, 14, 14),                       // in flight: the next ball
        clickAt(72, 12, 14),                       // in flight: a new target, refused
        clickAt(95, 12, 14),                       // sends (14, 14), a line with (10..11, 14)
        clickAt(100, 14, 10),                      // in flight: the next ball again
        "118 move " + std::to_string(cellX(14)) + " " + std::to_string(cellY(11)), "118 double-click",
        "118 left-up"};
    const Play refused = play(dir.path(), 0, 0, 76, script);
    ASSERT_EQ(refused.run.exitCode, 0) << refused.run.err;
    EXPECT_TRUE(flag(refused.game, "ballInFlight"));
    EXPECT_EQ(text(refused.game, "refused"), "ballInFlight") << "the refusal shows where it was made";
    EXPECT_EQ(number(refused.game, "refusedX"), 12);
    EXPECT_EQ(number(refused.game, "selectedX"), 14) << "the next ball was picked in flight";
    EXPECT_EQ(number(refused.game, "selectedY"), 14);

    const Play after = play(dir.path(), 0, 0, 170, script);
    ASSERT_EQ(after.run.exitCode, 0) << after.run.err;
    const Board b(after.game);
    ASSERT_TRUE(b.complete());
    EXPECT_EQ(number(after.game, "moves"), 3) << "every send after a landing was taken";
    EXPECT_EQ(number(after.game, "refusedClicks"), 1) << "only the target given in flight was refused";
    EXPECT_EQ(number(after.game, "score"), 30) << "the second move made its line";
    EXPECT_NE(b.piece(14, 11), '.') << "the third move, sent right after the line";
    EXPECT_EQ(b.piece(14, 10), '.');
}

TEST(GameE2e, SpacePausesAndAnyKeyResumes) {
    requireDataSet();
    const TestFolder dir("pause");
    const std::vector<std::string> script = {"30 key 32", "50 key 65"};
    const Play paused = play(dir.path(), 2, 1, 45, script);
    ASSERT_EQ(paused.run.exitCode, 0) << paused.run.err;
    EXPECT_TRUE(flag(paused.game, "paused"));
    const double frozen = number(paused.game, "playTimeMs");
    EXPECT_LE(frozen, 30 * 16) << "play time stops while paused";

    const Play resumed = play(dir.path(), 2, 1, 80, script);
    ASSERT_EQ(resumed.run.exitCode, 0) << resumed.run.err;
    EXPECT_FALSE(flag(resumed.game, "paused"));
    EXPECT_GT(number(resumed.game, "playTimeMs"), frozen);
    EXPECT_EQ(number(resumed.game, "mode"), 1);
}

// --- The picture -------------------------------------------------------------------

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* at(int x, int y) const { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// A picture from the data set's packs, decoded as the game decodes it (B, G, R, A).
gfx::Image packedPicture(const std::string& name) {
    data::DataRegistry registry;
    registry.dataFolder = kData;
    registry.loadPack("targa.dat");
    int32_t size = 0;
    const uint8_t* bytes = registry.load(name, &size, false);
    gfx::Image image;
    EXPECT_TRUE(bytes && gfx::decodeImage(bytes, size, image)) << name;
    return image;
}

// Mean colour (R, G, B) of a screenshot's pixel rectangle.
std::array<double, 3> meanColour(const Picture& p, int x0, int y0, int x1, int y1) {
    std::array<double, 3> sum{};
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n)
            for (int c = 0; c < 3; ++c) sum[size_t(c)] += p.at(x, y)[c];
    for (double& s : sum) s /= n;
    return sum;
}

// Mean colour of a picture's texel rectangle, weighted by alpha.
std::array<double, 3> meanColour(const gfx::Image& img, int x0, int y0, int x1, int y1) {
    std::array<double, 3> sum{};
    double n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* t = &img.pixels[(size_t(y) * size_t(img.width) + size_t(x)) * 4];
            const double a = t[3] / 255.0;
            sum[0] += t[2] * a;
            sum[1] += t[1] * a;
            sum[2] += t[0] * a;
            n += a;
        }
    for (double& s : sum) s /= n;
    return sum;
}

double difference(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return (std::fabs(a[0] - b[0]) + std::fabs(a[1] - b[1]) + std::fabs(a[2] - b[2])) / 3;
}

TEST(GameE2e, AScreenshotMidGameShowsTheBoardAndThePanel) {
    requireDataSet();
    const TestFolder dir("screenshot");
    const std::string shot = dir.path() + "/board.png";
    // The pointer rests in a corner, so no cell is highlighted; the picture
    // is taken when the level's balls have appeared and before the first
    // tip opens over them.
    const Play p = play(dir.path(), 2, 0, 55, {"1 move -395 -295"}, {"--screenshot", "55:" + shot});
    ASSERT_EQ(p.run.exitCode, 0) << p.run.err;
    Picture pic;
    std::string error;
    ASSERT_TRUE(platform::readPng(shot, pic.rgba, &pic.width, &pic.height, &error)) << error;
    ASSERT_EQ(pic.width, 800);

    // The panel between the dividers holds only its own picture: x 305..395,
    // y 120..130 in units, stretched from the 128 x 1024 art over x 300..400.
    const gfx::Image panel = packedPicture("gamebar.tga");
    ASSERT_EQ(panel.width, 128);
    const auto shown = meanColour(pic, 705, 170, 795, 180);
    const auto art = meanColour(panel, int(5 * 1.28), int(170 * 1024 / 600.0), int(95 * 1.28), int(180 * 1024 / 600.0));
    EXPECT_LT(difference(shown, art), 12) << "the panel is drawn where it belongs";

    // Every ball on the board shows its own colour at its centre.
    const Board b(p.game);
    ASSERT_TRUE(b.complete());
    int balls = 0;
    for (int y = 5; y <= 19; ++y)
        for (int x = 5; x <= 21; ++x) {
            const char c = b.piece(x, y);
            if (c < '0' || c > '7') continue;
            const gfx::Image ball = packedPicture(std::string("bal0") + c + ".tga");
            const int px = int(cellX(x) + 400), py = int(300 - cellY(y));
            const auto centre = meanColour(pic, px - 5, py - 5, px + 5, py + 5);
            const auto expected = meanColour(ball, 24, 24, 40, 40);
            EXPECT_LT(difference(centre, expected), 40) << "ball " << c << " at " << x << "," << y;
            ++balls;
        }
    EXPECT_GT(balls, 10) << "the third level starts half full";
    // An empty floor cell is a pale tile.
    for (int y = 5; y <= 19; ++y)
        for (int x = 5; x <= 21; ++x) {
            if (b.floor(x, y) != '0' || b.piece(x, y) != '.' || b.announced(x, y) != '.') continue;
            const int px = int(cellX(x) + 400), py = int(300 - cellY(y));
            const auto tile = meanColour(pic, px - 8, py - 8, px + 8, py + 8);
            EXPECT_GT((tile[0] + tile[1] + tile[2]) / 3, 140) << "floor at " << x << "," << y;
        }
}

// The typed code that turns the developer keys on, then `presses` of the
// middle button, each adding a fifth of the hammer's charge.
std::vector<std::string> chargeHammer(int presses) {
    std::vector<std::string> script;
    int frame = 30;
    for (const char* c = "PKVWZQXJ"; *c; ++c) script.push_back(std::to_string(frame++) + " key " + std::to_string(int(*c)));
    for (int i = 0; i < presses; ++i) script.push_back(std::to_string(41 + i) + " middle-down");
    script.push_back("46 move 0 0");
    return script;
}

TEST(GameE2e, TheHammerLooksReadyOnlyWhenItIsAndSaysWhyWhenNot) {
    requireDataSet();
    const TestFolder dir("hammer-ready");
    Picture shots[2];
    for (int full = 0; full < 2; ++full) {
        const std::string shot = dir.path() + "/hammer" + std::to_string(full) + ".png";
        const Play p = play(dir.path(), 2, 0, 60, chargeHammer(full ? 5 : 4), {"--screenshot", "58:" + shot});
        ASSERT_EQ(p.run.exitCode, 0) << p.run.err;
        EXPECT_EQ(flag(p.game, "hammerReady"), full == 1) << "charge " << number(p.game, "hammerCharge");
        std::string error;
        ASSERT_TRUE(platform::readPng(shot, shots[full].rgba, &shots[full].width, &shots[full].height, &error))
            << error;
    }
    // The hammer's head (the button's upper part, x 335..375, y -185..-205
    // in units): dim while it charges, bright once ready, not nearly alike.
    const auto charging = meanColour(shots[0], 735, 485, 775, 505);
    const auto ready = meanColour(shots[1], 735, 485, 775, 505);
    const double dim = (charging[0] + charging[1] + charging[2]) / 3, lit = (ready[0] + ready[1] + ready[2]) / 3;
    EXPECT_GT(lit - dim, 50) << "charging " << dim << ", ready " << lit;
    // The charging gauge at the button's left shows the charge: lit at its
    // bottom (x 325, y -270), dark near its top at 80 % (x 325, y -180).
    const auto gaugeLow = meanColour(shots[0], 724, 567, 728, 573);
    const auto gaugeHigh = meanColour(shots[0], 724, 477, 728, 483);
    EXPECT_GT(gaugeLow[0] - gaugeHigh[0], 60);

    // A click on the charging hammer opens a tip that says why nothing happens.
    std::vector<std::string> script = chargeHammer(4);
    script.insert(script.end(), {"50 move 352 -226", "50 left-down", "50 left-up"});
    const Play asked = play(dir.path(), 2, 0, 60, script);
    ASSERT_EQ(asked.run.exitCode, 0) << asked.run.err;
    EXPECT_EQ(text(asked.game, "tipOpen"), "hammernotready");
    EXPECT_EQ(text(asked.game, "cursorMode"), "normal");
}

TEST(GameE2e, PreviewsAndSquaresUnderBallsAreVisible) {
    requireDataSet();
    const TestFolder dir("previews-squares");
    const std::string shot = dir.path() + "/board.png";
    // A Puzzle level with squares under balls; the picture is taken when the
    // balls have appeared and before the first tip opens.
    const Play p = play(dir.path(), 5, 1, 56, {"1 move -395 -295"}, {"--screenshot", "55:" + shot});
    ASSERT_EQ(p.run.exitCode, 0) << p.run.err;
    Picture pic;
    std::string error;
    ASSERT_TRUE(platform::readPng(shot, pic.rgba, &pic.width, &pic.height, &error)) << error;
    const Board b(p.game);
    ASSERT_TRUE(b.complete());
    auto px = [](int x) { return int(cellX(x) + 400); };
    auto py = [](int y) { return int(300 - cellY(y)); };
    auto brightness = [](const std::array<double, 3>& c) { return (c[0] + c[1] + c[2]) / 3; };

    // An empty tile as the board shows it.
    std::array<double, 3> tile{};
    bool tileFound = false;
    for (int y = 5; y <= 19 && !tileFound; ++y)
        for (int x = 5; x <= 24 && !tileFound; ++x)
            if (b.floor(x, y) == '0' && b.piece(x, y) == '.' && b.announced(x, y) == '.') {
                tile = meanColour(pic, px(x) - 8, py(y) - 8, px(x) + 8, py(y) + 8);
                tileFound = true;
            }
    ASSERT_TRUE(tileFound);

    // An announced ball covers its cell well beyond a dot: 7 pixels out from
    // its centre, on all four sides, the tile is hidden.
    int previews = 0;
    for (int y = 5; y <= 19; ++y)
        for (int x = 5; x <= 24; ++x) {
            if (b.floor(x, y) != '0' || b.piece(x, y) != '.' || b.announced(x, y) == '.') continue;
            const int cx = px(x), cy = py(y);
            const int offsets[4][2] = {{7, 0}, {-7, 0}, {0, 7}, {0, -7}};
            for (const auto& o : offsets) {
                const auto seen = meanColour(pic, cx + o[0] - 1, cy + o[1] - 1, cx + o[0] + 2, cy + o[1] + 2);
                EXPECT_GT(difference(seen, tile), 30) << "preview at " << x << "," << y << " offset " << o[0] << ","
                                                      << o[1];
            }
            ++previews;
        }
    EXPECT_GT(previews, 5);

    // A square under a ball shows its frame at the ball's edge: amber for a
    // single square, ice blue for a strong one, checked on balls whose own
    // colour could not pass for the frame's.
    int framed = 0;
    for (int y = 5; y <= 19; ++y)
        for (int x = 5; x <= 24; ++x) {
            const char f = b.floor(x, y), piece = b.piece(x, y);
            if (f < '1' || piece < '0' || piece > '7' || b.chains[size_t(y - 5)][size_t(x - 5)] != '0') continue;
            const bool single = f == '1';
            const std::string contrary = single ? "12467" : "0357";
            if (contrary.find(piece) == std::string::npos) continue;
            const auto edge = meanColour(pic, px(x) - 20, py(y) - 1, px(x) - 18, py(y) + 2);
            if (single)
                EXPECT_GT(edge[0] - edge[2], 60) << "square at " << x << "," << y << " ball " << piece;
            else
                EXPECT_GT(edge[2] - edge[0], 40) << "strong square at " << x << "," << y << " ball " << piece;
            EXPECT_GT(brightness(edge), 90) << x << "," << y;
            ++framed;
        }
    EXPECT_GE(framed, 2) << "the level puts balls on squares";
}

TEST(GameE2e, FirstTimeTipsOpenOneAtATimeWithPlayBetween) {
    requireDataSet();
    const TestFolder dir("one-tip");
    // A fresh profile on a Puzzle level with chains and strong squares asks
    // for several tips at once. The first is closed at frame 150.
    const std::vector<std::string> script = {"1 move -395 -295", "150 left-down", "150 left-up"};
    struct Moment {
        int frame;
        bool open;
    };
    // Open before the click; 2.4 s of play after it the next still waits;
    // 4 s after it the next one is open.
    for (const Moment m : {Moment{140, true}, Moment{300, false}, Moment{420, true}}) {
        const Play p = play(dir.path(), 15, 1, m.frame, script);
        ASSERT_EQ(p.run.exitCode, 0) << p.run.err;
        EXPECT_EQ(text(p.game, "tipOpen").empty(), !m.open) << "frame " << m.frame << ": " << text(p.game, "tipOpen");
        EXPECT_GE(number(p.game, "tipsQueued"), 2) << "more tips wait their turn";
        if (!m.open) {
            EXPECT_GT(number(p.game, "tipWaitMs"), 0);
        }
    }
}

TEST(GameE2e, TheBoardStandsInAFrameOnTheDayLand) {
    requireDataSet();
    const TestFolder dir("board-frame");
    const std::string shot = dir.path() + "/day.png";
    // Key '3' lights the land for the day: the palest of the tints.
    const Play p = play(dir.path(), 0, 0, 61, {"1 move -395 -295", "5 key 51"}, {"--screenshot", "60:" + shot});
    ASSERT_EQ(p.run.exitCode, 0) << p.run.err;
    EXPECT_EQ(number(p.game, "scene"), 2);
    Picture pic;
    std::string error;
    ASSERT_TRUE(platform::readPng(shot, pic.rgba, &pic.width, &pic.height, &error)) << error;
    const Board b(p.game);
    ASSERT_TRUE(b.complete());
    // Just outside every outer edge of the field, a dark frame; inside, the
    // pale tile.
    int edges = 0;
    for (int y = 5; y <= 19; ++y)
        for (int x = 5; x <= 24; ++x) {
            if (b.floor(x, y) == '.' || (x > 5 && b.floor(x - 1, y) != '.')) continue;
            const int px = int(cellX(x) + 400), py = int(300 - cellY(y));
            const auto frame = meanColour(pic, px - 25, py - 3, px - 22, py + 3);
            const auto tile = meanColour(pic, px - 6, py - 6, px + 6, py + 6);
            EXPECT_LT((frame[0] + frame[1] + frame[2]) / 3, 90) << "left of " << x << "," << y;
            EXPECT_GT(difference(frame, tile), 60) << x << "," << y;
            ++edges;
        }
    EXPECT_GT(edges, 3);
}

// --- The built-in player ----------------------------------------------------------

TEST(GameE2e, TheBuiltInPlayerPlaysSeveralLevelsOfEveryMode) {
    requireDataSet();
    struct Run {
        int mode;
        std::string folder;
        pid_t pid = 0;
    };
    const TestFolder dir("autoplay");
    std::vector<Run> runs;
    for (int mode = 0; mode < 3; ++mode) {
        Run r{mode, dir.path() + "/mode" + std::to_string(mode)};
        fs::create_directories(r.folder);
        // 2000 frames of 50 ms: a little under two minutes of play.
        r.pid = startGame({"--data", kData, "--windowed", "--fixed-step", "50", "--seed", "13", "--level", "2",
                           "--mode", std::to_string(mode), "--autoplay", "--frames", "2000", "--dump-state",
                           r.folder + "/state.json"},
                          r.folder);
        runs.push_back(r);
    }
    for (Run& r : runs) {
        const GameRun run = waitGame(r.pid, r.folder, 600);
        SCOPED_TRACE("mode " + std::to_string(r.mode));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string dump = readText(r.folder + "/state.json");
        const std::string game = gameSection(dump);
        const size_t autoplay = game.find("\"autoplay\":{");
        ASSERT_NE(autoplay, std::string::npos);
        const std::string a = game.substr(autoplay);
        EXPECT_EQ(number(a, "problems"), 0) << text(a, "firstProblem");
        // At least one level ended and play went on into the next (the greedy
        // player takes longer over Puzzle's squares than over the others).
        EXPECT_GE(number(a, "levelsWon") + number(a, "levelsLost"), 1) << "a level ended";
        EXPECT_GT(number(a, "moves"), 40);
        EXPECT_GT(number(a, "sideActions"), 10) << "tips, pause, scenes and the menu were tried";
        // Every texture, sound, effect and text asked for was found.
        const size_t lookups = dump.find("\"lookups\":{");
        ASSERT_NE(lookups, std::string::npos);
        const std::string l = dump.substr(lookups);
        EXPECT_EQ(number(l, "total"), 0) << "textures " << text(l, "last_textures") << ", sounds "
                                         << text(l, "last_sounds") << ", effects " << text(l, "last_effects")
                                         << ", texts " << text(l, "last_texts");
        // No fixed pool lost an entry to being full.
        const size_t pools = dump.find("\"pools\":{");
        ASSERT_NE(pools, std::string::npos);
        EXPECT_EQ(number(dump.substr(pools), "droppedTotal"), 0) << dump.substr(pools, 1200);
        const Board b(game);
        ASSERT_TRUE(b.complete());
        EXPECT_EQ(number(game, "freeCells"), b.freeCount());
        EXPECT_EQ(number(game, "mode"), r.mode);
        EXPECT_GT(number(game, "levelIndex"), 2);
    }
}

}  // namespace
}  // namespace tessaly::e2e
