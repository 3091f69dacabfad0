#include <gtest/gtest.h>

#include "gfx/camera.h"

namespace tessaly::gfx {
namespace {

TEST(Camera, TranslatesAlongItsOwnAxes) {
    Camera cam;
    cam.translate(1, 2, 3);
    EXPECT_FLOAT_EQ(cam.view.m[3][0], 1);
    EXPECT_FLOAT_EQ(cam.view.m[3][1], 2);
    EXPECT_FLOAT_EQ(cam.view.m[3][2], 3);
    EXPECT_FLOAT_EQ(cam.view.m[3][3], 1);

    Camera scaled;
    scaled.setScale(2, 3, 4);
    scaled.translate(1, 1, 1);
    EXPECT_FLOAT_EQ(scaled.view.m[3][0], 2);
    EXPECT_FLOAT_EQ(scaled.view.m[3][1], 3);
    EXPECT_FLOAT_EQ(scaled.view.m[3][2], 4);
    EXPECT_FLOAT_EQ(scaled.rightAxis().x, 2);
    EXPECT_FLOAT_EQ(scaled.upAxis().y, 3);
    EXPECT_FLOAT_EQ(scaled.viewDirection().z, 4);
}

TEST(Camera, EverythingVisibleBeforeThePlanesAreBuilt) {
    const Camera cam;
    EXPECT_TRUE(cam.sphereVisible(1e6f, -1e6f, 0, 0));
}

TEST(Camera, SphereAgainstTheViewPlanes) {
    // With the 800 x 600 orthographic projection the left plane is x = -400.
    Camera cam;
    cam.updateViewPlanes(base::orthoLH(800, 600, 1, 500));
    struct Case {
        float x, y, z, r;
        bool visible;
    };
    const Case cases[] = {
        {0, 0, 100, 0, true},
        {-410, 0, 100, 10, false},    // behind the left plane by exactly its radius
        {-410, 0, 100, 10.5f, true},  // by less than its radius
        {-400, 0, 100, 0.001f, true},
        {0, 330, 100, 20, false},     // above the top
        {0, 330, 100, 40, true},
        {0, 0, 600, 50, false},       // beyond the far plane
    };
    for (const Case& c : cases)
        EXPECT_EQ(cam.sphereVisible(c.x, c.y, c.z, c.r), c.visible)
            << c.x << ", " << c.y << ", " << c.z << " r " << c.r;

    // A perspective camera looking down +z sees in front, not behind.
    Camera eye;
    eye.updateViewPlanes(base::perspectiveFovLH(base::kPi / 4, 4.0f / 3, 5, 400));
    EXPECT_TRUE(eye.sphereVisible(0, 0, 100, 1));
    EXPECT_FALSE(eye.sphereVisible(0, 0, -100, 1));
    EXPECT_FALSE(eye.sphereVisible(200, 0, 100, 1));  // outside the 45 degree cone
}

}  // namespace
}  // namespace tessaly::gfx
