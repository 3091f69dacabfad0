#include <gtest/gtest.h>

#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

using test::Bytes;

// Texels B, G, R, A of a 2 x 2 picture, top row first.
const Bytes kTexels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

TEST(NextPowerOfTwo, RoundsUpWithinTheTextureLimit) {
    const int cases[][2] = {{-5, 2}, {0, 2}, {1, 2}, {2, 2}, {3, 4}, {600, 1024}, {800, 1024},
                            {1024, 1024}, {1025, 0}, {1 << 30, 0}};
    for (const auto& c : cases) EXPECT_EQ(nextPowerOfTwo(c[0]), c[1]) << c[0];
}

TEST(DecodeTga, BothRowOrdersGiveTheTopRowFirst) {
    for (bool topFirst : {true, false}) {
        Image image;
        const Bytes tga = test::makeTga(2, 2, kTexels, topFirst);
        ASSERT_TRUE(decodeImage(tga.data(), int(tga.size()), image)) << topFirst;
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.pixels, kTexels) << topFirst;
    }
}

TEST(DecodeTga, RunLengthPacketsAndTheirCutEnd) {
    // 3 x 1: a run of two texels, then one raw texel.
    Bytes rle = test::makeTga(3, 1, Bytes(12, 0));
    rle.resize(18);
    rle[2] = 10;
    rle.insert(rle.end(), {0x81, 1, 2, 3, 4, 0x00, 5, 6, 7, 8});
    Image image;
    ASSERT_TRUE(decodeImage(rle.data(), int(rle.size()), image));
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8}));
    rle.pop_back();
    EXPECT_FALSE(decodeImage(rle.data(), int(rle.size()), image));
    rle.resize(23);  // the raw packet's header is missing too
    EXPECT_FALSE(decodeImage(rle.data(), int(rle.size()), image));
}

TEST(DecodeJpeg, ColoursComeOutAsOpaqueTexels) {
    const Bytes jpeg = test::makeJpeg(16, 8, 200, 40, 10);
    Image image;
    ASSERT_TRUE(decodeImage(jpeg.data(), int(jpeg.size()), image));
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 8);
    EXPECT_NEAR(image.pixels[0], 10, 3);   // blue
    EXPECT_NEAR(image.pixels[1], 40, 3);   // green
    EXPECT_NEAR(image.pixels[2], 200, 3);  // red
    EXPECT_EQ(image.pixels[3], 255);
}

TEST(DecodeImage, DamagedPicturesAreRefused) {
    const Bytes jpeg = test::makeJpeg(32, 32, 90, 90, 90);
    const Bytes tga = test::makeTga(2, 2, kTexels);
    Bytes garbageJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0x13, 0x37, 0x00, 0x00};
    Bytes hugeTga = tga;
    hugeTga[12] = hugeTga[13] = hugeTga[14] = hugeTga[15] = 0xFF;  // 65535 x 65535
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"jpeg cut in half", Bytes(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() / 2))},
        {"jpeg header cut", Bytes(jpeg.begin(), jpeg.begin() + 20)},
        {"jpeg garbage", garbageJpeg},
        {"tga header only", Bytes(tga.begin(), tga.begin() + 18)},
        {"tga pixels cut", Bytes(tga.begin(), tga.end() - 4)},
        {"tga oversized", hugeTga},
        {"not a picture", test::toBytes("hello, this is text and not any kind of picture")},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        Image image;
        EXPECT_FALSE(decodeImage(c.bytes.data(), int(c.bytes.size()), image)) << c.what;
        EXPECT_TRUE(image.pixels.empty()) << c.what;
    }
}

}  // namespace
}  // namespace tessaly::gfx
