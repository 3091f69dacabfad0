#include "gfx/camera.h"

#include <cmath>

namespace tessaly::gfx {

void Camera::translate(float x, float y, float z) {
    for (int i = 0; i < 4; ++i)
        view.m[3][i] += x * view.m[0][i] + y * view.m[1][i] + z * view.m[2][i];
}

void Camera::setScale(float sx, float sy, float sz) {
    view.m[0][0] = sx;
    view.m[1][1] = sy;
    view.m[2][2] = sz;
}

void Camera::updateViewPlanes(const base::Matrix& projection) {
    const base::Matrix c = base::multiply(view, projection);
    // For a row vector (x, y, z, 1), clip coordinate j is the dot product
    // with column j; the view volume is -w <= x, y, z <= w.
    for (int k = 0; k < 3; ++k) {
        for (int side = 0; side < 2; ++side) {
            float* plane = planes[2 * k + side];
            const float sign = side == 0 ? -1.0f : 1.0f;
            for (int row = 0; row < 4; ++row) plane[row] = c.m[row][3] + sign * c.m[row][k];
            const float len =
                std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
            // A degenerate plane (a flat projection) would divide by zero;
            // it is left unscaled, which only makes the test looser.
            if (len > 0)
                for (int i = 0; i < 4; ++i) plane[i] /= len;
        }
    }
}

bool Camera::sphereVisible(float x, float y, float z, float r) const {
    for (const auto& p : planes)
        if (-r >= p[0] * x + p[1] * y + p[2] * z + p[3]) return false;
    return true;
}

}  // namespace tessaly::gfx
