// A frame is stepped once and then drawn; drawing only reads. Drawing the
// same frame twice must draw the same picture twice and leave everything as
// it was: no clock, effect, random number or queue may move while drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/random.h"
#include "data/registry.h"
#include "fx/balloon.h"
#include "fx/floating_text.h"
#include "fx/particles.h"
#include "fx/sparks.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "gfx/banners.h"
#include "gfx/message_line.h"
#include "shell/app.h"
#include "shell/game_screen.h"
#include "sound/sound.h"
#include "support/allocation_counter.h"
#include "support/test_support.h"

namespace tessaly::shell {
namespace {

class StepAndDraw : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        data::g_registry.dataFolder = TESSALY_DATA_DIR;
        loadResources(true, 1);
    }
    void TearDown() override {
        sound::shutdownSound();
        NullDeviceTest::TearDown();
    }

    // Everything one draw submitted.
    struct Picture {
        std::vector<platform::RecordedVertex> vertices;
        size_t calls = 0;
    };
    Picture draw() {
        m_device.clearRecording();
        g_gameScreen.draw();
        return {m_device.vertices, m_device.calls.size()};
    }
};

bool samePicture(const std::vector<platform::RecordedVertex>& a, const std::vector<platform::RecordedVertex>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0;
}

TEST_F(StepAndDraw, DrawingAFrameTwiceDrawsItTwiceAndMovesNothing) {
    ASSERT_TRUE(game::startPlay(game::Mode::Classic, 12));
    game::PlayHost& host = game::g_playHost;
    // Every effect system busy: particles, sparks, floating texts, a banner,
    // the message line, a running score and a tip.
    fx::startEffectByName("ball1", 0, 0);
    fx::sparkBurstAt(50, 50, 1);
    fx::addFloatingText("Combo x 3", -100, 0, 20, 2000);
    gfx::addBanner("GREAT", 0, 100, 20);
    host.showMessage("readyhammer");
    host.addToTotalScore(5000);
    for (int i = 0; i < 20; ++i) g_gameScreen.step(16);

    m_device.recordVertices = true;
    const uint32_t random = base::g_random.state;
    const fx::SparkSystem sparks = fx::g_sparks;
    const int quads = fx::g_particles.quadCount;
    const float firstTextLife = fx::g_floatingTexts.slots[0].life;
    const float bannerLife = gfx::g_banners.letters[0].lifeMs;
    const float messageTimer = gfx::g_messageLine.timerMs;
    const int shownScore = host.view().score.value;
    const float balloonTime = fx::g_balloon.timeShownMs;

    const Picture first = draw();
    const Picture second = draw();
    ASSERT_GT(first.calls, 10u);
    EXPECT_EQ(first.calls, second.calls);
    EXPECT_TRUE(samePicture(first.vertices, second.vertices));

    EXPECT_EQ(base::g_random.state, random);
    EXPECT_EQ(fx::g_sparks.queueCount, sparks.queueCount);
    EXPECT_EQ(std::memcmp(fx::g_sparks.sparks.data(), sparks.sparks.data(), sizeof sparks.sparks), 0);
    EXPECT_EQ(fx::g_particles.quadCount, quads);
    EXPECT_EQ(fx::g_floatingTexts.slots[0].life, firstTextLife);
    EXPECT_EQ(gfx::g_banners.letters[0].lifeMs, bannerLife);
    EXPECT_EQ(gfx::g_messageLine.timerMs, messageTimer);
    EXPECT_EQ(host.view().score.value, shownScore);
    EXPECT_EQ(fx::g_balloon.timeShownMs, balloonTime);

    // The next step moves on, and its picture differs.
    g_gameScreen.step(16);
    EXPECT_FALSE(samePicture(first.vertices, draw().vertices));
}

// A busy frame of play, stepped and drawn many times over, allocates nothing.
TEST_F(StepAndDraw, AFullGameFrameAllocatesNothing) {
    if (!test::countingAllocations()) GTEST_SKIP() << "the sanitizers keep their own allocator";
    ASSERT_TRUE(game::startPlay(game::Mode::Puzzle, 23));
    game::PlayHost& host = game::g_playHost;
    auto feed = [&](int frame) {
        fx::g_particles.chainCount = 0;
        if (frame % 3 == 0) fx::startEffectByName("ball1", float(frame % 300) - 150, 0);
        if (frame % 4 == 0) fx::sparkBurstAt(50, float(frame % 200) - 100, 1);
        if (frame % 10 == 0) fx::addFloatingText("Combo x 3", -100, 0, 20, 2000);
        if (frame % 40 == 0) gfx::addBanner("GREAT", 0, 100, 20);
        if (frame % 30 == 0) host.showMessage("readyhammer");
        if (frame % 20 == 0) host.addToTotalScore(500);
    };
    auto frame = [&](int i) {
        feed(i);
        g_gameScreen.step(16);
        g_gameScreen.draw();
        m_device.present();
    };
    for (int i = 0; i < 600; ++i) frame(i);  // first-time loads (the tips' pictures) and uses
    const uint64_t before = test::allocationCount();
    for (int i = 600; i < 900; ++i) frame(i);
    EXPECT_EQ(test::allocationCount() - before, 0u);
}

}  // namespace
}  // namespace tessaly::shell
