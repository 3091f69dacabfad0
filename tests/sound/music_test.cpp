// The music module written by the data generator, played through the music
// wrapper: every tune starts at its order and loops inside its own range.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/music_module.h"
#include "sound/sound_system.h"
#include "sound/sound_test_support.h"

namespace tessaly::sound {
namespace {

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto bytes = test::readFile(std::string(TESSALY_DATA_DIR) + "/music.mo3");
        ASSERT_TRUE(m_music.load(bytes.data(), bytes.size()));
    }

    double rms(int seconds) {
        std::vector<float> block(2 * 4410);
        double sum = 0;
        for (int i = 0; i < seconds * 10; ++i) {
            m_music.render(block.data(), 4410, 44100);
            for (float v : block) sum += double(v) * v;
        }
        return std::sqrt(sum / (seconds * 10.0 * double(block.size())));
    }

    platform::MusicModule m_music;
};

TEST_F(MusicTest, EveryTuneLoopsInsideItsOwnRange) {
    struct Tune {
        int tune, first, last;
    };
    const Tune tunes[] = {{0, 0, 10}, {1, 11, 28}, {2, 29, 43}, {6, 44, 46}, {3, 47, 62}, {4, 63, 64}, {5, 65, 66}};
    ASSERT_GE(m_music.orderCount(), 67);
    // Order positions do not depend on the output rate: a low one renders fast.
    constexpr int kRate = 8000, kBlock = 800;
    std::vector<float> block(2 * kBlock);
    for (const Tune& t : tunes) {
        ASSERT_EQ(tunePosition(t.tune), t.first);
        m_music.start(t.first);
        EXPECT_EQ(m_music.currentOrder(), t.first) << "tune " << t.tune;
        EXPECT_EQ(m_music.currentRow(), 0);
        bool reachedLast = false, loopedBack = false;
        int previous = 0;  // order x 256 + row
        // Long enough for the longest tune to play through once and start again.
        for (int i = 0; i < 200 * kRate / kBlock && !loopedBack; ++i) {
            m_music.render(block.data(), kBlock, kRate);
            const int order = m_music.currentOrder();
            ASSERT_GE(order, t.first) << "tune " << t.tune;
            ASSERT_LE(order, t.last) << "tune " << t.tune << " ran into the next";
            reachedLast |= order == t.last;
            // The jump at the range's end goes back: to an earlier order, or
            // to the start of the last one.
            const int position = order * 256 + m_music.currentRow();
            loopedBack = reachedLast && position < previous;
            previous = position;
        }
        EXPECT_TRUE(reachedLast) << "tune " << t.tune;
        EXPECT_TRUE(loopedBack) << "tune " << t.tune;
    }
}

TEST_F(MusicTest, EveryTuneIsHeardWithoutClipping) {
    m_music.setAmplify(kMusicAmplify);
    std::vector<float> block(2 * 4410);
    for (int tune = 0; tune <= 6; ++tune) {
        m_music.start(tunePosition(tune));
        float peak = 0;
        double sum = 0;
        for (int i = 0; i < 60; ++i) {  // 6 seconds
            m_music.render(block.data(), 4410, 44100);
            for (float v : block) peak = std::max(peak, std::fabs(v)), sum += double(v) * v;
        }
        const double rmsDb = 10 * std::log10(sum / (60.0 * double(block.size())));
        EXPECT_LT(peak, 0.95f) << "tune " << tune;
        EXPECT_GT(rmsDb, -30) << "tune " << tune << " is too quiet";
    }
}

TEST_F(MusicTest, AmplificationScalesTheLevel) {
    m_music.start(29);
    const double neutral = rms(2);
    m_music.setAmplify(80);
    m_music.start(29);
    EXPECT_NEAR(rms(2) / neutral, 1.6, 0.02);
    m_music.setAmplify(0);
    m_music.start(29);
    EXPECT_EQ(rms(1), 0.0);
}

TEST_F(MusicTest, AnOrderOutsideTheListStartsAtTheBeginning) {
    for (int order : {-1, 67, 1000}) {
        m_music.start(order);
        EXPECT_EQ(m_music.currentOrder(), 0) << order;
    }
}

TEST(MusicModuleLoad, BadBytesLoadNothingAndSayNothing) {
    const std::string junk(4096, '\x5a');
    const std::string xmHeadOnly = std::string("Extended Module: ") + std::string(60, '\0');
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {{"junk", junk}, {"a truncated header", xmHeadOnly}, {"nothing", ""}};
    for (const auto& c : cases) {
        platform::MusicModule music;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(music.load(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size())) << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the library's log is silenced (" << c.what << ")";
        music.start(0);
        std::vector<float> block(64, 1.0f);
        music.render(block.data(), 32, 44100);
        EXPECT_EQ(block[0], 0.0f) << "no module renders silence";
    }
}

}  // namespace
}  // namespace tessaly::sound
