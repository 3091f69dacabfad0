// Small value types shared by every drawing and effect module: 2D and 3D
// vectors, float and packed colours, rectangles with y growing upwards, the
// fast table square root, degree-based angle helpers and the pulse
// oscillator. Plain values, passed by value; the only state is the pair of
// square-root tables, built once at start-up by buildSqrtTables().
#pragma once

#include <cstdint>

namespace tessaly::base {

constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.295776f;
constexpr float kPi = 3.14159265f;

// Builds the two 32768-entry mantissa tables. Idempotent; call once at
// start-up (tests may call it again).
void buildSqrtTables();
// sqrt(x) for x >= 0 from the tables, 15 bits of mantissa precision.
float fastSqrt(float x);

struct Vec2 {
    float x = 0, y = 0;
};
struct Vec3 {
    float x = 0, y = 0, z = 0;
};

constexpr Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
constexpr Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
constexpr Vec2 operator-(Vec2 a) { return {-a.x, -a.y}; }
constexpr Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
constexpr Vec2 operator*(Vec2 a, Vec2 b) { return {a.x * b.x, a.y * b.y}; }
constexpr Vec2 operator/(Vec2 a, float s) { return a * (1.0f / s); }
constexpr Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
constexpr Vec3 operator/(Vec3 a, float s) { return a * (1.0f / s); }

float length(Vec2 v);
float length(Vec3 v);
Vec2 normalize(Vec2 v);  // a zero vector stays zero
Vec3 normalize(Vec3 v);
constexpr float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Counter-clockwise rotation by degrees.
Vec2 rotateDeg(Vec2 v, float degrees);
// Direction of v in degrees, 0..360, counter-clockwise from +x.
float angleOf(Vec2 v);

// Colour with float channels, nominally 0..1. Default (1, 1, 1, 0).
struct ColorF {
    float r = 1, g = 1, b = 1, a = 0;
};
constexpr ColorF operator+(ColorF a, ColorF b) { return {a.r + b.r, a.g + b.g, a.b + b.b, a.a + b.a}; }
constexpr ColorF operator*(ColorF c, float s) { return {c.r * s, c.g * s, c.b * s, c.a * s}; }
constexpr ColorF lerp(ColorF c0, ColorF c1, float t) { return c0 * (1 - t) + c1 * t; }

// Packed 32-bit colour: bytes from the low end blue, green, red, alpha.
struct Color32 {
    uint32_t argb = 0xFFFFFFFFu;

    constexpr Color32() = default;
    constexpr explicit Color32(uint32_t packed) : argb(packed) {}
    constexpr Color32(int r, int g, int b, int a)
        : argb((uint32_t(a & 0xFF) << 24) | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) |
               uint32_t(b & 0xFF)) {}
    constexpr int r() const { return (argb >> 16) & 0xFF; }
    constexpr int g() const { return (argb >> 8) & 0xFF; }
    constexpr int b() const { return argb & 0xFF; }
    constexpr int a() const { return argb >> 24; }
};

// v clamped to 0..1; NaN gives 0, so the result is always a valid fraction.
constexpr float clamp01(float v) { return v > 0 ? (v < 1 ? v : 1) : 0; }

// Packs byte channels into ARGB after clamping each to 0..255: animated
// colours may run past either end.
constexpr uint32_t clampedArgb(int r, int g, int b, int a) {
    auto byte = [](int v) { return uint32_t(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

// Rectangle with y growing upwards: top > bottom for a normal rectangle.
struct Rect {
    float left = 0, top = 0, right = 0, bottom = 0;
};
float width(const Rect& r);
float height(const Rect& r);
Vec2 centre(const Rect& r);
Rect rectFromCentre(Vec2 c, float w, float h);
Rect offsetRect(const Rect& r, Vec2 v);

// 0.5 + 0.5 sin(2 pi f t / 1000); t below -1000000 means "now", the
// animation clock.
float pulse(float frequency, float tMs = -2000000.0f);

// A 4 x 4 matrix, row-major, for row vectors: the translation sits in m[3].
struct Matrix {
    float m[4][4];

    static constexpr Matrix identity() {
        return Matrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    }
};

Matrix multiply(const Matrix& a, const Matrix& b);  // a then b: v * a * b

// Left-handed projections with depth mapped to 0..1.
Matrix perspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
Matrix orthoLH(float width, float height, float zNear, float zFar);

}  // namespace tessaly::base
