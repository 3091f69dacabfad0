// Painting helpers of the data-set generator: a small layer over cairo that
// keeps the game's art consistent (see docs/art-direction.md).
//
// The house look: soft light from the top left, glossy rounded forms, a warm
// painted palette. The helpers here encode that light once
// (paintGlossyBall, paintGlossyPanel, ...) so every generator shades the
// same way.
//
//  - Canvas: an ARGB32 cairo surface with its context; toImage() gives the
//    straight-alpha B, G, R, A picture the writers of image_io.h take.
//  - Colours: Rgba (0..1 doubles, straight alpha), hex(), mix(), shade().
//  - Gradients and shapes: linear and radial gradients from stop lists,
//    rounded rectangles, stars, soft glows.
//  - Shading: glossy ball, glossy bevelled panel, specular highlight.
//  - Pixel passes: blur, drop shadow, grain, value noise.
//  - Text: cairo font faces from the DejaVu fonts (through FreeType, so no
//    system font configuration can change the output).
//
// Everything is deterministic: randomness comes from ArtRandom with a fixed
// seed per picture, never from the clock. Coordinates are cairo's: pixels,
// y down.
//
// Depends on cairo (with its FreeType backend) and stb_perlin.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>

#include "image_io.h"

namespace datagen {

// ---------------------------------------------------------------------------
// Colours

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;  // 0..1, straight alpha
};

// 0xRRGGBB as in the palette of docs/art-direction.md.
constexpr Rgba hex(uint32_t rgb, double alpha = 1) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
            alpha};
}
Rgba mix(Rgba a, Rgba b, double t);          // t = 0 gives a, 1 gives b
Rgba shade(Rgba c, double amount);           // > 0 towards white, < 0 towards black
Rgba withAlpha(Rgba c, double alpha);
void setSource(cairo_t* cr, Rgba c);

// ---------------------------------------------------------------------------
// Deterministic random numbers for art (independent of the game's generator)

class ArtRandom final {
public:
    explicit ArtRandom(uint32_t seed) : m_state(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t next();
    double unit();                          // [0, 1)
    double range(double low, double high);  // [low, high)
    int below(int n);                       // 0 .. n-1, n > 0

private:
    uint64_t m_state;
};

// Smooth fractal noise in about -1..1; the same (x, y, seed) always gives the
// same value. Scale x and y so that one unit is the size of the coarsest
// feature.
double fractalNoise(double x, double y, int octaves, int seed);

// ---------------------------------------------------------------------------
// Canvas

class Canvas final {
public:
    Canvas(int width, int height);  // fully transparent
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return m_cr; }
    cairo_surface_t* surface() const { return m_surface; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Straight-alpha B, G, R, A picture of the current contents.
    Image toImage() const;
    // Draws another canvas onto this one at (x, y) with the given opacity.
    void paintCanvas(const Canvas& other, double x = 0, double y = 0, double opacity = 1);

private:
    int m_width;
    int m_height;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

// Converts a premultiplied cairo ARGB32 surface to straight-alpha B, G, R, A.
Image toStraightBgra(cairo_surface_t* surface);

// ---------------------------------------------------------------------------
// Gradients and paths

struct GradientStop {
    double offset;  // 0..1
    Rgba color;
};

// Make the gradient the current source of cr.
void setLinearGradient(cairo_t* cr, double x0, double y0, double x1, double y1,
                       std::initializer_list<GradientStop> stops);
void setRadialGradient(cairo_t* cr, double cx0, double cy0, double r0, double cx1, double cy1,
                       double r1, std::initializer_list<GradientStop> stops);

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);
// A star of `points` tips around (cx, cy), first tip straight up.
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double rotationDeg = 0);

// ---------------------------------------------------------------------------
// The house light: from the top left, slightly in front.

// Unit vector from a surface point towards the light, in picture space
// (x right, y down, z out of the picture).
constexpr double kLightX = -0.48;
constexpr double kLightY = -0.62;
constexpr double kLightZ = 0.62;

// A glossy sphere: body gradient lit from the top left, a dark core shadow
// towards the bottom right, warm reflected light on the lower rim, and a soft
// specular window highlight. `base` is the ball's own colour at mid-light.
void paintGlossyBall(cairo_t* cr, double cx, double cy, double radius, Rgba base);
// Only the specular highlight of a glossy form of the given radius, for
// shapes that shade their body themselves.
void paintSpecular(cairo_t* cr, double cx, double cy, double radius, double strength = 1);
// A glossy rounded panel or tile: body gradient, a light bevel on the top
// and left edges, a dark bevel on the bottom and right, a sheen on the upper
// half.
void paintGlossyPanel(cairo_t* cr, double x, double y, double w, double h, double radius,
                      Rgba base, double bevel = 3);
// A soft round glow: colour at the centre fading to transparent at `radius`.
// hardness 0 gives a pure falloff, towards 1 a flatter core with a sharper
// edge.
void paintSoftGlow(cairo_t* cr, double cx, double cy, double radius, Rgba color,
                   double hardness = 0);

// ---------------------------------------------------------------------------
// Pixel passes over a whole canvas

// Runs shade(x, y, pixel) on every visible (alpha > 0) pixel of a canvas,
// in place. Pixels are premultiplied ARGB32: a shade keeps each colour
// channel at or below the pixel's alpha.
template <typename Shade>
void shadeVisiblePixels(Canvas& canvas, Shade shade) {
    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    for (int y = 0; y < canvas.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < canvas.width(); ++x)
            if (row[x] >> 24) shade(x, y, row[x]);
    }
    cairo_surface_mark_dirty(canvas.surface());
}

// Three box-blur passes (close to a gaussian of sigma ~ radius / 1.7).
void blur(Canvas& canvas, double radius);
// Paints the blurred silhouette of `shape` in `color` onto `target`, offset
// by (dx, dy); draw the shape itself over it afterwards.
void paintDropShadow(Canvas& target, const Canvas& shape, double dx, double dy, double blurRadius,
                     Rgba color);
// Luminance grain of +-amount (0..1) on every visible pixel; gives flat
// gradients a painted, non-banded surface.
void addGrain(Canvas& canvas, double amount, uint32_t seed);
// Soft brush-like unevenness: brightness varies by +-amount with fractal
// noise whose coarsest feature is `scale` pixels. Use on painted
// backgrounds so large areas don't look like flat vector fills.
void addPaintTexture(Canvas& canvas, double amount, double scale, int seed);

// ---------------------------------------------------------------------------
// Text

// A cairo font face from one of the DejaVu files ("DejaVuSans-Bold.ttf")
// next to `anyFontInFolder` (the generator's --font path). Faces live until
// the process ends. Throws when the file cannot be read.
cairo_font_face_t* fontFace(const std::filesystem::path& anyFontInFolder, const char* fileName);

}  // namespace datagen
