// The game screen's art and texts in the generated data set (Data/ next to
// the binaries), read back through the game's registry, picture decoder and
// text parser: every picture the screen loads is there, packed or loose as
// it must be, at the size docs/game-art.md promises, and keeps the
// conventions the screen's drawing relies on; every text key the screen, its
// tips and the rules show is in the tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/registry.h"
#include "data/text.h"
#include "gfx/texture.h"
#include "tools/data_set_fixture.h"

namespace tessaly {
namespace {

// The generated data set, read the way start-up reads it.
class GameArt : public test::GeneratedDataSet {};

uint8_t alphaAt(const gfx::Image& image, int x, int y) {
    return image.pixels[(size_t(y) * size_t(image.width) + size_t(x)) * 4 + 3];
}

TEST_F(GameArt, EveryPictureOfTheGameScreenIsThereAtItsSize) {
    enum Where { Targa, Jpeg, Loose };
    const struct {
        const char* name;
        int width, height;
        Where where;
    } pictures[] = {
        {"bal00.tga", 64, 64, Targa},        {"bal01.tga", 64, 64, Targa},
        {"bal02.tga", 64, 64, Targa},        {"bal03.tga", 64, 64, Targa},
        {"bal04.tga", 64, 64, Targa},        {"bal05.tga", 64, 64, Targa},
        {"bal06.tga", 64, 64, Targa},        {"bal07.tga", 64, 64, Targa},
        {"shadow.tga", 64, 64, Targa},       {"jocker.tga", 64, 64, Targa},
        {"bomb.tga", 64, 64, Targa},         {"superbomb.tga", 64, 64, Targa},
        {"question.tga", 64, 64, Targa},     {"field0.tga", 64, 64, Targa},
        {"field1.tga", 64, 64, Targa},       {"field1a.tga", 64, 64, Targa},
        {"field2.tga", 64, 64, Targa},       {"field2a.tga", 64, 64, Targa},
        {"fieldspodsv.tga", 64, 64, Targa},  {"zep2.tga", 64, 64, Targa},
        {"gamebar.tga", 128, 1024, Targa},   {"heart.tga", 64, 64, Targa},
        {"levelbar1.tga", 128, 32, Targa},   {"levelbar2.tga", 128, 32, Targa},
        {"scenebuttons.tga", 256, 64, Targa}, {"molotok1.tga", 128, 256, Targa},
        {"molotok2.tga", 128, 256, Targa},   {"cursorhammer.tga", 64, 64, Targa},
        {"gradient.jpg", 256, 256, Jpeg},    {"hammer_lum.jpg", 128, 256, Jpeg},
        {"flare.jpg", 128, 64, Jpeg},  // the effects' beam, loaded with the screen's art
        {"backdrop.jpg", 800, 600, Loose},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        if (p.where == Loose) {
            EXPECT_FALSE(packed(p.name)) << "read again for every level, so it stays loose";
            EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(TESSALY_DATA_DIR) / p.name));
        } else {
            EXPECT_TRUE(packed(p.name));
        }
        const gfx::Image image = picture(p.name);
        EXPECT_EQ(image.width, p.width);
        EXPECT_EQ(image.height, p.height);
    }
}

TEST_F(GameArt, DiamondFramesRunUnbrokenAndMove) {
    // The screen loads "diamond01%.2i.tga" from 1 until one is missing.
    std::vector<gfx::Image> frames;
    for (int i = 1; i < 100; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "diamond01%.2i.tga", i);
        gfx::Image frame = picture(name);
        if (frame.width == 0) break;
        EXPECT_EQ(frame.width, 64) << name;
        EXPECT_EQ(frame.height, 64) << name;
        frames.push_back(std::move(frame));
    }
    ASSERT_GE(frames.size(), 12u);
    for (size_t i = 1; i < frames.size(); ++i)
        EXPECT_NE(frames[i].pixels, frames[i - 1].pixels) << "frame " << i + 1 << " repeats";
}

TEST_F(GameArt, PiecesAreRoundOnClearCornersAndBallColoursStayApart) {
    struct Mean {
        double b = 0, g = 0, r = 0;
    };
    std::vector<Mean> balls;
    for (const char* name : {"bal00.tga", "bal01.tga", "bal02.tga", "bal03.tga", "bal04.tga",
                             "bal05.tga", "bal06.tga", "bal07.tga", "jocker.tga", "bomb.tga",
                             "superbomb.tga"}) {
        SCOPED_TRACE(name);
        const gfx::Image image = picture(name);
        ASSERT_EQ(image.width, 64);
        // Solid in the middle, nothing in the lower corners (the upper right
        // holds the bombs' fuses), so the shadow and the floor show round it.
        EXPECT_EQ(alphaAt(image, 32, 34), 255);
        EXPECT_EQ(alphaAt(image, 1, 62), 0);
        EXPECT_EQ(alphaAt(image, 62, 62), 0);
        EXPECT_EQ(alphaAt(image, 1, 1), 0);
        if (std::string(name).starts_with("bal")) {
            // The body colour: a ring clear of the mark in the middle, on
            // the lower right away from the highlight.
            Mean mean;
            int count = 0;
            for (int y = 32; y < 64; ++y) {
                for (int x = 32; x < 64; ++x) {
                    const double r = std::hypot(x - 31.5, y - 31.5);
                    if (r < 14 || r > 24) continue;
                    const uint8_t* p = &image.pixels[(size_t(y) * 64 + size_t(x)) * 4];
                    mean.b += p[0], mean.g += p[1], mean.r += p[2];
                    ++count;
                }
            }
            balls.push_back({mean.b / count, mean.g / count, mean.r / count});
        }
    }
    ASSERT_EQ(balls.size(), 8u);
    for (size_t i = 0; i < balls.size(); ++i) {
        for (size_t j = i + 1; j < balls.size(); ++j) {
            const double d = std::hypot(balls[i].r - balls[j].r, balls[i].g - balls[j].g,
                                        balls[i].b - balls[j].b);
            EXPECT_GT(d, 40) << "balls " << i << " and " << j << " look alike";
        }
    }
}

