#include <gtest/gtest.h>

#include <string>

#include "data/registry.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

using test::Bytes;

class Textures : public test::NullDeviceTest {
protected:
    // Texel (x, y) of an entry's device texture as B, G, R, A.
    const uint8_t* texel(const TextureEntry* e, int x, int y) {
        const std::vector<uint8_t>* px = m_device.texturePixels(e->texture);
        return px ? &(*px)[(size_t(y) * size_t(e->width) + size_t(x)) * 4] : nullptr;
    }
    // A JPEG of w x h followed by `alphas` alpha bytes 10, 11, 12, ...
    Bytes jpegWithAlpha(int w, int h, int alphas) {
        Bytes b = test::makeJpeg(w, h, 0, 0, 255);
        for (int i = 0; i < alphas; ++i) b.push_back(uint8_t(10 + i));
        return b;
    }
};

TEST_F(Textures, FilesAreLoadedOnceAndCachedByExactName) {
    m_folder.write("sky.jpg", test::makeJpeg(8, 4, 255, 255, 255));
    m_folder.write("ball.tga", test::makeTga(2, 2, Bytes(16, 200)));
    TextureEntry* sky = loadTexture("sky.jpg");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->width, 8);
    EXPECT_EQ(sky->height, 4);
    EXPECT_FALSE(sky->hasAlpha);
    EXPECT_EQ(loadTexture("sky.jpg"), sky);
    TextureEntry* ball = loadTexture("ball.tga");
    ASSERT_NE(ball, nullptr);
    EXPECT_TRUE(ball->hasAlpha);
    EXPECT_EQ(texel(ball, 1, 1)[3], 200);
    EXPECT_EQ(m_device.liveTextureCount(), 2);

    removeTexture(sky);
    removeTexture(sky);  // no longer in the table: ignored
    EXPECT_EQ(m_device.liveTextureCount(), 1);
    EXPECT_EQ(g_textures.find("sky.jpg"), nullptr);
}

TEST_F(Textures, MissingOrDamagedFiles) {
    m_folder.write("broken.jpg", Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3});
    EXPECT_EQ(loadTexture("absent.tga", false), nullptr);
    EXPECT_EQ(loadTexture("broken.jpg", false), nullptr);
    EXPECT_EQ(g_textures.count, 0);
    EXPECT_EXIT(loadTexture("absent.tga"), testing::ExitedWithCode(1),
                "Couldn't load texture: absent.tga");
    EXPECT_EXIT(loadTexture("broken.jpg"), testing::ExitedWithCode(1),
                "Couldn't load texture: broken.jpg");
}

TEST_F(Textures, AlphaCompanionReplacesTheTgaAndIsReused) {
    // 4 x 2 texels, only five alpha bytes: the rest stay opaque.
    m_folder.write("_a_bal00.jpg", jpegWithAlpha(4, 2, 5));
    TextureEntry* e = loadTexture("bal00.tga");
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->name, "_a_bal00.jpg");
    EXPECT_TRUE(e->hasAlpha);
    EXPECT_NEAR(texel(e, 0, 0)[0], 255, 3);  // the companion's colour (blue)
    EXPECT_EQ(texel(e, 0, 0)[3], 10);
    EXPECT_EQ(texel(e, 3, 0)[3], 13);
    EXPECT_EQ(texel(e, 0, 1)[3], 14);   // rows follow each other
    EXPECT_EQ(texel(e, 1, 1)[3], 255);  // past the alpha part
    EXPECT_EQ(data::g_registry.count, 0);  // the companion's block is released

    // Asked again, the cached companion comes back; nothing is read or made.
    std::filesystem::remove(m_folder.path() / "_a_bal00.jpg");
    EXPECT_EQ(loadTexture("bal00.tga"), e);
    EXPECT_EQ(m_device.liveTextureCount(), 1);
}

