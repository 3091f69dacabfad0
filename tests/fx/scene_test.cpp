#include "fx/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/copy_text.h"
#include "base/random.h"
#include "data/registry.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "platform/window.h"
#include "support/test_support.h"

namespace tessaly::fx {
namespace {

using test::Bytes;

// -- builders --------------------------------------------------------------------

struct Rec {
    std::string name;
    float x0, y0, x1, y1;
    float angle = 0;
    float px = 0, py = 0;
    bool mirrored = false;
    int behind = 0;
};

void putFloat(Bytes& b, float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(u >> (8 * i)));
}
void putInt(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// A ".lev" image; `count` < -1000 writes the true count.
Bytes levBytes(const std::vector<Rec>& recs, int count = -100000) {
    Bytes b(64, 0);
    std::memcpy(b.data(), "test land", 9);
    putInt(b, count < -1000 ? int32_t(recs.size()) : count);
    for (const Rec& r : recs) {
        char name[32] = {};
        std::memcpy(name, r.name.data(), std::min<size_t>(r.name.size(), 32));
        b.insert(b.end(), name, name + 32);
        for (float f : {r.x0, r.y0, r.x1, r.y1, r.angle, r.px, r.py}) putFloat(b, f);
        b.push_back(r.mirrored ? 1 : 0);
        putInt(b, r.behind);
    }
    return b;
}

std::string names(const ObjectDefTable& t) {
    std::string s;
    for (int i = 0; i < t.count; ++i) {
        if (!s.empty()) s += ' ';
        s += t.defs[size_t(i)].name;
        s += '@' + std::to_string(t.defs[size_t(i)].group) + '=' + t.defs[size_t(i)].file;
    }
    return s;
}

void parse(ObjectDefTable& t, const std::string& text) { parseObjectDefs(t, text.data(), int(text.size())); }

// -- gameobjs.txt ----------------------------------------------------------------

TEST(SceneDefs, ReadsGroupsAfterProseWithTheirLines) {
    auto t = std::make_unique<ObjectDefTable>();
    parse(*t,
          "Prose before the first group, with = signs and slashes / of its own.\r\n"
          "[skies/]\r\n"
          "sky_day=sky_day.jpg\r\n"
          "  sky_night =  sky_night.jpg  \r\n"
          "[/skies]\r\n"
          "[meshes/]\r\n"
          "pebble=pebble.cgo,unused\r\n"
          "odd=odd.bin\r\n"
          "[/meshes]\r\n");
    EXPECT_EQ(names(*t), "sky_day@0=sky_day.jpg sky_night @0=sky_night.jpg pebble@1=pebble.cgo odd@1=odd.bin");
    ASSERT_EQ(t->groupCount, 2);
    EXPECT_STREQ(t->groups[0], "skies");
    EXPECT_STREQ(t->groups[1], "meshes");
    EXPECT_EQ(t->find("pebble"), &t->defs[2]);
    EXPECT_EQ(t->find("sky"), nullptr);  // exact names only
}

TEST(SceneDefs, MalformedTextIsReadAsFarAsItMakesSenseAndNeverPastItsEnd) {
    struct Case {
        const char* what;
        std::string text;
        const char* expected;
        int groups;
    } cases[] = {
        {"empty", "", "", 0},
        {"prose only", "no groups here at all", "", 0},
        {"entry outside a group", "a=a.tga\r\n[g/]\r\nb=b.tga\r\n[/g]", "b@0=b.tga", 1},
        {"unclosed group at the end", "[g/]\r\na=a.tga\r\nb=b.tga", "a@0=a.tga b@0=b.tga", 1},
        {"cut in a name", "[g/]\r\na=a.tga\r\nbro", "a@0=a.tga", 1},
        {"cut after the =", "[g/]\r\na=", "a@0=", 1},
        {"header without its slash", "[g\r\na=a.tga\r\n", "", 0},
        {"bracket in the prose", "see [note] here\r\n[g/]\r\na=a.tga\r\n[/g]", "a@0=a.tga", 1},
        {"a line without =", "[g/]\r\njunk line\r\na=a.tga\r\n[/g]", "a@0=a.tga", 1},
        {"next group before the closing", "[g/]\r\na=a.tga\r\n[h/]\r\nb=b.tga\r\n[/h]", "a@0=a.tga b@1=b.tga", 2},
        {"file names end at a blank or a comma only", "[g/]\r\na=a.tga[/g]", "a@0=a.tga[/g]", 1},
        {"closing without a group", "[/x]\r\n[g/]\r\na=a.tga\r\n", "a@0=a.tga", 1},
        {"header cut at the end", "[g", "", 0},
    };
    for (const Case& c : cases) {
        auto t = std::make_unique<ObjectDefTable>();
        // Exactly the text's bytes, with no terminator behind them.
        std::vector<char> exact(c.text.begin(), c.text.end());
        parseObjectDefs(*t, exact.data(), int(exact.size()));
        EXPECT_EQ(names(*t), c.expected) << c.what;
        EXPECT_EQ(t->groupCount, c.groups) << c.what;
    }
}

TEST(SceneDefs, LimitsKeepTheFirstAndIgnoreTheRest) {
    auto t = std::make_unique<ObjectDefTable>();
    std::string text = "[many/]\r\n";
    for (int i = 0; i < kMaxObjectDefs + 10; ++i) text += "d" + std::to_string(i) + "=d.tga\r\n";
    text += "[/many]\r\n";
    for (int g = 0; g < kMaxObjectGroups + 3; ++g) text += "[g" + std::to_string(g) + "/]\r\nx=x.tga\r\n[/g]\r\n";
    parse(*t, text);
    EXPECT_EQ(t->count, kMaxObjectDefs);
    EXPECT_STREQ(t->defs[kMaxObjectDefs - 1].name, ("d" + std::to_string(kMaxObjectDefs - 1)).c_str());
    // The table is full before the small groups come: their lines are ignored too.
    EXPECT_EQ(t->ignoredDefs, 10 + kMaxObjectGroups + 3);
    EXPECT_EQ(t->groupCount, kMaxObjectGroups);
    EXPECT_EQ(t->ignoredGroups, 4);

    const std::string longName(40, 'n');
    const std::string longGroup(40, 'g');
    parse(*t, "[" + longGroup + "/]\r\n" + longName + "=a.tga\r\n[/x]");
    ASSERT_EQ(t->count, 1);
    EXPECT_EQ(std::string(t->defs[0].name), longName.substr(0, 31));
    EXPECT_EQ(std::string(t->groups[0]), longGroup.substr(0, 31));
}

TEST(SceneDefs, TheNameSaysHowAnObjectLivesInOrder) {
    struct Case {
        const char* name;
        ObjectKind kind;
    } cases[] = {
        {"sky_day", ObjectKind::Sky},
        {"waterfall_sky", ObjectKind::Sky},  // sky wins over waterfall
        {"waterfall", ObjectKind::Waterfall},
        {"water_lake", ObjectKind::Water},
        {"spray", ObjectKind::Spray},
        {"leaves1_oak", ObjectKind::Leaves1},
        {"leaves2_maple", ObjectKind::Leaves2},
        {"leaves_palm", ObjectKind::Leaves},
        {"castle", ObjectKind::Still},
        {"Sky", ObjectKind::Still},  // the tests are exact
    };
    for (const Case& c : cases) EXPECT_EQ(objectKindOf(c.name), c.kind) << c.name;
}

// -- .lev files ------------------------------------------------------------------

TEST(SceneFiles, ReadsRecordsAndRefusesCountsThatDoNotFit) {
    auto f = std::make_unique<SceneFile>();
    const Bytes good = levBytes({{"castle", -10, -20, 30, 40, 15, 1, 2, true, 1}, {"sky_day", -400, 0, 400, 300}});
    std::string error;
    ASSERT_TRUE(parseSceneFile(good.data(), int(good.size()), *f, &error)) << error;
    ASSERT_EQ(f->count, 2);
    const SceneRecord& r = f->records[0];
    EXPECT_STREQ(r.name, "castle");
    EXPECT_FLOAT_EQ(r.x0, -10);
    EXPECT_FLOAT_EQ(r.y1, 40);
    EXPECT_FLOAT_EQ(r.angle, 15);
    EXPECT_FLOAT_EQ(r.param.y, 2);
    EXPECT_TRUE(r.mirrored);
    EXPECT_EQ(r.behind, 1);
    EXPECT_STREQ(f->records[1].name, "sky_day");

    struct Case {
        const char* what;
        Bytes bytes;
    } bad[] = {
        {"empty", {}},
        {"header only", Bytes(64, 0)},
        {"count cut", Bytes(66, 0)},
        {"one record short", Bytes(good.begin(), good.end() - 1)},
        {"count above the records", levBytes({{"a", 0, 0, 1, 1}}, 2)},
        {"negative count", levBytes({}, -1)},
        {"count that would wrap", levBytes({{"a", 0, 0, 1, 1}}, 0x7FFFFFFF)},
    };
    for (const Case& c : bad) {
        error.clear();
        EXPECT_FALSE(parseSceneFile(c.bytes.data(), int(c.bytes.size()), *f, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(f->count, 0) << c.what;
    }
}

TEST(SceneFiles, KeepsTheFirstObjectsCutsNamesAndZeroesNumbersThatAreNotFinite) {
    std::vector<Rec> recs(kMaxSceneObjects + 5, Rec{"spray", 0, 0, 10, 10});
    recs[0].name = std::string(32, 'x');  // fills its field with no terminator
    recs[1].px = std::numeric_limits<float>::quiet_NaN();
    recs[1].x1 = std::numeric_limits<float>::infinity();
    const Bytes b = levBytes(recs);
    auto f = std::make_unique<SceneFile>();
    ASSERT_TRUE(parseSceneFile(b.data(), int(b.size()), *f, nullptr));
    EXPECT_EQ(f->count, kMaxSceneObjects);
    EXPECT_EQ(f->ignoredRecords, 5);
    EXPECT_EQ(std::string(f->records[0].name), std::string(31, 'x'));
    EXPECT_FLOAT_EQ(f->records[1].param.x, 0);
    EXPECT_FLOAT_EQ(f->records[1].x1, 0);
}

TEST(SceneLands, LevelsGoByStagesOfFiveAndTheMenusHaveLandZero) {
    const int cases[][2] = {{-1, 0}, {-100, 0}, {0, 1}, {4, 1}, {5, 2}, {9, 2}, {10, 3}, {69, 14}, {70, 15}, {74, 15},
                            {500, 15}};
    for (const auto& c : cases) EXPECT_EQ(landOfLevel(c[0]), c[1]) << "level " << c[0];
}

// -- a scene on the null device --------------------------------------------------

class SceneTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        base::seedRandom(1);
        scene = std::make_unique<SceneState>();
        parse(scene->defs,
              "[all/]\r\nsky_day=sky.tga\r\nwaterfall=fall.tga\r\nwater_lake=lake.tga\r\nspray=spray.tga\r\n"
              "leaves1_oak=leaf.tga\r\nleaves2_maple=leaf.tga\r\nleaves_palm=leaf.tga\r\ncastle=castle.tga\r\n[/all]\r\n");
        for (const char* name : {"sky.tga", "spray.tga", "leaf.tga", "castle.tga"})
            m_folder.write(name, test::makeTga(4, 4, Bytes(64, 200)));
        for (const char* name : {"fall.tga", "lake.tga"})
            m_folder.write(name, test::makeTga(128, 256, Bytes(128 * 256 * 4, 100)));
        loadObjectDefAssets(scene->defs);
    }

    // Writes a land: its scene and a backdrop picture.
    void writeLand(int k, const std::vector<Rec>& recs) {
        m_folder.write("animbacks/" + sceneFileName(k), levBytes(recs));
        Bytes back = test::makeJpeg(800, 600, uint8_t(10 * k), 0, 0);
        back.resize(back.size() + 800 * 600, 255);
        m_folder.write("animbacks/" + backdropFileName(k), back);
    }

    SceneObject object(const char* name, float x0, float y0, float x1, float y1, float px = 0, float py = 0) {
        SceneObject o;
        base::copyText(o.at.name, name);
        o.at.x0 = x0, o.at.y0 = y0, o.at.x1 = x1, o.at.y1 = y1;
        o.at.param = {px, py};
        o.def = scene->defs.find(name);
        return o;
    }

    std::unique_ptr<SceneState> scene;
};

TEST_F(SceneTest, FallsFlowAtOneTexelPerUnitAndWaterFiveTimesSlower) {
    // The fall's texture is 128 x 256; a rectangle of 64 x 128 units shows half of it each way.
    SceneObject fall = object("waterfall", 0, 0, 64, 128, 0, 10);
    float at0[4], at1000[4];
    ASSERT_TRUE(firstPassCoords(fall, 0, at0));
    ASSERT_TRUE(firstPassCoords(fall, 1000, at1000));
    EXPECT_FLOAT_EQ(at0[2] - at0[0], 0.5f);
    EXPECT_FLOAT_EQ(at0[3] - at0[1], 0.5f);
    EXPECT_NEAR(at1000[1] - at0[1], -0.1f, 1e-6f);  // 0.0001 per ms in v
    EXPECT_NEAR(at1000[0] - at0[0], 0, 1e-6f);

    SceneObject lake = object("water_lake", 0, 0, 64, 128, 0, 10);
    ASSERT_TRUE(firstPassCoords(lake, 1000, at1000));
    EXPECT_NEAR(at1000[1], -0.02f, 1e-6f);

    // The sky drifts left whatever its param, and mirroring swaps u.
    SceneObject sky = object("sky_day", -400, 0, 400, 300, 50, 50);
    ASSERT_TRUE(firstPassCoords(sky, 1000000, at0));
    EXPECT_NEAR(at0[0], -3, 1e-4f);
    EXPECT_NEAR(at0[2] - at0[0], 800.0f / 300, 1e-4f);  // the square texture's height fills the rectangle
    EXPECT_FLOAT_EQ(at0[1], 0);
    sky.at.mirrored = true;
    ASSERT_TRUE(firstPassCoords(sky, 1000000, at1000));
    EXPECT_FLOAT_EQ(at1000[0], at0[2]);
    EXPECT_FLOAT_EQ(at1000[2], at0[0]);

    // Still objects take part only when they stand behind the picture.
    SceneObject castle = object("castle", 0, 0, 10, 10);
    EXPECT_FALSE(firstPassCoords(castle, 0, at0));
    castle.at.behind = 1;
    EXPECT_TRUE(firstPassCoords(castle, 0, at0));
    SceneObject unknown = object("nobody", 0, 0, 10, 10);
    unknown.at.behind = 1;
    EXPECT_FALSE(firstPassCoords(unknown, 0, at0));
}

TEST_F(SceneTest, EachLeavesObjectSwaysFourHundredMillisecondsFurtherInPhase) {
    SceneLand& land = scene->current;
    land.objects[0] = object("leaves1_oak", -100, 0, 100, 50);
    land.objects[1] = object("castle", 0, 0, 1, 1);
    land.objects[2] = object("leaves1_oak", -100, 0, 100, 50);
    land.objects[2].at.angle = 10;
    land.objects[2].at.mirrored = true;
    land.objects[2].at.param = {30, 40};  // darkens by 50
    land.count = 3;
    for (int i = 0; i < 3; ++i) land.objects[size_t(i)].timerMs = 1000;
    stepScene(*scene, 16, 0);
    ASSERT_EQ(land.leafCount, 2);
    auto sway = [](float m) { return 0.5f * std::sin(0.003f * m) + 0.2f * std::sin(0.0043f * m); };
    EXPECT_NEAR(land.leaves[0].angle, sway(1016), 1e-5f);
    EXPECT_NEAR(land.leaves[1].angle, 10 + sway(1416), 1e-5f);
    // The hinge is the left end, the right end when mirrored.
    EXPECT_FLOAT_EQ(land.leaves[0].pivot.x, -100);
    EXPECT_FLOAT_EQ(land.leaves[1].pivot.x, 100);
    EXPECT_FLOAT_EQ(land.leaves[1].pivot.y, 25);
    EXPECT_EQ(land.leaves[0].argb, 0xFFFFFFFFu);
    EXPECT_EQ(land.leaves[1].argb, 0xFFCDCDCDu);

    // The other two kinds sway by their own curves.
    land.objects[0] = object("leaves2_maple", 0, 0, 10, 10);
    land.objects[1] = object("leaves_palm", 0, 0, 10, 10);
    land.count = 2;
    land.objects[0].timerMs = land.objects[1].timerMs = 0;
    stepScene(*scene, 100, 0);
    EXPECT_NEAR(land.leaves[0].angle, 0.18f * std::sin(0.4f) + 0.11f * std::sin(0.24f), 1e-5f);
    EXPECT_NEAR(land.leaves[1].angle, 0.6f * std::sin(0.0022f * 500) + 0.24f * std::sin(0.0038f * 500), 1e-5f);
}

TEST_F(SceneTest, LeafSpritesPastTheListAreCountedAndNotDrawn) {
    SceneLand& land = scene->current;
    for (int i = 0; i < kMaxSceneObjects; ++i) land.objects[size_t(i)] = object("leaves_palm", 0, 0, 10, 10);
    land.count = kMaxSceneObjects;
    stepScene(*scene, 16, 0);
    EXPECT_EQ(land.leafCount, kMaxLeafSprites);
    EXPECT_EQ(scene->droppedLeaves, kMaxSceneObjects - kMaxLeafSprites);
}

TEST_F(SceneTest, SpraysPuffOncePerAreaPeriodAndPuffsLiveTwoSeconds) {
    SceneLand& land = scene->current;
    land.objects[0] = object("spray", 0, 0, 100, 30);  // 3000 square units: a puff per 100 ms
    land.objects[1] = object("spray", 0, 0, 0, 30);    // no area: never
    land.count = 2;
    for (int i = 0; i < 100; ++i) stepScene(*scene, 10, float(i * 10));
    // Puffs start when the timer passes 100 ms: every 110 ms at 10 ms steps.
    EXPECT_EQ(livePuffCount(*scene), 9);
    for (const SprayPuff& p : scene->puffs) {
        if (p.lifeMs <= 0) continue;
        EXPECT_LE(p.lifeMs, kPuffLifeMs);
        EXPECT_GE(p.position.x, 0);
        EXPECT_LE(p.position.x, 100);
        EXPECT_GE(p.position.y, 0);
        EXPECT_LE(p.position.y, 30);
    }
    land.count = 0;
    stepScene(*scene, 1999, 0);
    EXPECT_EQ(livePuffCount(*scene), 0);
}

TEST_F(SceneTest, TintsJumpOrFadeAtTheirRate) {
    setSceneTintNow(*scene, 0);
    EXPECT_FLOAT_EQ(scene->tint.r, 0.67f);
    EXPECT_FLOAT_EQ(scene->tint.b, 1);
    setSceneTint(*scene, 2);
    stepScene(*scene, 100, 0);  // k = 0.15
    EXPECT_NEAR(scene->tint.r, 0.67f + 0.33f * 0.15f, 1e-5f);
    setSceneTint(*scene, 7);  // not a tint: ignored
    EXPECT_FLOAT_EQ(scene->targetTint.r, 1);
    stepScene(*scene, 100000, 0);  // a huge step lands on the target, never past it
    EXPECT_FLOAT_EQ(scene->tint.r, 1);
    setSceneTintNow(*scene, 1);
    EXPECT_FLOAT_EQ(scene->tint.g, 0.67f);
}

TEST_F(SceneTest, SelectBackdropLoadsTheLandOfTheLevel) {
    writeLand(0, {{"sky_day", -400, 0, 400, 300}});
    writeLand(2, {{"castle", 0, 0, 10, 10}, {"nobody", 0, 0, 5, 5}, {"spray", 0, 0, 5, 5}});
    selectBackdrop(*scene, -1);
    EXPECT_EQ(scene->current.index, 0);
    EXPECT_EQ(scene->current.count, 1);
    ASSERT_NE(scene->current.backdrop, nullptr);
    EXPECT_STREQ(scene->current.backdrop->name, "_a_back0.jpg");

    const int texturesBefore = gfx::g_textures.count;
    selectBackdrop(*scene, 7);
    EXPECT_EQ(scene->current.index, 2);
    ASSERT_EQ(scene->current.count, 3);
    EXPECT_NE(scene->current.objects[0].def, nullptr);
    EXPECT_EQ(scene->current.objects[1].def, nullptr);  // an unknown name is kept but not drawn
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(scene->current.objects[size_t(i)].timerMs, 0);
        EXPECT_LE(scene->current.objects[size_t(i)].timerMs, 500);
    }
    EXPECT_EQ(gfx::g_textures.count, texturesBefore);  // the old backdrop went

    // A land without its files is empty: no backdrop, no objects.
    selectBackdrop(*scene, 20);
    EXPECT_EQ(scene->current.index, 5);
    EXPECT_EQ(scene->current.count, 0);
    EXPECT_EQ(scene->current.backdrop, nullptr);
    drawScene(*scene);  // draws nothing, and does not fail
}

TEST_F(SceneTest, AChangeShakesThreeSecondsThenFadesInTheNewLandWithoutNewPuffs) {
    writeLand(1, {{"spray", 0, 0, 100, 30}, {"leaves1_oak", 0, 0, 50, 20}});
    writeLand(2, {{"spray", 0, 0, 100, 30}, {"leaves_palm", 0, 0, 50, 20}});
    selectBackdrop(*scene, 4);
    requestBackdropChange(*scene, 5);
    EXPECT_TRUE(scene->changePending);
    EXPECT_FALSE(scene->changing());
    startBackdropChange(*scene);
    EXPECT_FALSE(scene->changePending);
    EXPECT_FLOAT_EQ(scene->changeMs, kChangeMs);
    ASSERT_NE(scene->next.backdrop, nullptr);
    EXPECT_STREQ(scene->next.backdrop->name, "_a_back2.jpg");
    const gfx::TextureEntry* oldBackdrop = scene->current.backdrop;

    float previousShake = -1;
    int clock = 0;
    // The shake phase: the old land alone, shaking more and more, still puffing.
    for (; clock < 3000; clock += 50) {
        stepScene(*scene, 50, float(clock));
        EXPECT_GT(scene->shake, previousShake) << clock;
        EXPECT_FLOAT_EQ(scene->crossFade, 0) << clock;
        EXPECT_EQ(scene->current.index, 1);
        previousShake = scene->shake;
    }
    EXPECT_NEAR(scene->shake, 0.5f - 50.0f / 6000, 1e-5f);
    EXPECT_GT(livePuffCount(*scene), 0);
    EXPECT_EQ(scene->next.leafCount, 0);  // the new land is not shown yet

    // The cross-fade: the new land grows in, no puff starts, those in the air finish.
    int puffs = livePuffCount(*scene);
    float previousFade = -1;
    for (; clock < 6000 - 50; clock += 50) {
        stepScene(*scene, 50, float(clock));
        EXPECT_GT(scene->crossFade, previousFade) << clock;
        EXPECT_LE(livePuffCount(*scene), puffs) << clock;
        puffs = livePuffCount(*scene);
        previousFade = scene->crossFade;
        EXPECT_EQ(scene->next.leafCount, 1);
        m_device.recordVertices = true;
        m_device.clearRecording();
        drawSceneChanging(*scene);
        m_device.recordVertices = false;
    }
    EXPECT_EQ(livePuffCount(*scene), 0);
    EXPECT_NEAR(scene->crossFade, 1 - 100.0f / 3000, 1e-5f);
    EXPECT_EQ(scene->current.index, 1);

    // The last step ends it: the new land is current, timers and all, and the old picture is gone.
    const float leafTimer = scene->next.objects[1].timerMs;
    stepScene(*scene, 50, 6000);
    EXPECT_FALSE(scene->changing());
    EXPECT_EQ(scene->current.index, 2);
    EXPECT_STREQ(scene->current.backdrop->name, "_a_back2.jpg");
    EXPECT_FLOAT_EQ(scene->current.objects[1].timerMs, leafTimer + 50);
    EXPECT_EQ(gfx::g_textures.find("_a_back1.jpg"), nullptr);
    (void)oldBackdrop;
    // Sprays puff again.
    for (int i = 0; i < 20; ++i) stepScene(*scene, 50, 6050.0f + float(i) * 50);
    EXPECT_GT(livePuffCount(*scene), 0);
}

TEST_F(SceneTest, AChangeDrawsTheShakenOldLandThenTheNewOneBlendedOverIt) {
    writeLand(1, {{"castle", -10, -10, 10, 10}});
    writeLand(2, {{"castle", -10, -10, 10, 10}});
    selectBackdrop(*scene, 0);
    m_device.recordVertices = true;

    stepScene(*scene, 16, 0);
    m_device.clearRecording();
    drawSceneChanging(*scene);
    // Idle: picture then castle, the picture sampled texel for texel.
    ASSERT_EQ(m_device.calls.size(), 2u);
    EXPECT_EQ(m_device.calls[0].state(platform::RenderState::TextureFilter), platform::FilterPoint);
    EXPECT_FLOAT_EQ(m_device.vertices[0].x, -400);

    requestBackdropChange(*scene, 5);
    startBackdropChange(*scene);
    for (int t = 0; t < 4500; t += 100) stepScene(*scene, 100, float(t));
    ASSERT_GT(scene->crossFade, 0.4f);
    m_device.clearRecording();
    drawSceneChanging(*scene);
    ASSERT_EQ(m_device.calls.size(), 4u);
    // The old picture, smoothed under the zoomed view, then the new land over it with alpha f.
    EXPECT_EQ(m_device.calls[0].state(platform::RenderState::TextureFilter), platform::FilterLinear);
    EXPECT_EQ(m_device.calls[2].state(platform::RenderState::AlphaBlend), 1u);
    const uint32_t alpha = m_device.vertices[size_t(m_device.calls[2].firstVertex)].color >> 24;
    EXPECT_NEAR(double(alpha), 255.0 * scene->crossFade, 1.0);
    // The view is back to what it was.
    const base::Matrix& view = m_device.transform(platform::TransformKind::View);
    EXPECT_FLOAT_EQ(view.m[0][0], 1);
    EXPECT_FLOAT_EQ(view.m[3][0], 0);
}

TEST_F(SceneTest, StartUpReadsEveryLandAndStopsOnADamagedOneNamingIt) {
    m_folder.write("gameobjs.txt", std::string("[g/]\r\ncastle=castle.tga\r\n[/g]\r\n"));
    for (int k = 0; k < kLandCount; ++k) writeLand(k, {{"castle", 0, 0, 10, 10}});
    loadSceneDefinitions(*scene);
    EXPECT_EQ(scene->defs.count, 1);
    EXPECT_NE(scene->defs.defs[0].texture, nullptr);
    // Held in memory: a land loads after its file is gone from the disk.
    std::filesystem::remove(m_folder.path() / "animbacks" / sceneFileName(3));
    loadScene(*scene, scene->current, 3, false);
    EXPECT_EQ(scene->current.count, 1);

    Bytes damaged = levBytes({{"castle", 0, 0, 10, 10}}, 3);
    m_folder.write("animbacks/" + sceneFileName(3), damaged);
    data::g_registry.clear();
    EXPECT_EXIT(loadSceneDefinitions(*scene), testing::ExitedWithCode(1), "animbacks/level3.lev is damaged");
    std::filesystem::remove(m_folder.path() / "animbacks" / sceneFileName(3));
    EXPECT_EXIT(loadSceneDefinitions(*scene), testing::ExitedWithCode(1), "level3.lev");
}

// -- on the OpenGL device: what shows through the picture ------------------------

class SceneGlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!platform::windowOpen()) s_opened = platform::openWindow({false, "Tessaly test"});
    }
    static void TearDownTestSuite() { platform::closeWindow(); }

    void SetUp() override {
        ASSERT_TRUE(s_opened) << "no OpenGL window: " << platform::windowError();
        gfx::installDevice(platform::windowDevice());
        gfx::g_textures.clear();
        scene = std::make_unique<SceneState>();
    }
    void TearDown() override {
        releaseScene(*scene);
        gfx::g_textures.clear();
        gfx::installDevice(nullptr);
    }

    // A texture of one colour (B, G, R, A bytes); `holeLeft`: the left half
    // of its top-left 800 x 600 texels is transparent.
    gfx::TextureEntry* texture(const char* name, int size, uint8_t r, uint8_t g, uint8_t b, bool holeLeft = false) {
        gfx::TextureEntry* e = gfx::g_textures.create(name, size, size, gfx::kFormatA8R8G8B8, false);
        std::vector<uint8_t> px(size_t(size) * size_t(size) * 4);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                uint8_t* p = &px[(size_t(y) * size_t(size) + size_t(x)) * 4];
                p[0] = b, p[1] = g, p[2] = r;
                p[3] = holeLeft && x < 400 && y < 600 ? 0 : 255;
            }
        gfx::g_draw.device->updateTexture(e->texture, 0, 0, size, size, px.data(), size * 4);
        return e;
    }

    std::unique_ptr<SceneState> scene;
    static inline bool s_opened = false;
};

