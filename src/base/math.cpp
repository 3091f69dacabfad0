#include "base/math.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/frame_clock.h"

namespace tessaly::base {

namespace {

// The square-root tables: the 23-bit mantissa of sqrt(m) for every m whose
// upper 15 mantissa bits are the index. One table serves even exponents
// (m in [1, 2)), the other odd ones (the mantissa taken as 2m in [2, 4)).
constexpr int kSqrtTableSize = 32768;  // 15 bits of mantissa

struct SqrtTables {
    uint32_t evenExponent[kSqrtTableSize];
    uint32_t oddExponent[kSqrtTableSize];
    bool built = false;
};

SqrtTables s_sqrt;

uint32_t floatBits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

float bitsFloat(uint32_t u) {
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

}  // namespace

void buildSqrtTables() {
    for (int i = 0; i < kSqrtTableSize; ++i) {
        // The float in [1, 2) with mantissa i << 8, and twice it, in [2, 4).
        const float one = bitsFloat((127u << 23) | (uint32_t(i) << 8));
        const float two = bitsFloat((128u << 23) | (uint32_t(i) << 8));
        // sqrt of [1, 4) lies in [1, 2): exponent 127, keep the mantissa.
        s_sqrt.evenExponent[i] = floatBits(std::sqrt(one)) & 0x7FFFFFu;
        s_sqrt.oddExponent[i] = floatBits(std::sqrt(two)) & 0x7FFFFFu;
    }
    s_sqrt.built = true;
}

float fastSqrt(float x) {
    if (!(x > 0)) return 0;  // zero, negatives and NaN
    if (!s_sqrt.built) buildSqrtTables();
    const uint32_t bits = floatBits(x);
    const int biased = int(bits >> 23);
    if (biased == 0) return std::sqrt(x);     // subnormal: outside the tables' range
    if (biased == 255) return x;              // infinity
    const int exponent = biased - 127;
    const uint32_t index = (bits & 0x7FFFFFu) >> 8;
    // An odd exponent borrows one factor 2 into the mantissa; the shift is
    // arithmetic, so negative exponents round down as they must.
    const uint32_t mantissa =
        (exponent & 1) ? s_sqrt.oddExponent[index] : s_sqrt.evenExponent[index];
    const int half = exponent >> 1;
    return bitsFloat((uint32_t(half + 127) << 23) | mantissa);
}

float length(Vec2 v) { return fastSqrt(v.x * v.x + v.y * v.y); }
float length(Vec3 v) { return fastSqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

Vec2 normalize(Vec2 v) {
    const float l = length(v);
    return l > 0 ? v / l : v;
}

Vec3 normalize(Vec3 v) {
    const float l = length(v);
    return l > 0 ? v / l : v;
}

Vec2 rotateDeg(Vec2 v, float degrees) {
    const float a = degrees * kDegToRad;
    const float c = std::cos(a), s = std::sin(a);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

float angleOf(Vec2 v) {
    const Vec2 n = normalize(v);
    const float a = std::acos(std::clamp(n.x, -1.0f, 1.0f)) * kRadToDeg;
    return n.y < 0 ? 360 - a : a;
}

float width(const Rect& r) { return std::fabs(r.left - r.right); }
float height(const Rect& r) { return std::fabs(r.top - r.bottom); }
Vec2 centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

Rect rectFromCentre(Vec2 c, float w, float h) {
    return {c.x - w / 2, c.y + h / 2, c.x + w / 2, c.y - h / 2};
}

Rect offsetRect(const Rect& r, Vec2 v) {
    return {r.left + v.x, r.top + v.y, r.right + v.x, r.bottom + v.y};
}

float pulse(float frequency, float tMs) {
    if (tMs < -1000000.0f) tMs = base::g_frame.animationClockMs;
    return 0.5f + 0.5f * std::sin(2 * kPi * frequency * tMs * 0.001f);
}

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

}  // namespace tessaly::base