TEST_F(Textures, CompanionNamesCutAtTheFirstDotAndIgnoreExtraAlpha) {
    m_folder.write("_a_a.jpg", jpegWithAlpha(2, 2, 10));  // six bytes too many
    TextureEntry* e = loadTexture("a.b.tga");
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->name, "_a_a.jpg");
    EXPECT_EQ(texel(e, 1, 1)[3], 13);

    // Without a companion the named file itself is used.
    m_folder.write("plain.tga", test::makeTga(1, 1, Bytes{1, 2, 3, 4}));
    TextureEntry* plain = loadTexture("plain.tga");
    ASSERT_NE(plain, nullptr);
    EXPECT_STREQ(plain->name, "plain.tga");
}

TEST_F(Textures, ImageTexturesSitInTheCornerOfAPowerOfTwo) {
    Bytes texels;
    for (int i = 0; i < 3 * 2; ++i) texels.insert(texels.end(), {uint8_t(i), 0, 0, 255});
    m_folder.write("title.tga", test::makeTga(3, 2, texels));
    TextureEntry* e = loadImageTexture("title.tga", 3, 2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->width, 4);
    EXPECT_EQ(e->height, 2);
    EXPECT_EQ(e->format, kFormatA8R8G8B8);
    EXPECT_EQ(texel(e, 2, 1)[0], 5);
    EXPECT_EQ(texel(e, 3, 0)[3], 0);  // outside the picture: as created
    EXPECT_EQ(loadImageTexture("title.tga", 3, 2), e);
    EXPECT_EQ(data::g_registry.count, 0);

    EXPECT_EXIT(loadImageTexture("nothere.jpg", 800, 600), testing::ExitedWithCode(1),
                "Can't load nothere.jpg");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadImageTexture("title2.tga", 1025, 600), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Couldn't create texture: title2.tga"),
              std::string::npos);
}

TEST_F(Textures, ImageTexturesWithAlphaUseThePicturesRowLength) {
    EXPECT_EQ(loadImageTextureWithAlpha("_a_back1.jpg", 3, 2), nullptr);
    m_folder.write("_a_back1.jpg", jpegWithAlpha(3, 2, 6));
    TextureEntry* e = loadImageTextureWithAlpha("_a_back1.jpg", 3, 2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->width, 4);
    EXPECT_EQ(texel(e, 2, 0)[3], 12);
    EXPECT_EQ(texel(e, 0, 1)[3], 13);  // picture row 1 starts with alpha byte 3
    EXPECT_EQ(texel(e, 3, 0)[3], 0);
    EXPECT_EQ(data::g_registry.count, 0);
}

TEST_F(Textures, CreationFailuresAreReportedAndReturnNull) {
    m_device.keepPixels = false;
    testing::internal::CaptureStderr();
    m_device.failTextureCreations(1);
    EXPECT_EQ(g_textures.create("refused", 4, 4, kFormatA8R8G8B8, false), nullptr);
    for (int i = 0; i < kMaxTextures; ++i)
        ASSERT_NE(g_textures.create("t" + std::to_string(i), 1, 1, kFormatA8R8G8B8, false), nullptr);
    EXPECT_EQ(g_textures.create("one.more", 1, 1, kFormatA8R8G8B8, false), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Couldn't create texture: refused"), std::string::npos);
    EXPECT_NE(err.find("Couldn't create texture: one.more"), std::string::npos);
    EXPECT_EQ(g_textures.create("t5", 9, 9, kFormatA8R8G8B8, false)->width, 1);  // cached
}

TEST_F(Textures, RenderTargetsAreRecreatedAfterAReset) {
    TextureEntry* target = g_textures.create("target", 64, 32, kFormatA8R8G8B8, true);
    TextureEntry* plain = g_textures.create("plain", 8, 8, kFormatA8R8G8B8, false);
    const platform::TextureId plainId = plain->texture;
    g_textures.releaseRenderTargets();
    EXPECT_EQ(target->texture, 0u);
    g_textures.restoreRenderTargets();
    int w = 0, h = 0;
    ASSERT_TRUE(m_device.textureSize(target->texture, &w, &h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(plain->texture, plainId);
}

}  // namespace
}  // namespace tessaly::gfx