TEST_F(SceneGlTest, ABehindObjectShowsOnlyThroughTheHolesOfThePicture) {
    std::string text = "[g/]\r\nfar=far.tga\r\nnear=near.tga\r\n[/g]";
    parseObjectDefs(scene->defs, text.data(), int(text.size()));
    scene->defs.defs[0].texture = texture("far.tga", 4, 0, 255, 0);
    scene->defs.defs[1].texture = texture("near.tga", 4, 0, 0, 255);
    scene->current.backdrop = texture("back", 1024, 255, 0, 0, true);
    // A green far object over the whole screen behind the picture, a blue
    // one in front of it over the lower middle.
    SceneObject& far = scene->current.objects[0];
    far.def = &scene->defs.defs[0];
    far.at.x0 = -400, far.at.y0 = -300, far.at.x1 = 400, far.at.y1 = 300;
    far.at.behind = 1;
    SceneObject& near = scene->current.objects[1];
    near.def = &scene->defs.defs[1];
    near.at.x0 = -100, near.at.y0 = -300, near.at.x1 = 100, near.at.y1 = -200;
    scene->current.count = 2;

    platform::Device& device = *gfx::g_draw.device;
    device.clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1, 0);
    gfx::begin2D();
    stepScene(*scene, 16, 0);
    drawScene(*scene);
    ASSERT_TRUE(device.present());
    std::vector<uint8_t> rgba(800 * 600 * 4);
    ASSERT_TRUE(device.readPixels(rgba.data()));
    auto at = [&](int x, int y) {
        const uint8_t* p = &rgba[(size_t(y) * 800 + size_t(x)) * 4];
        return (int(p[0]) << 16) | (int(p[1]) << 8) | int(p[2]);
    };
    EXPECT_EQ(at(100, 100), 0x00FF00) << "through the hole";
    EXPECT_EQ(at(700, 100), 0xFF0000) << "where the picture is opaque";
    EXPECT_EQ(at(350, 580), 0x0000FF) << "in front, over the hole";
    EXPECT_EQ(at(450, 580), 0x0000FF) << "in front, over the picture";
}

}  // namespace
}  // namespace tessaly::fx
