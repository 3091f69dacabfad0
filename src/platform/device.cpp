#include "platform/device.h"

#include <cmath>

namespace tessaly::platform {

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

Matrix perspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fovY / 2);
    const float xScale = yScale / aspect;
    const float q = zFar / (zFar - zNear);
    Matrix r{};
    r.m[0][0] = xScale;
    r.m[1][1] = yScale;
    r.m[2][2] = q;
    r.m[2][3] = 1;
    r.m[3][2] = -zNear * q;
    return r;
}

Matrix orthoLH(float width, float height, float zNear, float zFar) {
    Matrix r{};
    r.m[0][0] = 2 / width;
    r.m[1][1] = 2 / height;
    r.m[2][2] = 1 / (zFar - zNear);
    r.m[3][2] = zNear / (zNear - zFar);
    r.m[3][3] = 1;
    return r;
}

}  // namespace tessaly::platform
