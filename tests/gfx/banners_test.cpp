#include "gfx/banners.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gfx/font.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

// A font whose every glyph advances by one text size.
class BannersTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        Font& font = g_text.fonts[0];
        for (float& a : font.advance) a = 1;
        g_text.fontCount = 1;
        g_text.current = &font;
    }
    void TearDown() override {
        g_text.current = nullptr;
        g_text.fontCount = 0;
        NullDeviceTest::TearDown();
    }
    std::unique_ptr<Banners> banners = std::make_unique<Banners>();
};

TEST_F(BannersTest, LettersAreLaidOutCentredAndStaggered) {
    addBanner(*banners, "ABCDE", 0, 50, 10);
    const float expectedX[] = {-20, -10, 0, 10, 20};
    for (int i = 0; i < 5; ++i) {
        const BannerLetter& l = banners->letters[i];
        EXPECT_EQ(l.character, uint8_t("ABCDE"[i]));
        EXPECT_FLOAT_EQ(l.x, expectedX[i]);
        EXPECT_FLOAT_EQ(l.y, 50);
        EXPECT_FLOAT_EQ(l.lifeMs, 6000 + 40 * i);
    }
    // The first letter shows at once; the fifth waits 160 ms.
    EXPECT_TRUE(bannerLetterLook(banners->letters[0]).visible);
    EXPECT_FALSE(bannerLetterLook(banners->letters[4]).visible);
    stepBanners(*banners, 159), drawBanners(*banners);
    EXPECT_FALSE(bannerLetterLook(banners->letters[4]).visible);
    stepBanners(*banners, 1), drawBanners(*banners);
    EXPECT_TRUE(bannerLetterLook(banners->letters[4]).visible);
}

TEST_F(BannersTest, ALetterZoomsInSettlesAndClosesTowardTheCentreLine) {
    struct Case {
        float life;
        float x, size;
        int alpha;
    };
    const Case cases[] = {
        {6000, 400, 40, 0},     // arrival: twice the scale, squared
        {5000, 100, 10, 255},   // settled
        {1500, 100, 10, 255},   // departure begins
        {750, 25, 2.5f, 127},   // half gone
        {0.001f, 0, 0, 0},      // at the end
    };
    for (const Case& c : cases) {
        const BannerLetter letter{'A', 100, 0, 0, 10, c.life};
        const BannerLetterLook look = bannerLetterLook(letter);
        EXPECT_TRUE(look.visible) << c.life;
        EXPECT_NEAR(look.x, c.x, 1e-2) << c.life;
        EXPECT_NEAR(look.size, c.size, 1e-2) << c.life;
        EXPECT_NEAR(look.alpha, c.alpha, 1) << c.life;
    }
}

TEST_F(BannersTest, ABannerIsGoneAfterItsLastLetterLeaves) {
    addBanner(*banners, "GREAT", 0, 0, 20);
    m_device.recordVertices = true;
    stepBanners(*banners, 16), drawBanners(*banners);
    EXPECT_EQ(m_device.calls.size(), 1u);  // only the first letter has arrived
    for (int ms = 16; ms < 6000 + 40 * 4; ms += 16) stepBanners(*banners, 16), drawBanners(*banners);
    m_device.clearRecording();
    stepBanners(*banners, 16), drawBanners(*banners);
    EXPECT_TRUE(m_device.calls.empty());
    for (const BannerLetter& l : banners->letters) EXPECT_LE(l.lifeMs, 0);
}

TEST_F(BannersTest, TheRingIsSharedAndOverwritesTheOldestLetter) {
    addBanner(*banners, std::string(200, 'a'), 0, 0, 10);
    addBanner(*banners, std::string(57, 'b'), 0, 0, 10);
    EXPECT_EQ(banners->letters[0].character, 'b');
    EXPECT_EQ(banners->letters[1].character, 'a');
    EXPECT_EQ(banners->next, 1);
    clearBanners(*banners);
    for (const BannerLetter& l : banners->letters) EXPECT_FLOAT_EQ(l.lifeMs, 0);
}

}  // namespace
}  // namespace tessaly::gfx