TEST_F(GameArt, ArtKeepsTheConventionsTheScreenDrawsBy) {
    // The charged hammer is revealed over the idle one by the charge, so the
    // two must share their outline.
    const gfx::Image idle = picture("molotok1.tga"), charged = picture("molotok2.tga");
    ASSERT_EQ(idle.width, 128);
    ASSERT_EQ(charged.width, 128);
    int differing = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x)
            differing += std::abs(alphaAt(idle, x, y) - alphaAt(charged, x, y)) > 64;
    EXPECT_LT(differing, 128 * 256 / 100);

    // The level bar's fill shows only inside the frame's trough (texels
    // x 7..121, y 7..25): it is revealed from the left over the frame.
    const gfx::Image fill = picture("levelbar2.tga");
    ASSERT_EQ(fill.width, 128);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (x >= 7 && x < 121 && y >= 7 && y < 25) continue;
            ASSERT_EQ(alphaAt(fill, x, y), 0) << x << ", " << y;
        }
    }
    EXPECT_EQ(alphaAt(fill, 64, 16), 255);

    // The hammer's glow is added onto the screen: black at its edges, or it
    // would show as a rectangle.
    const gfx::Image glow = picture("hammer_lum.jpg");
    ASSERT_EQ(glow.width, 128);
    EXPECT_LE(test::brightestEdge(glow), 3);
}

TEST_F(GameArt, EveryTextOfTheGameScreenIsInTheTables) {
    auto table = std::make_unique<data::TextTable>();
    for (const char* file : {"strings.txt", "tips.txt"}) {
        int32_t size = 0;
        const uint8_t* text = m_registry->load(file, &size, false);
        ASSERT_NE(text, nullptr) << file;
        table->parse(reinterpret_cast<const char*>(text), size);
    }
    const char* messages[] = {
        "score", "level", "lives", "menu", "relax", "keytoresume", "congratulations",
        "gamepass1", "continue", "classic", "puzzle", "action", "megamatch", "excellent",
        "perfect", "supermatch", "incredible", "gottalife", "readyhammer", "levelcomplete",
        "stagecomplete", "lastlife", "gameover", "loselife"};
    const char* tips[] = {
        "triplebomb", "triplebomb2", "quadrobomb", "quadrobomb2", "diamond", "diamond2",
        "jokertip", "jokertip2", "hammertip", "hammerfull", "tipbusysquare1", "tipbusysquare2",
        "tipcleanquare", "chainitemtip", "chainballtip", "balltip", "adventsquarehelp",
        "squarehelp", "actionsquarehelp", "newballtip", "actionbartip", "doublerelax",
        "helprelax", "levelprogresbar", "scoretip", "numleveltip", "lifetip", "menutip",
        "relaxtip", "nighttip", "morningtip", "daytip", "levelbartip"};
    for (const char* key : messages) {
        const char* text = table->find(key);
        ASSERT_NE(text, nullptr) << key;
        EXPECT_GT(std::strlen(text), 0u) << key;
    }
    // Tips open in balloons about 300 units wide at text size 11; longer
    // texts grow taller than the space above the board's lower rows.
    for (const char* key : tips) {
        const char* text = table->find(key);
        ASSERT_NE(text, nullptr) << key;
        EXPECT_GT(std::strlen(text), 0u) << key;
        EXPECT_LT(std::strlen(text), 200u) << key;
    }

    // "levelbartip" is a printf format with one integer and no other
    // conversion ("%%" prints a percent sign).
    const std::string format = table->find("levelbartip");
    int conversions = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ASSERT_LT(i + 1, format.size()) << "a lone % at the end";
        if (format[i + 1] == 'i' || format[i + 1] == 'd') ++conversions;
        else EXPECT_EQ(format[i + 1], '%') << "unexpected conversion in " << format;
        ++i;
    }
    EXPECT_EQ(conversions, 1);
    char shown[128];
    std::snprintf(shown, sizeof shown, format.c_str(), 62);
    EXPECT_NE(std::string(shown).find("62%"), std::string::npos) << shown;
}

}  // namespace
}  // namespace tessaly
