// The camera view: one 4 x 4 row-major matrix for row vectors that the
// screens set up each frame and apply as the view transform, and the six
// view planes of view x projection used to skip what cannot be seen.
#pragma once

#include "base/math.h"
#include "platform/device.h"

namespace tessaly::gfx {

struct Camera {
    base::Matrix view = base::Matrix::identity();
    // a, b, c, d with (a, b, c) of unit length. Until the first
    // updateViewPlanes every plane passes everything.
    float planes[6][4] = {{0, 0, 0, 1e30f}, {0, 0, 0, 1e30f}, {0, 0, 0, 1e30f},
                          {0, 0, 0, 1e30f}, {0, 0, 0, 1e30f}, {0, 0, 0, 1e30f}};

    void setIdentity() { view = base::Matrix::identity(); }
    // Moves the camera along its own axes.
    void translate(float x, float y, float z);
    void setScale(float sx, float sy, float sz);
    base::Vec3 rightAxis() const { return {view.m[0][0], view.m[1][0], view.m[2][0]}; }
    base::Vec3 upAxis() const { return {view.m[0][1], view.m[1][1], view.m[2][1]}; }
    base::Vec3 viewDirection() const { return {view.m[0][2], view.m[1][2], view.m[2][2]}; }

    // Rebuilds the planes from view x projection.
    void updateViewPlanes(const base::Matrix& projection);
    bool sphereVisible(float x, float y, float z, float r) const;
};

inline Camera g_camera;

}  // namespace tessaly::gfx
