// Painting helpers; see paint.h.
#include "paint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STB_PERLIN_IMPLEMENTATION
#include <stb_perlin.h>
#pragma GCC diagnostic pop

namespace datagen {

// ---------------------------------------------------------------------------
// Colours

Rgba mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba shade(Rgba c, double amount) {
    const Rgba target = amount >= 0 ? Rgba{1, 1, 1, c.a} : Rgba{0, 0, 0, c.a};
    return mix(c, target, std::fabs(amount));
}

Rgba withAlpha(Rgba c, double alpha) { return {c.r, c.g, c.b, alpha}; }

void setSource(cairo_t* cr, Rgba c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

// ---------------------------------------------------------------------------
// Random numbers and noise

uint32_t ArtRandom::next() {
    // PCG-XSH-RR: small, fast and the same on every platform.
    const uint64_t old = m_state;
    m_state = old * 6364136223846793005ull + 1442695040888963407ull;
    const uint32_t xorshifted = uint32_t(((old >> 18u) ^ old) >> 27u);
    const uint32_t rot = uint32_t(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

double ArtRandom::unit() { return next() / 4294967296.0; }

double ArtRandom::range(double low, double high) { return low + (high - low) * unit(); }

int ArtRandom::below(int n) { return n > 0 ? int(next() % uint32_t(n)) : 0; }

double fractalNoise(double x, double y, int octaves, int seed) {
    double sum = 0, amplitude = 1, norm = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * stb_perlin_noise3_seed(float(x * frequency), float(y * frequency),
                                                  float(0.37 * i + 0.11), 0, 0, 0, seed + i);
        norm += amplitude;
        amplitude *= 0.5;
        frequency *= 2.03;
    }
    return norm > 0 ? sum / norm * 1.6 : 0;
}

// ---------------------------------------------------------------------------
// Canvas

Canvas::Canvas(int width, int height)
    : m_width(width),
      m_height(height),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_cr(cairo_create(m_surface)) {
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cairo: cannot create a surface");
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas() {
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

Image Canvas::toImage() const { return toStraightBgra(m_surface); }

void Canvas::paintCanvas(const Canvas& other, double x, double y, double opacity) {
    cairo_save(m_cr);
    cairo_set_source_surface(m_cr, other.surface(), x, y);
    cairo_paint_with_alpha(m_cr, opacity);
    cairo_restore(m_cr);
}

Image toStraightBgra(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            uint8_t* q = out.at(x, y);
            q[3] = uint8_t(a);
            if (a == 0) {
                q[0] = q[1] = q[2] = 0;
                continue;
            }
            const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            q[0] = uint8_t(std::min<uint32_t>(255, (b * 255 + a / 2) / a));
            q[1] = uint8_t(std::min<uint32_t>(255, (g * 255 + a / 2) / a));
            q[2] = uint8_t(std::min<uint32_t>(255, (r * 255 + a / 2) / a));
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Gradients and paths

namespace {

void addStops(cairo_pattern_t* pattern, std::initializer_list<GradientStop> stops) {
    for (const auto& s : stops)
        cairo_pattern_add_color_stop_rgba(pattern, s.offset, s.color.r, s.color.g, s.color.b,
                                          s.color.a);
}

void setPattern(cairo_t* cr, cairo_pattern_t* pattern) {
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

}  // namespace

void setLinearGradient(cairo_t* cr, double x0, double y0, double x1, double y1,
                       std::initializer_list<GradientStop> stops) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    addStops(p, stops);
    setPattern(cr, p);
}

void setRadialGradient(cairo_t* cr, double cx0, double cy0, double r0, double cx1, double cy1,
                       double r1, std::initializer_list<GradientStop> stops) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx0, cy0, r0, cx1, cy1, r1);
    addStops(p, stops);
    setPattern(cr, p);
}

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
    radius = std::max(0.0, std::min(radius, std::min(w, h) / 2));
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double rotationDeg) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double angle = (rotationDeg - 90) * M_PI / 180 + i * M_PI / points;
        const double r = (i % 2) ? inner : outer;
        const double x = cx + std::cos(angle) * r, y = cy + std::sin(angle) * r;
        if (i == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

// ---------------------------------------------------------------------------
// Shading

void paintSpecular(cairo_t* cr, double cx, double cy, double radius, double strength) {
    // A broad faint sheen, then a crisp window-shaped highlight up and left
    // of the centre, then a small hot spot inside it.
    const double hx = cx + kLightX * radius * 0.5, hy = cy + kLightY * radius * 0.5;
    paintSoftGlow(cr, hx, hy, radius * 0.7, hex(0xFFFFF2, 0.28 * strength));
    cairo_save(cr);
    cairo_translate(cr, hx, hy);
    cairo_rotate(cr, -38 * M_PI / 180);
    cairo_scale(cr, 1.0, 0.6);
    setRadialGradient(cr, 0, 0, 0, 0, 0, radius * 0.42,
                      {{0, hex(0xFFFFFF, 0.92 * strength)},
                       {0.55, hex(0xFFFFFA, 0.7 * strength)},
                       {0.8, hex(0xFFFFF4, 0.25 * strength)},
                       {1, hex(0xFFFFF0, 0)}});
    cairo_arc(cr, 0, 0, radius * 0.42, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
    const double sx = cx + kLightX * radius * 0.56, sy = cy + kLightY * radius * 0.56;
    setRadialGradient(cr, sx, sy, 0, sx, sy, radius * 0.14,
                      {{0, hex(0xFFFFFF, strength)}, {0.5, hex(0xFFFFFF, 0.6 * strength)},
                       {1, hex(0xFFFFFF, 0)}});
    cairo_arc(cr, sx, sy, radius * 0.14, 0, 2 * M_PI);
    cairo_fill(cr);
}

void paintGlossyBall(cairo_t* cr, double cx, double cy, double radius, Rgba base) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_clip(cr);

    // Body: brightest towards the light, the base colour in the middle, a
    // deep (but still coloured) core shadow at the far rim.
    const double fx = cx + kLightX * radius * 0.5, fy = cy + kLightY * radius * 0.5;
    setRadialGradient(cr, fx, fy, 0, cx, cy, radius,
                      {{0, shade(base, 0.5)},
                       {0.25, shade(base, 0.16)},
                       {0.6, shade(base, -0.08)},
                       {0.86, shade(base, -0.45)},
                       {1, shade(base, -0.65)}});
    cairo_paint(cr);

    // Reflected light: a warm glow along the lower-right rim, as if bounced
    // off the ground.
    {
        cairo_pattern_t* rim = cairo_pattern_create_radial(cx, cy, radius * 0.55, cx, cy, radius);
        const Rgba bounce = mix(shade(base, 0.3), hex(0xFFE2B0), 0.3);
        cairo_pattern_add_color_stop_rgba(rim, 0, bounce.r, bounce.g, bounce.b, 0);
        cairo_pattern_add_color_stop_rgba(rim, 0.86, bounce.r, bounce.g, bounce.b, 0.6);
        cairo_pattern_add_color_stop_rgba(rim, 1, bounce.r, bounce.g, bounce.b, 0.15);
        cairo_pattern_t* mask = cairo_pattern_create_linear(
            cx + kLightX * radius, cy + kLightY * radius, cx - kLightX * radius,
            cy - kLightY * radius);
        cairo_pattern_add_color_stop_rgba(mask, 0.55, 0, 0, 0, 0);
        cairo_pattern_add_color_stop_rgba(mask, 1, 0, 0, 0, 1);
        cairo_set_source(cr, rim);
        cairo_mask(cr, mask);
        cairo_pattern_destroy(mask);
        cairo_pattern_destroy(rim);
    }
    cairo_restore(cr);

    // A thin darker edge keeps the ball readable on light grounds without a
    // hard outline.
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius - std::max(0.5, radius * 0.02), 0, 2 * M_PI);
    setSource(cr, withAlpha(shade(base, -0.7), 0.35));
    cairo_set_line_width(cr, std::max(1.0, radius * 0.04));
    cairo_stroke(cr);
    cairo_restore(cr);

    paintSpecular(cr, cx, cy, radius);
}

void paintGlossyPanel(cairo_t* cr, double x, double y, double w, double h, double radius,
                      Rgba base, double bevel) {
    cairo_save(cr);
    // Body, lit from above.
    roundedRectPath(cr, x, y, w, h, radius);
    setLinearGradient(cr, x, y, x, y + h,
                      {{0, shade(base, 0.22)}, {0.5, base}, {1, shade(base, -0.25)}});
    cairo_fill_preserve(cr);
    cairo_clip(cr);

    // Bevel: light on the top and left edges, shadow on the bottom and right.
    roundedRectPath(cr, x + bevel / 2, y + bevel / 2, w - bevel, h - bevel,
                    std::max(0.0, radius - bevel / 2));
    cairo_set_line_width(cr, bevel);
    const double d = std::min(w, h);
    setLinearGradient(cr, x, y, x + d, y + d,
                      {{0, hex(0xFFFFF4, 0.6)}, {0.5, hex(0xFFFFFF, 0)}, {1, hex(0x1A0E05, 0.4)}});
    cairo_stroke(cr);

    // Sheen on the upper half.
    roundedRectPath(cr, x + bevel, y + bevel, w - 2 * bevel, (h - 2 * bevel) * 0.48,
                    std::max(0.0, radius - bevel));
    setLinearGradient(cr, x, y + bevel, x, y + h * 0.5,
                      {{0, hex(0xFFFFFF, 0.36)}, {0.6, hex(0xFFFFFF, 0.12)}, {1, hex(0xFFFFFF, 0)}});
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintSoftGlow(cairo_t* cr, double cx, double cy, double radius, Rgba color, double hardness) {
    hardness = std::clamp(hardness, 0.0, 0.95);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    constexpr int kSteps = 16;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps;
        const double s = std::max(0.0, (t - hardness) / (1 - hardness));
        // A gaussian-like falloff forced to reach exactly 0 at the rim.
        const double f = std::exp(-s * s * 3.5) * (1 - s * s);
        cairo_pattern_add_color_stop_rgba(p, t, color.r, color.g, color.b, color.a * f);
    }
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
}

// ---------------------------------------------------------------------------
// Pixel passes

namespace {

// One box-blur pass along rows (or columns) of 4-byte pixels, clamping at the
// edges so opaque pictures do not darken towards their borders.
void boxPass(uint8_t* data, int length, int lines, size_t step, size_t lineStep, int r,
             std::vector<uint8_t>& scratch) {
    scratch.resize(size_t(length) * 4);
    const int window = 2 * r + 1;
    for (int line = 0; line < lines; ++line) {
        uint8_t* base = data + size_t(line) * lineStep;
        for (int c = 0; c < 4; ++c) {
            int sum = 0;
            for (int i = -r; i <= r; ++i) sum += base[size_t(std::clamp(i, 0, length - 1)) * step + c];
            for (int i = 0; i < length; ++i) {
                scratch[size_t(i) * 4 + c] = uint8_t((sum + window / 2) / window);
                sum += base[size_t(std::min(i + r + 1, length - 1)) * step + c];
                sum -= base[size_t(std::max(i - r, 0)) * step + c];
            }
        }
        for (int i = 0; i < length; ++i)
            for (int c = 0; c < 4; ++c) base[size_t(i) * step + c] = scratch[size_t(i) * 4 + c];
    }
}

}  // namespace

void blur(Canvas& canvas, double radius) {
    const int r = int(std::lround(radius / 1.5));
    if (r < 1) return;
    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const size_t stride = size_t(cairo_image_surface_get_stride(canvas.surface()));
    std::vector<uint8_t> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(data, canvas.width(), canvas.height(), 4, stride, r, scratch);
        boxPass(data, canvas.height(), canvas.width(), stride, 4, r, scratch);
    }
    cairo_surface_mark_dirty(canvas.surface());
}

void paintDropShadow(Canvas& target, const Canvas& shape, double dx, double dy, double blurRadius,
                     Rgba color) {
    Canvas shadow(shape.width(), shape.height());
    setSource(shadow.cr(), color);
    cairo_mask_surface(shadow.cr(), shape.surface(), 0, 0);
    blur(shadow, blurRadius);
    target.paintCanvas(shadow, dx, dy);
}

void addGrain(Canvas& canvas, double amount, uint32_t seed) {
    ArtRandom random(seed);
    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const size_t stride = size_t(cairo_image_surface_get_stride(canvas.surface()));
    for (int y = 0; y < canvas.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < canvas.width(); ++x) {
            const uint32_t p = row[x];
            const int a = int(p >> 24);
            const double n = (random.unit() - 0.5) * 2 * amount;
            if (a == 0) continue;
            const int delta = int(std::lround(n * a));
            auto channel = [&](int shift) {
                return uint32_t(std::clamp(int((p >> shift) & 0xFF) + delta, 0, a)) << shift;
            };
            row[x] = (uint32_t(a) << 24) | channel(16) | channel(8) | channel(0);
        }
    }
    cairo_surface_mark_dirty(canvas.surface());
}

void addPaintTexture(Canvas& canvas, double amount, double scale, int seed) {
    // The noise is smooth at this scale, so it is sampled on a coarse grid
    // and interpolated: the same look for a fraction of the work.
    constexpr int kStep = 4;
    const int gw = canvas.width() / kStep + 2, gh = canvas.height() / kStep + 2;
    std::vector<double> grid(size_t(gw) * size_t(gh));
    for (int gy = 0; gy < gh; ++gy)
        for (int gx = 0; gx < gw; ++gx)
            // Stretched a little sideways, like horizontal brush strokes.
            grid[size_t(gy * gw + gx)] =
                fractalNoise(gx * kStep / (scale * 1.6), gy * kStep / scale, 3, seed);

    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const size_t stride = size_t(cairo_image_surface_get_stride(canvas.surface()));
    for (int y = 0; y < canvas.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        const int gy = y / kStep;
        const double fy = double(y % kStep) / kStep;
        for (int x = 0; x < canvas.width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            if (a == 0) continue;
            const int gx = x / kStep;
            const double fx = double(x % kStep) / kStep;
            const double* g = &grid[size_t(gy * gw + gx)];
            const double n = (g[0] * (1 - fx) + g[1] * fx) * (1 - fy) +
                             (g[gw] * (1 - fx) + g[gw + 1] * fx) * fy;
            const double k = 1 + amount * n;
            auto channel = [&](int shift) {
                const double v = double((p >> shift) & 0xFF) * k;
                return uint32_t(std::clamp(int(std::lround(v)), 0, int(a))) << shift;
            };
            row[x] = (a << 24) | channel(16) | channel(8) | channel(0);
        }
    }
    cairo_surface_mark_dirty(canvas.surface());
}

// ---------------------------------------------------------------------------
// Text

cairo_font_face_t* fontFace(const std::filesystem::path& anyFontInFolder, const char* fileName) {
    static FT_Library library = nullptr;
    static std::map<std::string, cairo_font_face_t*> faces;
    const std::string path = (anyFontInFolder.parent_path() / fileName).string();
    if (auto it = faces.find(path); it != faces.end()) return it->second;
    if (!library && FT_Init_FreeType(&library)) throw std::runtime_error("freetype: no library");
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face))
        throw std::runtime_error("cannot read the font " + path);
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    faces[path] = cairoFace;
    return cairoFace;
}

}  // namespace datagen
