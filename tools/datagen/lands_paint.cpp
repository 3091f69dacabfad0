// The landscapes' backdrop pictures (800 x 600, one pixel per screen unit).
//
// Each land is painted from far to near around its scene: the farthest
// layer sets the skyline and leaves the sky transparent, water and
// waterfalls are cut out of the layers exactly inside their objects'
// rectangles (nearer shores and rocks are painted over the cut edges
// afterwards), and a behind-object gets a hole in the shape of its own
// silhouette. Haze, reflections and the sun's glow lie half-transparent over
// the holes. A last pass keeps the area behind the board calm: local
// contrast is pulled towards a blurred copy there, less so towards the edges
// and the top, where the livelier detail lives.
//
// Sections: toolkit (ridges, layers, trees, cuts, veils, finish), the
// fifteen lands, the table.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

#include "lands.h"

namespace datagen::lands {
namespace {

constexpr int W = kBackdropWidth, H = kBackdropHeight;
constexpr double kBoardRightPx = kBoardRight + 400;

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A rectangle in pixels (y down).
struct Box {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    double cx() const { return (left + right) / 2; }
};

Box pixelBox(const SceneObject& o) { return {o.x0 + 400, 300 - o.y1, o.x1 + 400, 300 - o.y0}; }

// A ridge line: height (pixels from the top) at x from fractal noise;
// `sharp` turns the rolling noise into peaked mountains.
struct Ridge {
    double base, amplitude, scale;
    int seed;
    double sharp = 0;
    double at(double x) const {
        const double n = fractalNoise(x / scale, seed * 0.37, 4, seed);
        const double peaked = std::fabs(n) * 2 - 0.6;
        return base + amplitude * (n * (1 - sharp) + peaked * sharp);
    }
};

// A coarse noise field sampled bilinearly: cheap per-pixel unevenness.
class NoiseGrid final {
public:
    NoiseGrid(double scale, int seed) {
        for (int gy = 0; gy <= kRows; ++gy)
            for (int gx = 0; gx <= kCols; ++gx)
                m_values[size_t(gy) * (kCols + 1) + size_t(gx)] =
                    fractalNoise(gx * kStep / scale, gy * kStep / scale, 3, seed);
    }
    double at(double x, double y) const {
        const double fx = std::clamp(x / kStep, 0.0, kCols - 1e-6), fy = std::clamp(y / kStep, 0.0, kRows - 1e-6);
        const int ix = int(fx), iy = int(fy);
        const double tx = fx - ix, ty = fy - iy;
        auto v = [&](int gx, int gy) { return m_values[size_t(gy) * (kCols + 1) + size_t(gx)]; };
        return (v(ix, iy) * (1 - tx) + v(ix + 1, iy) * tx) * (1 - ty) +
               (v(ix, iy + 1) * (1 - tx) + v(ix + 1, iy + 1) * tx) * ty;
    }

private:
    static constexpr int kStep = 8, kCols = W / kStep + 1, kRows = H / kStep + 1;
    std::array<double, (kCols + 1) * (kRows + 1)> m_values{};
};

// Direct access to the canvas's premultiplied pixels, flushed on creation
// and marked dirty when done.
class Pixels final {
public:
    explicit Pixels(Canvas& canvas) : m_canvas(canvas) {
        cairo_surface_flush(canvas.surface());
        m_data = cairo_image_surface_get_data(canvas.surface());
        m_stride = size_t(cairo_image_surface_get_stride(canvas.surface()));
    }
    ~Pixels() { cairo_surface_mark_dirty(m_canvas.surface()); }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    uint32_t& at(int x, int y) { return reinterpret_cast<uint32_t*>(m_data + size_t(y) * m_stride)[x]; }
    // Straight colour and alpha of a pixel.
    Rgba get(int x, int y) {
        const uint32_t p = at(x, y);
        const double a = (p >> 24) / 255.0;
        if (a <= 0) return {0, 0, 0, 0};
        return {((p >> 16) & 255) / 255.0 / a, ((p >> 8) & 255) / 255.0 / a, (p & 255) / 255.0 / a, a};
    }
    void set(int x, int y, Rgba c) {
        const double a = std::clamp(c.a, 0.0, 1.0);
        auto ch = [&](double v) { return uint32_t(std::clamp(v, 0.0, 1.0) * a * 255 + 0.5); };
        at(x, y) = (uint32_t(a * 255 + 0.5) << 24) | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
    }
    // Paints colour c with coverage `cover` over the pixel.
    void over(int x, int y, Rgba c, double cover) {
        const double a = std::clamp(c.a * cover, 0.0, 1.0);
        if (a <= 0) return;
        const Rgba d = get(x, y);
        const double outA = a + d.a * (1 - a);
        auto blend = [&](double s, double t) { return (s * a + t * d.a * (1 - a)) / outA; };
        set(x, y, {blend(c.r, d.r), blend(c.g, d.g), blend(c.b, d.b), outA});
    }

private:
    Canvas& m_canvas;
    uint8_t* m_data;
    size_t m_stride;
};

Rgba lerp(Rgba a, Rgba b, double t) { return mix(a, b, std::clamp(t, 0.0, 1.0)); }

// One landscape layer, filled below a ridge line.
struct Layer {
    Ridge ridge;
    Rgba top, bottom;        // colour at the ridge and gradientDepth below it
    double gradientDepth = 220;
    double faceLight = 0;    // light and shade on slopes facing towards / away from the light
    double mottle = 0.05;    // brush unevenness
    double rim = 0.25;       // rim light on the ridge, strongest on the left
    Rgba rimColour = hex(0xFFE9B8);
    double snowLine = -1;    // ridge points above this row carry snow
    double strata = 0;       // horizontal rock bands
    double bottomRow = H;    // filled down to this row
    int seed = 1;
};

class Painter final {
public:
    Painter(Canvas& canvas, const Scene& scene, const std::vector<Definition>& definitions,
            const SpriteBook& sprites)
        : m_canvas(canvas), m_scene(scene), m_definitions(definitions), m_sprites(sprites) {}

    cairo_t* cr() { return m_canvas.cr(); }
    Canvas& canvas() { return m_canvas; }

    // The n-th object whose definition is of this kind (file order).
    const SceneObject& object(Kind kind, int n = 0) const {
        for (const SceneObject& o : m_scene.objects)
            if (kindOf(o.name) == kind && n-- == 0) return o;
        throw std::runtime_error("the scene lacks an object the painting needs");
    }
    int count(Kind kind) const {
        int n = 0;
        for (const SceneObject& o : m_scene.objects) n += kindOf(o.name) == kind;
        return n;
    }
    const Image& spriteOf(const SceneObject& o) const {
        for (const Definition& d : m_definitions)
            if (d.name == o.name) {
                const auto it = m_sprites.find(d.file);
                if (it == m_sprites.end()) break;
                return it->second;
            }
        throw std::runtime_error("no picture for scene object " + o.name);
    }
    std::vector<SceneObject> frontObjects() const {
        std::vector<SceneObject> out;
        for (const SceneObject& o : m_scene.objects)
            if (!o.behind && kindOf(o.name) == Kind::Still) out.push_back(o);
        return out;
    }
    std::vector<const SceneObject*> behindObjects() const {
        std::vector<const SceneObject*> out;
        for (const SceneObject& o : m_scene.objects)
            if (o.behind && kindOf(o.name) == Kind::Still) out.push_back(&o);
        return out;
    }

    // -----------------------------------------------------------------------
    // Layers

    std::vector<double> ridgeLine(const Ridge& r) const {
        std::vector<double> line(W + 1);
        for (int x = 0; x <= W; ++x) line[size_t(x)] = r.at(x);
        return line;
    }

    void layer(const Layer& l) {
        const auto line = ridgeLine(l.ridge);
        const NoiseGrid mottle(70, l.seed), fine(28, l.seed + 2);
        const NoiseGrid bands(120, l.seed + 1);
        Pixels px(m_canvas);
        for (int x = 0; x < W; ++x) {
            const double r = line[size_t(x)];
            const double slope = (line[size_t(std::min(W, x + 24))] - line[size_t(std::max(0, x - 24))]) / 48;
            const double facing = std::clamp(-slope * 1.2, -1.0, 1.0);  // > 0: faces the light
            const int from = std::max(0, int(std::floor(r)));
            const int to = std::min(H, int(std::ceil(l.bottomRow)));
            for (int y = from; y < to; ++y) {
                const double depth = y + 0.5 - r;
                const double cover = std::clamp(y + 1 - r, 0.0, 1.0) * std::clamp(l.bottomRow - y, 0.0, 1.0);
                if (cover <= 0) continue;
                Rgba c = lerp(l.top, l.bottom, depth / l.gradientDepth);
                if (l.faceLight > 0) c = shade(c, 0.6 * l.faceLight * facing * std::exp(-depth / 45));
                if (l.strata > 0) {
                    const double b = std::sin((y + bands.at(x, y) * 22) / 6.5) * 0.5 +
                                     std::sin((y + bands.at(x, y) * 40) / 17.0) * 0.5;
                    c = shade(c, l.strata * b);
                }
                if (l.snowLine >= 0 && r < l.snowLine) {
                    const double snowDepth = (l.snowLine - r) * 0.7 + mottle.at(x, y) * 14;
                    const double s = 1 - smoothstep(snowDepth - 3, snowDepth + 3, depth);
                    const Rgba snow = shade(hex(0xF2F0F6), facing < 0 ? facing * 0.25 : 0);
                    c = lerp(c, mix(snow, hex(0xB8C0DC), std::max(0.0, -facing) * 0.5), s);
                }
                c = shade(c, l.mottle * (0.6 * fine.at(x, y) + 0.4 * mottle.at(x, y)));
                c = lerp(c, l.rimColour, l.rim * std::exp(-depth / 2.2) * (1 - 0.75 * x / W));
                px.over(x, y, c, cover);
            }
        }
    }

    // A rock wall standing up from the bottom, its face at column edge(y)
    // (a left wall fills x < edge, a right wall x > edge), from row `top`.
    void wall(bool left, double edgeX, double amplitude, double top, Rgba lit, Rgba dark, int seed,
              double strata = 0.06) {
        const NoiseGrid edge(90, seed), rock(40, seed + 1), bands(110, seed + 2), grain(18, seed + 4);
        // The wall's top: rough, rising towards the outer edge of the picture.
        std::vector<double> topRow(W);
        for (int x = 0; x < W; ++x) {
            const double fromEdge = left ? x : W - x;
            topRow[size_t(x)] = top + fromEdge * 0.12 + 14 * fractalNoise(x / 30.0, 0.7, 3, seed + 3);
        }
        Pixels px(m_canvas);
        for (int y = std::max(0, int(top) - 20); y < H; ++y) {
            const double e = edgeX + amplitude * edge.at(0, y) + 10 * rock.at(y, 5);
            for (int x = 0; x < W; ++x) {
                const double topCover = std::clamp(y + 1 - topRow[size_t(x)], 0.0, 1.0);
                const double inside = left ? e - x : x - e;  // pixels inside the wall
                const double cover = std::clamp(inside + 0.5, 0.0, 1.0) * topCover;
                if (cover <= 0) continue;
                // Left walls show their shaded face to the right; right walls
                // face the light.
                const double faceT = std::clamp(inside / 70, 0.0, 1.0);
                Rgba c = left ? lerp(dark, lit, faceT * 0.8) : lerp(lit, dark, faceT * 0.7);
                c = shade(c, 0.08 * grain.at(x, y));
                if (strata > 0) c = shade(c, strata * std::sin((y + bands.at(x, y) * 30) / 9.0));
                if (inside < 3 && !left) c = lerp(c, hex(0xFFE9B8), 0.25 * (1 - inside / 3));
                px.over(x, y, c, cover);
            }
        }
    }

    // -----------------------------------------------------------------------
    // Trees and growth

    enum class Tree { Round, Conifer, Palm, Dead, Fruit, SnowConifer };

    void tree(Tree kind, double x, double ground, double size, Rgba crown, uint32_t seed) {
        cairo_t* c = cr();
        ArtRandom random(seed);
        // Cast shadow down and right.
        cairo_save(c);
        cairo_translate(c, x + size * 0.6, ground + 1);
        cairo_scale(c, 1, 0.28);
        paintSoftGlow(c, 0, 0, size * 1.3, hex(0x1A0E05, 0.3));
        cairo_restore(c);
        switch (kind) {
        case Tree::Round:
        case Tree::Fruit: {
            const double cy = ground - size * 1.3;
            cairo_rectangle(c, x - size * 0.1, cy, size * 0.2, ground - cy + 1);
            setSource(c, hex(0x3A2414));
            cairo_fill(c);
            for (int k = 0; k < 4; ++k) {
                const double bx = x + random.range(-0.45, 0.45) * size;
                const double by = cy + random.range(-0.4, 0.25) * size;
                const double br = size * random.range(0.55, 0.75);
                cairo_arc(c, bx, by, br, 0, 2 * M_PI);
                setRadialGradient(c, bx + kLightX * br * 0.6, by + kLightY * br * 0.6, br * 0.1, bx, by, br,
                                  {{0, shade(crown, 0.25)}, {0.6, crown}, {1, shade(crown, -0.3)}});
                cairo_fill(c);
            }
            if (kind == Tree::Fruit) {
                for (int k = 0; k < 7; ++k) {
                    const double fx = x + random.range(-0.8, 0.8) * size, fy = cy + random.range(-0.6, 0.5) * size;
                    const double fr = std::max(1.2, size * 0.09);
                    cairo_arc(c, fx, fy, fr, 0, 2 * M_PI);
                    setRadialGradient(c, fx - fr * 0.4, fy - fr * 0.4, 0, fx, fy, fr,
                                      {{0, hex(0xF6C07A)}, {1, hex(0xB8482A)}});
                    cairo_fill(c);
                }
            }
            break;
        }
        case Tree::Conifer:
        case Tree::SnowConifer: {
            cairo_rectangle(c, x - size * 0.08, ground - size * 0.5, size * 0.16, size * 0.5);
            setSource(c, hex(0x3A2414));
            cairo_fill(c);
            for (int k = 0; k < 4; ++k) {
                const double base = ground - size * 0.35 - k * size * 0.55;
                const double half = size * (0.62 - k * 0.12);
                cairo_move_to(c, x - half, base);
                cairo_curve_to(c, x - half * 0.4, base - size * 0.2, x - half * 0.15, base - size * 0.6,
                               x, base - size * 0.95);
                cairo_curve_to(c, x + half * 0.15, base - size * 0.6, x + half * 0.4, base - size * 0.2,
                               x + half, base);
                cairo_close_path(c);
                setLinearGradient(c, x - half, 0, x + half, 0,
                                  {{0, shade(crown, 0.22)}, {0.5, crown}, {1, shade(crown, -0.3)}});
                cairo_fill(c);
                if (kind == Tree::SnowConifer) {
                    cairo_move_to(c, x - half * 0.9, base - size * 0.02);
                    cairo_curve_to(c, x - half * 0.5, base - size * 0.14, x, base - size * 0.16, x + half * 0.6,
                                   base - size * 0.05);
                    cairo_set_line_width(c, std::max(1.2, size * 0.12));
                    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
                    setSource(c, hex(0xF0F2F8, 0.9));
                    cairo_stroke(c);
                }
            }
            break;
        }
        case Tree::Palm: {
            const double lean = random.range(-0.25, 0.25) * size;
            const double topX = x + lean + size * 0.3, topY = ground - size * 2.1;
            cairo_move_to(c, x, ground);
            cairo_curve_to(c, x + lean * 0.2, ground - size, topX - size * 0.2, topY + size * 0.6, topX, topY);
            cairo_set_line_width(c, size * 0.16);
            setSource(c, hex(0x6A4A2A));
            cairo_stroke(c);
            for (int k = 0; k < 7; ++k) {
                const double a = -M_PI + k * M_PI / 6 + random.range(-0.15, 0.15);
                const double len = size * random.range(0.9, 1.25);
                const double ex = topX + std::cos(a) * len, ey = topY + std::sin(a) * len * 0.5 + size * 0.35;
                cairo_move_to(c, topX, topY);
                cairo_curve_to(c, topX + std::cos(a) * len * 0.5, topY - size * 0.25,
                               ex - std::cos(a) * size * 0.1, ey - size * 0.2, ex, ey);
                cairo_set_line_width(c, size * 0.14);
                cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
                setSource(c, shade(crown, std::cos(a) < 0 ? 0.15 : -0.15));
                cairo_stroke(c);
            }
            break;
        }
        case Tree::Dead: {
            auto branch = [&](auto&& self, double bx, double by, double angle, double len, double width,
                              int depth) -> void {
                const double ex = bx + std::cos(angle) * len, ey = by + std::sin(angle) * len;
                cairo_move_to(c, bx, by);
                cairo_line_to(c, ex, ey);
                cairo_set_line_width(c, width);
                cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
                setSource(c, crown);
                cairo_stroke(c);
                if (depth == 0) return;
                self(self, ex, ey, angle - random.range(0.3, 0.6), len * 0.68, width * 0.62, depth - 1);
                self(self, ex, ey, angle + random.range(0.3, 0.6), len * 0.62, width * 0.62, depth - 1);
            };
            branch(branch, x, ground, -M_PI / 2 + random.range(-0.1, 0.1), size * 0.9, size * 0.16, 3);
            break;
        }
        }
    }

    // Trees standing along a ridge at the given columns.
    void treesOn(const Ridge& r, Tree kind, std::initializer_list<double> xs, double size, Rgba crown,
                 uint32_t seed, double sink = 2) {
        ArtRandom random(seed);
        for (double x : xs) {
            const double s = size * random.range(0.8, 1.15);
            tree(kind, x, r.at(x) + sink, s, crown, random.next());
        }
    }

    // Soft light and dark swathes on a layer (wider than tall).
    void swathes(const Ridge& r, Rgba light, Rgba dark, int count, uint32_t seed, double depth = 90) {
        cairo_t* c = cr();
        ArtRandom random(seed);
        for (int i = 0; i < count; ++i) {
            const double x = random.range(-40, W + 40);
            const double y = r.at(std::clamp(x, 0.0, double(W))) + random.range(6, depth);
            const double rad = random.range(40, 110);
            const bool isLight = random.unit() < 0.55;
            cairo_save(c);
            cairo_translate(c, x, y);
            cairo_scale(c, 1, 0.28);
            paintSoftGlow(c, 0, 0, rad, isLight ? light : dark);
            cairo_restore(c);
        }
    }

    // Small flowers scattered below a ridge.
    void flowers(const Ridge& r, int count, double minDepth, double maxDepth, uint32_t seed, double alpha) {
        cairo_t* c = cr();
        ArtRandom random(seed);
        const Rgba petals[] = {hex(0xF7E27A), hex(0xF4F0E6), hex(0xE98AA8), hex(0xB9A0E8)};
        for (int i = 0; i < count; ++i) {
            const double x = random.range(0, W);
            const double depth = random.range(minDepth, maxDepth);
            const double y = r.at(x) + depth;
            const double rad = 0.8 + 1.4 * (depth - minDepth) / std::max(1.0, maxDepth - minDepth);
            setSource(c, withAlpha(petals[random.below(4)], alpha));
            cairo_arc(c, x, y, rad, 0, 2 * M_PI);
            cairo_fill(c);
        }
    }

    // Reeds: thin blades in tufts, darker at the foot.
    void reeds(double x, double ground, double height, Rgba colour, uint32_t seed) {
        cairo_t* c = cr();
        ArtRandom random(seed);
        for (int k = 0; k < 9; ++k) {
            const double bx = x + random.range(-8, 8);
            const double lean = random.range(-0.35, 0.35);
            const double hgt = height * random.range(0.6, 1.1);
            cairo_move_to(c, bx, ground);
            cairo_curve_to(c, bx + lean * hgt * 0.2, ground - hgt * 0.5, bx + lean * hgt * 0.6, ground - hgt * 0.8,
                           bx + lean * hgt, ground - hgt);
            cairo_set_line_width(c, 1.6);
            setSource(c, shade(colour, random.range(-0.15, 0.2)));
            cairo_stroke(c);
            if (k % 3 == 0) {
                cairo_save(c);
                cairo_translate(c, bx + lean * hgt * 0.9, ground - hgt * 0.92);
                cairo_scale(c, 0.4, 1);
                cairo_arc(c, 0, 0, 4, 0, 2 * M_PI);
                cairo_restore(c);
                setSource(c, hex(0x5A3A22));
                cairo_fill(c);
            }
        }
    }

    // -----------------------------------------------------------------------
    // Holes

    // Makes the object's rectangle fully transparent; nearer layers painted
    // afterwards cover its edges.
    void cutRect(const SceneObject& o) {
        const Box b = pixelBox(o);
        cairo_t* c = cr();
        cairo_save(c);
        cairo_set_operator(c, CAIRO_OPERATOR_CLEAR);
        cairo_rectangle(c, b.left, b.top, b.width(), b.height());
        cairo_fill(c);
        cairo_restore(c);
    }

    // Cuts a shape (set by `path` on cr) but only inside the object's rectangle.
    template <typename PathFn>
    void cutInside(const SceneObject& o, PathFn path) {
        const Box b = pixelBox(o);
        cairo_t* c = cr();
        cairo_save(c);
        cairo_rectangle(c, b.left, b.top, b.width(), b.height());
        cairo_clip(c);
        cairo_set_operator(c, CAIRO_OPERATOR_DEST_OUT);
        path(c);
        setSource(c, hex(0xFFFFFF));
        cairo_fill(c);
        cairo_restore(c);
    }

    // A waterfall: its rectangle with gently wavy sides, cut; wet dark lips
    // along the sides.
    void cutFall(const SceneObject& o, uint32_t seed) {
        const Box b = pixelBox(o);
        ArtRandom random(seed);
        const double p1 = random.range(0, 6), p2 = random.range(0, 6);
        auto side = [&](double t, bool left) {
            const double wave = 2.2 * std::sin(t * 7 + (left ? p1 : p2)) + 1.2 * std::sin(t * 17 + p2);
            return left ? b.left + 3 + wave : b.right - 3 - wave;
        };
        cutInside(o, [&](cairo_t* c) {
            cairo_move_to(c, side(0, true), b.top - 1);
            for (int i = 1; i <= 40; ++i) cairo_line_to(c, side(i / 40.0, true), b.top + b.height() * i / 40.0);
            cairo_line_to(c, side(1, false), b.bottom + 1);
            for (int i = 39; i >= 0; --i) cairo_line_to(c, side(i / 40.0, false), b.top + b.height() * i / 40.0);
            cairo_close_path(c);
        });
        // Mist at the foot, half over the hole.
        cairo_save(cr());
        cairo_translate(cr(), b.cx(), b.bottom - 6);
        cairo_scale(cr(), 1, 0.35);
        paintSoftGlow(cr(), 0, 0, b.width() * 0.9, hex(0xF4F8FA, 0.55));
        cairo_restore(cr());
    }

    // A hole in the shape of the behind-object's own silhouette: only where
    // its picture is (nearly) opaque, so that drawing it blended or not
    // looks the same.
    void cutSilhouette(const SceneObject& o) {
        const Image& sprite = spriteOf(o);
        const Box b = pixelBox(o);
        Pixels px(m_canvas);
        for (int y = std::max(0, int(b.top)); y < std::min(H, int(std::ceil(b.bottom))); ++y)
            for (int x = std::max(0, int(b.left)); x < std::min(W, int(std::ceil(b.right))); ++x) {
                double u = (x + 0.5 - b.left) / b.width(), v = (y + 0.5 - b.top) / b.height();
                if (o.mirrored) u = 1 - u;
                if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
                // The lowest alpha of the texels around the sample: an eroded silhouette.
                const int tx = int(u * sprite.width), ty = int(v * sprite.height);
                int lowest = 255;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int sx = std::clamp(tx + dx, 0, sprite.width - 1);
                        const int sy = std::clamp(ty + dy, 0, sprite.height - 1);
                        lowest = std::min<int>(lowest, sprite.at(sx, sy)[3]);
                    }
                const double hole = smoothstep(150, 250, lowest);
                if (hole <= 0) continue;
                Rgba c = px.get(x, y);
                c.a *= 1 - hole;
                px.set(x, y, c);
            }
    }

    // A far peak rising behind a behind-object, so that the picture is
    // opaque all around its silhouette.
    void peakBehind(const SceneObject& o, Rgba top, Rgba bottom, int seed) {
        const Box b = pixelBox(o);
        struct Peak {
            double cx, top;
            int seed;
            double at(double x) const {
                return top + std::fabs(x - cx) * 0.55 + 10 * fractalNoise(x / 40, 0.3, 3, seed);
            }
        } peak{b.cx(), b.top - 40, seed};
        const NoiseGrid mottle(60, seed);
        Pixels px(m_canvas);
        for (int x = 0; x < W; ++x) {
            const double r = peak.at(x);
            const double facing = 0.12 * std::clamp((peak.cx - x) / 40, -1.0, 1.0);
            for (int y = std::max(0, int(r)); y < std::min(H, int(b.bottom) + 60); ++y) {
                const double cover = std::clamp(y + 1 - r, 0.0, 1.0) * std::clamp((b.bottom + 60 - y) / 40, 0.0, 1.0);
                Rgba c = shade(lerp(top, bottom, (y - r) / 160), facing + 0.04 * mottle.at(x, y));
                c = lerp(c, hex(0xFFE9B8), 0.25 * std::exp(-(y - r) / 2.2));
                px.over(x, y, c, cover);
            }
        }
    }

    // Paints the sky's own mean colour (row by row, from its texture) over
    // the object's rectangle and a feathered margin around it: a behind-
    // object standing against the sky then has opaque picture around its
    // silhouette and the drifting sky fades out softly near it.
    void skyPatch(const SceneObject& o, double feather = 40) {
        const SceneObject& sky = object(Kind::Sky);
        const Image& texture = spriteOf(sky);
        const Box sb = pixelBox(sky), b = pixelBox(o);
        std::vector<Rgba> rowMean(size_t(texture.height));
        for (int ty = 0; ty < texture.height; ++ty) {
            double r = 0, g = 0, bl = 0;
            for (int tx = 0; tx < texture.width; ++tx) {
                const uint8_t* q = texture.at(tx, ty);
                bl += q[0], g += q[1], r += q[2];
            }
            const double n = 255.0 * texture.width;
            rowMean[size_t(ty)] = {r / n, g / n, bl / n, 1};
        }
        Pixels px(m_canvas);
        for (int y = std::max(0, int(b.top - feather)); y < std::min(H, int(b.bottom + feather)); ++y) {
            const double v = std::clamp((y + 0.5 - sb.top) / sb.height(), 0.0, 0.999);
            const Rgba c = rowMean[size_t(v * texture.height)];
            for (int x = std::max(0, int(b.left - feather)); x < std::min(W, int(b.right + feather)); ++x) {
                const double dx = std::max({b.left - (x + 0.5), x + 0.5 - b.right, 0.0});
                const double dy = std::max({b.top - (y + 0.5), y + 0.5 - b.bottom, 0.0});
                const double d = std::hypot(dx, dy);
                px.over(x, y, c, 1 - smoothstep(0, feather, d));
            }
        }
    }

    // A mirrored, rippled copy of the band above the water laid half over it.
    void reflect(const SceneObject& water, double strength, double reach = 0.8) {
        const Box b = pixelBox(water);
        const int top = std::max(1, int(std::ceil(b.top)));
        const int bottom = std::min(H, int(b.bottom));
        std::vector<Rgba> above(size_t(W) * size_t(top));
        {
            Pixels px(m_canvas);
            for (int y = 0; y < top; ++y)
                for (int x = 0; x < W; ++x) above[size_t(y) * W + size_t(x)] = px.get(x, y);
        }
        const NoiseGrid ripple(6, 401);
        Pixels px(m_canvas);
        const double span = std::max(1.0, (bottom - top) * reach);
        for (int y = top; y < bottom; ++y) {
            const double d = y - top;
            const double fade = strength * (1 - smoothstep(0, span, d));
            if (fade <= 0.002) continue;
            for (int x = std::max(0, int(b.left)); x < std::min(W, int(std::ceil(b.right))); ++x) {
                const int sx = std::clamp(int(x + ripple.at(x * 0.3, y) * 6), 0, W - 1);
                const int sy = std::clamp(int(top - 1 - d * 1.2), 0, top - 1);
                const Rgba src = above[size_t(sy) * W + size_t(sx)];
                if (src.a <= 0) continue;
                px.over(x, y, withAlpha(src, 1), fade * src.a);
            }
        }
    }

    // -----------------------------------------------------------------------
    // Veils

    void glow(double x, double y, double radius, Rgba colour, double hardness = 0) {
        paintSoftGlow(cr(), x, y, radius, colour, hardness);
    }

    // Haze in a horizontal band (over holes too), strongest at `centre`.
    void haze(double centre, double halfHeight, Rgba colour, double alpha) {
        cairo_t* c = cr();
        cairo_rectangle(c, 0, centre - halfHeight, W, halfHeight * 2);
        setLinearGradient(c, 0, centre - halfHeight, 0, centre + halfHeight,
                          {{0, withAlpha(colour, 0)}, {0.5, withAlpha(colour, alpha)}, {1, withAlpha(colour, 0)}});
        cairo_fill(c);
    }

    // Banks of mist drifting low, uneven along their length.
    void mistBank(double centre, double halfHeight, Rgba colour, double alpha, int seed) {
        const NoiseGrid n(50, seed);
        Pixels px(m_canvas);
        for (int y = std::max(0, int(centre - halfHeight)); y < std::min(H, int(centre + halfHeight)); ++y) {
            const double band = 1 - std::pow((y - centre) / halfHeight, 2);
            for (int x = 0; x < W; ++x) {
                const double a = alpha * band * smoothstep(-0.5, 0.6, n.at(x * 0.33, y));
                if (a > 0) px.over(x, y, colour, a);
            }
        }
    }

    // -----------------------------------------------------------------------
    // Finish

    // Pulls the colour of every opaque-ish pixel towards its blurred
    // surroundings by `strength` where the board stands (fading out towards
    // the top, the bottom and the left edge), then darkens there by `dim`
    // so that pale tiles and glossy balls read over the picture. Alpha is
    // kept, so the holes stay as cut.
    void calm(double strength, double dim) {
        // The surroundings' mean colour: 4 x 4 blocks, blurred at that size
        // (a blur of about 26 pixels), weighted by alpha so that holes do not
        // pull colour in.
        constexpr int kBlock = 4, GW = W / kBlock, GH = H / kBlock;
        std::vector<std::array<double, 4>> grid(size_t(GW) * GH, {0, 0, 0, 0});
        {
            Pixels px(m_canvas);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const uint32_t q = px.at(x, y);
                    auto& g = grid[size_t(y / kBlock) * GW + size_t(x / kBlock)];
                    g[0] += (q >> 16) & 255, g[1] += (q >> 8) & 255, g[2] += q & 255, g[3] += q >> 24;
                }
        }
        for (int pass = 0; pass < 3; ++pass)
            for (int dir = 0; dir < 2; ++dir) {
                std::vector<std::array<double, 4>> next(grid.size());
                for (int gy = 0; gy < GH; ++gy)
                    for (int gx = 0; gx < GW; ++gx) {
                        std::array<double, 4> sum{0, 0, 0, 0};
                        for (int d = -4; d <= 4; ++d) {
                            const int sx = dir == 0 ? std::clamp(gx + d, 0, GW - 1) : gx;
                            const int sy = dir == 1 ? std::clamp(gy + d, 0, GH - 1) : gy;
                            const auto& g = grid[size_t(sy) * GW + size_t(sx)];
                            for (int c = 0; c < 4; ++c) sum[size_t(c)] += g[size_t(c)];
                        }
                        for (int c = 0; c < 4; ++c) sum[size_t(c)] /= 9;
                        next[size_t(gy) * GW + size_t(gx)] = sum;
                    }
                grid.swap(next);
            }
        auto meanAt = [&](int x, int y, Rgba& out) {
            const double fx = std::clamp((x + 0.5) / kBlock - 0.5, 0.0, GW - 1.001);
            const double fy = std::clamp((y + 0.5) / kBlock - 0.5, 0.0, GH - 1.001);
            const int ix = int(fx), iy = int(fy);
            const double tx = fx - ix, ty = fy - iy;
            double v[4];
            for (int c = 0; c < 4; ++c) {
                auto g = [&](int gx, int gy) { return grid[size_t(gy) * GW + size_t(gx)][size_t(c)]; };
                v[c] = (g(ix, iy) * (1 - tx) + g(ix + 1, iy) * tx) * (1 - ty) +
                       (g(ix, iy + 1) * (1 - tx) + g(ix + 1, iy + 1) * tx) * ty;
            }
            if (v[3] < 0.05 * 255 * kBlock * kBlock) return false;
            out = {v[0] / v[3], v[1] / v[3], v[2] / v[3], 1};
            return true;
        };
        Pixels px(m_canvas);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const double edge = std::min({x + 40.0, kBoardRightPx + 20 - x, double(y), double(H - y)});
                const double inside = smoothstep(10, 130, edge) * (x < kBoardRightPx + 20);
                if (inside <= 0) continue;
                Rgba c = px.get(x, y);
                if (c.a < 1) {
                    // Sky and water show through here: lay a thin dusk veil
                    // over them instead.
                    const double veil = (0.1 + dim) * inside * (1 - c.a);
                    const Rgba dusk = hex(0x4A3C5E);
                    const double outA = c.a + veil;
                    if (outA > 0)
                        c = {(c.r * c.a + dusk.r * veil) / outA, (c.g * c.a + dusk.g * veil) / outA,
                             (c.b * c.a + dusk.b * veil) / outA, outA};
                    px.set(x, y, c);
                    continue;
                }
                Rgba mean;
                if (meanAt(x, y, mean)) {
                    const double k = strength * inside;
                    c = {c.r + (mean.r - c.r) * k, c.g + (mean.g - c.g) * k, c.b + (mean.b - c.b) * k, c.a};
                }
                c = shade(withAlpha(c, 1), -dim * inside);
                c.a = px.get(x, y).a;
                px.set(x, y, c);
            }
    }

    // Haze across the skyline: a soft band, half over the sky and half over
    // the land, in a colour between the two, so that the horizon is a
    // gradient rather than a step behind the board.
    void softenSkyline() {
        if (count(Kind::Sky) == 0) return;
        const SceneObject& sky = object(Kind::Sky);
        const Image& texture = spriteOf(sky);
        const Box sb = pixelBox(sky);
        Pixels px(m_canvas);
        // The skyline: the first opaque row, or the bottom of the sky where
        // water meets it.
        std::vector<double> line(W, std::min(double(H), sb.bottom));
        for (int x = 0; x < W; ++x)
            for (int y = 0; y < std::min(double(H), sb.bottom); ++y)
                if (px.get(x, y).a > 0.9) {
                    line[size_t(x)] = y;
                    break;
                }
        // Smoothed, so the band follows the shape of the hills, not each tree.
        std::vector<double> smooth(W);
        for (int x = 0; x < W; ++x) {
            double sum = 0;
            int n = 0;
            for (int d = -30; d <= 30; ++d) {
                const int sx = std::clamp(x + d, 0, W - 1);
                sum += line[size_t(sx)];
                ++n;
            }
            smooth[size_t(x)] = sum / n;
        }
        // The haze colour: the land just below the line and the sky's mean at
        // that height, averaged along the line so that it holds no streaks.
        std::vector<Rgba> colours(W);
        for (int x = 0; x < W; ++x) {
            const double centre = std::min(smooth[size_t(x)], H - 1.0);
            const Rgba land = withAlpha(px.get(x, std::min(H - 1, int(centre) + 12)), 1);
            const double v = std::clamp((centre - sb.top) / sb.height(), 0.0, 0.999);
            double r = 0, g = 0, b = 0;
            for (int tx = 0; tx < texture.width; tx += 4) {
                const uint8_t* t = texture.at(tx, int(v * texture.height));
                b += t[0], g += t[1], r += t[2];
            }
            const double n = 255.0 * (texture.width / 4);
            colours[size_t(x)] = mix(land, Rgba{r / n, g / n, b / n, 1}, 0.55);
        }
        std::vector<Rgba> even(W);
        for (int x = 0; x < W; ++x) {
            Rgba sum{0, 0, 0, 0};
            int n = 0;
            for (int d = -60; d <= 60; d += 3, ++n) {
                const Rgba c = colours[size_t(std::clamp(x + d, 0, W - 1))];
                sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, 1};
            }
            even[size_t(x)] = {sum.r / n, sum.g / n, sum.b / n, 1};
        }
        for (int x = 0; x < W; ++x) {
            const double centre = smooth[size_t(x)];
            if (centre >= H - 1) continue;
            const Rgba haze = even[size_t(x)];
            for (int y = std::max(0, int(centre - 40)); y < std::min(H, int(centre + 40)); ++y) {
                const double d = (y - centre) / 40;
                px.over(x, y, haze, 0.55 * (1 - d * d));
            }
        }
    }

    void finish(int seed, double calmStrength, double dim) {
        softenSkyline();
        addPaintTexture(m_canvas, 0.05, 55, seed);
        calm(std::max(calmStrength, 0.6), dim);
        // Corners a little darker draw the eye inwards.
        setRadialGradient(cr(), W / 2.0, H / 2.0, 260, W / 2.0, H / 2.0, 620,
                          {{0, hex(0x1A0E05, 0)}, {1, hex(0x1A0E05, 0.25)}});
        cairo_save(cr());
        cairo_set_operator(cr(), CAIRO_OPERATOR_ATOP);
        cairo_paint(cr());
        cairo_restore(cr());
        addGrain(m_canvas, 0.015, uint32_t(seed) + 1);
    }

private:
    Canvas& m_canvas;
    const Scene& m_scene;
    const std::vector<Definition>& m_definitions;
    const SpriteBook& m_sprites;
};

using Tree = Painter::Tree;

// Rows of the screen's y (up) in pixels (down).
constexpr double row(double y) { return 300 - y; }

// ---------------------------------------------------------------------------
// The lands

// 0 Home Valley: a gentle green valley in evening light, an orchard on the
// slopes, a brook winding down towards the viewer.
void homeValley(Painter& p) {
    p.glow(150, 250, 330, hex(0xFFD9A0, 0.4));
    p.glow(150, 250, 70, hex(0xFFF2D0, 0.6), 0.3);
    const Ridge far{300, 26, 170, 3};
    p.layer({far, mix(hex(0xB79AB4), hex(0xD98F86), 0.3), hex(0xC8A8A8), 120, 0, 0.03, 0.45});
    p.haze(300, 40, hex(0xF6C88E), 0.25);
    const Ridge mid{350, 30, 230, 5};
    p.layer({mid, mix(hex(0x7F9A66), hex(0xB79AB4), 0.35), hex(0x6E8A5C), 160, 0, 0.04, 0.4});
    p.treesOn(mid, Tree::Fruit, {40, 80, 120, 610, 650, 690, 730, 770}, 9, mix(hex(0x56784A), hex(0xB79AB4), 0.2), 41);
    const Ridge near{420, 24, 280, 11};
    p.layer({near, hex(0x5E8A4C), hex(0x3A6236), 200, 0, 0.05, 0.45});
    // The brook: from the far hills down through the near meadow.
    const SceneObject& brook = p.object(Kind::Water);
    auto brookPath = [&](cairo_t* c) {
        const Box b = pixelBox(brook);
        auto centre = [&](double t) { return b.cx() + std::sin(t * 5.2 + 0.6) * b.width() * 0.28 * (0.4 + t); };
        auto half = [&](double t) { return 3 + t * t * 38; };
        cairo_move_to(c, centre(0) - half(0), b.top);
        for (int i = 1; i <= 60; ++i) {
            const double t = i / 60.0;
            cairo_line_to(c, centre(t) - half(t), b.top + t * b.height());
        }
        for (int i = 60; i >= 0; --i) {
            const double t = i / 60.0;
            cairo_line_to(c, centre(t) + half(t), b.top + t * b.height());
        }
        cairo_close_path(c);
    };
    p.cutInside(brook, brookPath);
    p.reflect(brook, 0.18, 0.5);
    // Soft grassy banks along the water, a light glint on the near edges.
    brookPath(p.cr());
    cairo_set_line_width(p.cr(), 4);
    setSource(p.cr(), hex(0x2E4A26, 0.45));
    cairo_stroke(p.cr());
    brookPath(p.cr());
    cairo_set_line_width(p.cr(), 1.2);
    setSource(p.cr(), hex(0xFFE9B8, 0.25));
    cairo_stroke(p.cr());
    p.treesOn(near, Tree::Fruit, {20, 70, 700, 760}, 17, hex(0x3E6A3A), 43);
    p.flowers(near, 160, 20, 160, 17, 0.55);
    const Ridge front{540, 14, 300, 19};
    p.layer({front, hex(0x385E32), hex(0x24401F), 100, 0, 0.05, 0.3});
    p.finish(70, 0.35, 0.06);
}

// 1 Sunny Meadow: bright rolling meadows under a blue summer sky, round
// trees at the edges, flowers in the grass.
void sunnyMeadow(Painter& p) {
    p.glow(90, 40, 260, hex(0xFFF4D8, 0.18));
    const Ridge far{310, 20, 190, 21};
    p.layer({far, mix(hex(0x9AB0C8), hex(0x9CB48A), 0.5), hex(0x94AC84), 80, 0, 0.03, 0.35});
    const Ridge mid{360, 26, 220, 22};
    p.layer({mid, hex(0x86A466), hex(0x6E9456), 180, 0, 0.04, 0.4});
    p.treesOn(mid, Tree::Round, {30, 66, 640, 700, 745}, 10, hex(0x5E8A4E), 51);
    p.swathes(mid, hex(0xC8DC8A, 0.3), hex(0x3E6A36, 0.25), 14, 52);
    const Ridge near{440, 22, 260, 23};
    p.layer({near, hex(0x6A9A4E), hex(0x4A7A3C), 200, 0, 0.05, 0.4});
    p.treesOn(near, Tree::Round, {16, 56, 720, 776}, 20, hex(0x3E7038), 53);
    p.flowers(near, 220, 10, 150, 54, 0.5);
    p.flowers(mid, 90, 6, 60, 55, 0.4);
    p.finish(71, 0.45, 0.22);
}

// 2 Mirror Lake: a still lake mirroring lavender mountains, dark firs on
// the shores.
void mirrorLake(Painter& p) {
    const SceneObject& lake = p.object(Kind::Water);
    const Box lb = pixelBox(lake);
    const Ridge mountains{lb.top - 70, 60, 140, 31, 0.7};
    p.layer({mountains, hex(0xA896B8), hex(0xB8A8C0), 120, 0.12, 0.03, 0.4, hex(0xFFE9B8), lb.top - 95});
    p.haze(lb.top - 10, 30, hex(0xE8D6D0), 0.35);
    p.cutRect(lake);
    // The far shore lies over the lake's upper edge, firs along it.
    const Ridge farShore{lb.top + 4, 3, 120, 32};
    p.layer({farShore, hex(0x7C9278), hex(0x6C8468), 30, 0, 0.03, 0.3, hex(0xFFE9B8), -1, 0, lb.top + 12});
    p.treesOn(farShore, Tree::Conifer, {20, 44, 66, 150, 230, 330, 470, 560, 600, 640, 690, 730, 770}, 8,
              mix(hex(0x4C6E56), hex(0xA896B8), 0.3), 61);
    p.reflect(lake, 0.3, 0.9);
    const Ridge near{lb.bottom - 6, 10, 200, 33};
    p.layer({near, hex(0x5E8050), hex(0x3A5A36), 200, 0, 0.06, 0.35});
    p.swathes(near, hex(0xB8C88A, 0.25), hex(0x2A4426, 0.3), 22, 34, 180);
    p.flowers(near, 120, 8, 170, 35, 0.45);
    p.treesOn(near, Tree::Conifer, {10, 40, 740, 785}, 26, hex(0x2E5038), 62);
    p.finish(72, 0.4, 0.1);
}

// 3 River Gorge: steep rock walls, a waterfall pouring from the back into
// the river below.
void riverGorge(Painter& p) {
    const SceneObject& fall = p.object(Kind::Waterfall);
    const SceneObject& river = p.object(Kind::Water);
    const Box fb = pixelBox(fall), rb = pixelBox(river);
    const Ridge back{fb.top - 40, 30, 110, 41, 0.5};
    p.layer({back, hex(0x9C8CA4), hex(0x8A7C8C), 200, 0.1, 0.04, 0.35});
    // The cliff the fall pours from, the fall cut into it.
    const Ridge lip{fb.top + 1, 3, 60, 42};
    p.layer({lip, hex(0x8A7A78), hex(0x6E6068), 160, 0, 0.06, 0.3, hex(0xFFE9B8), -1, 0.05, rb.top + 4});
    p.wall(true, 170, 40, 20, hex(0x9A8270), hex(0x5E4C48), 44);
    p.wall(false, 560, 36, 40, hex(0xB89A80), hex(0x7A6458), 45);
    p.cutFall(fall, 43);
    p.cutRect(river);
    p.reflect(river, 0.3, 0.7);
    // Boulders along the near bank.
    const Ridge bank{rb.bottom - 4, 8, 90, 46};
    p.layer({bank, hex(0x6A5A52), hex(0x3E342E), 120, 0.1, 0.06, 0.3});
    p.treesOn(Ridge{22, 6, 80, 47}, Tree::Conifer, {30, 70, 110}, 14, hex(0x3E5E44), 48);
    p.finish(73, 0.45, 0.08);
}

// 4 Old Forest: tall old trunks, a green twilight under the canopy, light
// falling through gaps in the leaves above.
void oldForest(Painter& p) {
    const Ridge canopyGap{150, 40, 90, 51};
    // Distant trunks in green haze.
    p.layer({Ridge{70, 30, 120, 52}, hex(0x7A9A78), hex(0x5E7E5A), 300, 0, 0.05, 0});
    cairo_t* c = p.cr();
    ArtRandom random(53);
    for (int pass = 0; pass < 3; ++pass) {
        const int count = 9 - pass * 2;
        for (int i = 0; i < count; ++i) {
            const double x = random.range(-20, W + 20);
            const double w = 10 + pass * 14 + random.range(0, 8);
            const Rgba bark = mix(hex(0x6E8468), hex(0x4A3E2E), 0.25 + pass * 0.2);
            cairo_rectangle(c, x - w / 2, 0, w, H);
            setLinearGradient(c, x - w / 2, 0, x + w / 2, 0,
                              {{0, shade(bark, 0.2)}, {0.4, bark}, {1, shade(bark, -0.35)}});
            cairo_fill(c);
        }
        p.haze(300, 320, hex(0x9AB890), 0.34);
    }
    const Ridge floor{440, 18, 200, 54};
    p.layer({floor, hex(0x5A7A44), hex(0x2E4A28), 160, 0, 0.06, 0.35});
    // The canopy, with the sky showing through gaps at the top.
    p.layer({Ridge{0, 0, 1, 55}, hex(0x3E6236), hex(0x2E4E2A), 120, 0, 0.08, 0, hex(0xFFE9B8), -1, 0, 120});
    const SceneObject& sky = p.object(Kind::Sky);
    p.cutInside(sky, [&](cairo_t* cc) {
        ArtRandom gaps(56);
        for (int i = 0; i < 14; ++i) {
            const double gx = gaps.range(0, W), gy = gaps.range(0, canopyGap.base - 60);
            cairo_new_sub_path(cc);
            cairo_arc(cc, gx, gy, gaps.range(14, 34), 0, 2 * M_PI);
        }
    });
    {
        // Leafy fringe of the canopy over the gaps' edges.
        Canvas fringe(W, H);
        ArtRandom leaves(57);
        for (int i = 0; i < 700; ++i) {
            const double lx = leaves.range(0, W), ly = leaves.range(-10, 150) * (0.35 + 0.65 * leaves.unit());
            const double r = leaves.range(4, 9);
            const Rgba tone = mix(hex(0x2E5A2E), hex(0x7AA050), leaves.unit() * 0.7);
            cairo_save(fringe.cr());
            cairo_translate(fringe.cr(), lx, ly);
            cairo_rotate(fringe.cr(), leaves.range(-1, 1));
            cairo_scale(fringe.cr(), 1, 0.55);
            cairo_arc(fringe.cr(), 0, 0, r, 0, 2 * M_PI);
            cairo_restore(fringe.cr());
            setRadialGradient(fringe.cr(), lx - r * 0.4, ly - r * 0.3, 0, lx, ly, r,
                              {{0, shade(tone, 0.25)}, {1, shade(tone, -0.2)}});
            cairo_fill(fringe.cr());
        }
        p.canvas().paintCanvas(fringe);
    }
    // Light shafts.
    for (int i = 0; i < 4; ++i) {
        const double x = 120 + i * 160;
        cairo_move_to(c, x, 40);
        cairo_line_to(c, x + 40, 40);
        cairo_line_to(c, x + 180, H);
        cairo_line_to(c, x + 90, H);
        cairo_close_path(c);
        setLinearGradient(c, 0, 40, 0, H, {{0, hex(0xFFF0C0, 0.12)}, {1, hex(0xFFF0C0, 0)}});
        cairo_fill(c);
    }
    p.finish(74, 0.5, 0.06);
}

// 5 Blue Mountains: range after range of blue peaks fading into the haze,
// a far castle on a spur.
void blueMountains(Painter& p) {
    p.glow(120, 60, 280, hex(0xFFF0D8, 0.15));
    const Ridge r1{200, 50, 120, 61, 0.8};
    p.layer({r1, hex(0xA4AACC), hex(0xB4B8D4), 100, 0.12, 0.02, 0.45, hex(0xFFE9B8), 150});
    p.haze(240, 50, hex(0xD8D4E4), 0.35);
    const Ridge r2{280, 44, 150, 62, 0.7};
    p.layer({r2, hex(0x8A96C0), hex(0x98A2C8), 120, 0.12, 0.03, 0.4});
    p.haze(320, 50, hex(0xD0D0E4), 0.3);
    const Ridge r3{360, 40, 180, 63, 0.6};
    p.layer({r3, hex(0x6E7EAC), hex(0x7886B0), 140, 0.12, 0.03, 0.4});
    for (const SceneObject* o : p.behindObjects()) {
        p.peakBehind(*o, hex(0x8C98C2), hex(0x7A88B2), 66);
        p.cutSilhouette(*o);
    }
    p.haze(410, 50, hex(0xC8CCE0), 0.25);
    const Ridge r4{450, 30, 220, 64, 0.3};
    p.layer({r4, hex(0x566A94), hex(0x3E5078), 160, 0.1, 0.04, 0.35});
    p.treesOn(r4, Tree::Conifer, {16, 44, 72, 720, 750, 780}, 16, hex(0x2E4660), 65);
    p.finish(75, 0.4, 0.04);
}

// 6 Palm Islands: a warm turquoise sea with small green islands, palms
// leaning over a sandy beach.
void palmIslands(Painter& p) {
    const SceneObject& sea = p.object(Kind::Water);
    const Box sb = pixelBox(sea);
    p.glow(140, sb.top - 40, 260, hex(0xFFF2D8, 0.15));
    p.cutRect(sea);
    // The sea lightens towards the hazy horizon.
    cairo_rectangle(p.cr(), sb.left, sb.top, sb.width(), sb.height());
    setLinearGradient(p.cr(), 0, sb.top, 0, sb.bottom,
                      {{0, hex(0xB8C8D4, 0.75)}, {0.35, hex(0x9CB8C8, 0.45)}, {1, hex(0x9CB8C0, 0.3)}});
    cairo_fill(p.cr());
    p.haze(sb.top + 10, 34, hex(0xB4C0CA), 0.5);
    // Islands on the sea, each a low mound with palms.
    const struct { double x, w, h; } islands[] = {{150, 120, 26}, {420, 80, 16}, {640, 150, 34}};
    int seed = 71;
    for (const auto& is : islands) {
        cairo_t* c = p.cr();
        const double base = sb.top + 14 + is.h * 0.3;
        cairo_move_to(c, is.x - is.w / 2, base);
        cairo_curve_to(c, is.x - is.w * 0.3, base - is.h, is.x + is.w * 0.2, base - is.h * 1.1, is.x + is.w / 2, base);
        cairo_close_path(c);
        setLinearGradient(c, is.x - is.w / 2, 0, is.x + is.w / 2, 0,
                          {{0, hex(0x9AB0A4)}, {1, hex(0x7E9A90)}});
        cairo_fill(c);
        cairo_rectangle(c, is.x - is.w / 2, base - 2, is.w, 3);
        setSource(c, hex(0xE8D8B0, 0.8));
        cairo_fill(c);
        ArtRandom r{uint32_t(seed)};
        for (int k = 0; k < 3; ++k)
            p.tree(Tree::Palm, is.x + r.range(-0.3, 0.3) * is.w, base - is.h * 0.6, is.h * 0.5, hex(0x4E8A4A), r.next());
        ++seed;
    }
    p.reflect(sea, 0.12, 0.4);
    // The beach in front, palms at the edges.
    const Ridge beach{sb.bottom - 10, 12, 240, 72};
    p.layer({beach, hex(0xA8987C), hex(0x8E7C60), 140, 0, 0.04, 0.2});
    const Ridge dune{sb.bottom + 60, 16, 200, 73};
    p.layer({dune, hex(0x8A9A5C), hex(0x4E6A3C), 140, 0, 0.05, 0.3});
    p.tree(Tree::Palm, 730, dune.at(730), 60, hex(0x3E7A3E), 74);
    p.tree(Tree::Palm, 20, dune.at(20), 54, hex(0x3E7A3E), 75);
    p.finish(76, 0.45, 0.14);
}

// 7 Autumn Wood: a wood in red and gold under a warm sky, leaves on the
// ground.
void autumnWood(Painter& p) {
    p.glow(130, 120, 260, hex(0xFFD8A0, 0.35));
    const Ridge far{280, 22, 170, 81};
    p.layer({far, hex(0xC8A098), hex(0xB8908C), 120, 0, 0.03, 0.4});
    p.treesOn(far, Tree::Round, {20, 60, 100, 140, 560, 600, 640, 680, 720, 760}, 9, mix(hex(0xC87A4A), hex(0xC8A098), 0.4), 82);
    const Ridge mid{340, 26, 200, 83};
    p.layer({mid, hex(0xA88A5C), hex(0x8A6A44), 160, 0, 0.05, 0.4});
    p.treesOn(mid, Tree::Round, {10, 50, 90, 650, 700, 745, 790}, 16, hex(0xC8602E), 84);
    p.swathes(mid, hex(0xE8A860, 0.28), hex(0x5A3A22, 0.25), 16, 85);
    const Ridge near{430, 20, 240, 86};
    p.layer({near, hex(0x8A5E36), hex(0x5A3A22), 200, 0, 0.06, 0.35});
    p.treesOn(near, Tree::Round, {0, 46, 730, 790}, 28, hex(0xB84A28), 87);
    {
        ArtRandom r(88);
        cairo_t* c = p.cr();
        const Rgba leaf[] = {hex(0xD8702A), hex(0xC04A22), hex(0xE8A83A)};
        for (int i = 0; i < 260; ++i) {
            const double x = r.range(0, W), y = near.at(x) + r.range(10, 170);
            cairo_save(c);
            cairo_translate(c, x, y);
            cairo_rotate(c, r.range(0, 3));
            cairo_scale(c, 1, 0.5);
            cairo_arc(c, 0, 0, r.range(1.5, 3.5), 0, 2 * M_PI);
            cairo_restore(c);
            setSource(c, withAlpha(leaf[r.below(3)], 0.6));
            cairo_fill(c);
        }
    }
    p.finish(77, 0.45, 0.08);
}

// 8 Waterfall Cliffs: tall cliffs with two falls plunging into a pool.
void waterfallCliffs(Painter& p) {
    const SceneObject& pool = p.object(Kind::Water);
    const Box pb = pixelBox(pool);
    p.glow(600, 60, 240, hex(0xFFE0B8, 0.3));
    const Ridge far{170, 40, 140, 91, 0.4};
    p.layer({far, hex(0xB49AB0), hex(0xA890A8), 120, 0.08, 0.03, 0.4});
    p.haze(200, 50, hex(0xF0D8C8), 0.3);
    // The cliff face, falls cut into it.
    const Ridge cliff{215, 16, 90, 92};
    p.layer({cliff, hex(0x9A8078), hex(0x6A5A5C), 260, 0.08, 0.06, 0.4, hex(0xFFE9B8), -1, 0.07, pb.top + 2});
    p.treesOn(cliff, Tree::Round, {40, 90, 140, 600, 660, 720}, 11, hex(0x4E7A48), 93);
    for (int i = 0; i < p.count(Kind::Waterfall); ++i) p.cutFall(p.object(Kind::Waterfall, i), 94u + uint32_t(i));
    p.cutRect(pool);
    p.reflect(pool, 0.3, 0.6);
    const Ridge rocks{pb.bottom - 4, 10, 110, 95};
    p.layer({rocks, hex(0x6E7A60), hex(0x4A5640), 120, 0.1, 0.06, 0.3});
    p.treesOn(rocks, Tree::Round, {6, 740, 790}, 24, hex(0x5A7A50), 96);
    p.finish(78, 0.45, 0.06);
}

// 9 Misty Marsh: grey-green pools between reed banks, bare trees in the
// mist.
void mistyMarsh(Painter& p) {
    const Ridge far{300, 10, 200, 101};
    p.layer({far, hex(0x9CA49A), hex(0x929A8E), 60, 0, 0.03, 0.2});
    p.treesOn(far, Tree::Dead, {60, 130, 610, 700}, 26, hex(0x7C8478), 102);
    p.mistBank(300, 40, hex(0xD8DCD0), 0.55, 103);
    const Ridge bank{345, 8, 160, 104};
    p.layer({bank, hex(0x788A6C), hex(0x5E7054), 240, 0, 0.05, 0.2});
    for (int i = 0; i < p.count(Kind::Water); ++i) {
        const SceneObject& pool = p.object(Kind::Water, i);
        const Box b = pixelBox(pool);
        p.cutInside(pool, [&](cairo_t* c) {
            cairo_save(c);
            cairo_translate(c, b.cx(), (b.top + b.bottom) / 2);
            cairo_scale(c, b.width() / 2, b.height() / 2);
            cairo_arc(c, 0, 0, 0.98, 0, 2 * M_PI);
            cairo_restore(c);
        });
        p.reflect(pool, 0.25, 0.7);
        ArtRandom r(105u + uint32_t(i));
        for (int k = 0; k < 5; ++k)
            p.reeds(b.left + r.range(0.05, 0.95) * b.width(), b.bottom - r.range(0, 6), 26, hex(0x6A7A4A), r.next());
    }
    p.treesOn(bank, Tree::Dead, {20, 740}, 60, hex(0x4A4A3E), 106);
    p.mistBank(400, 60, hex(0xDCE0D4), 0.35, 107);
    const Ridge near{530, 10, 220, 108};
    p.layer({near, hex(0x5A6A44), hex(0x38482E), 100, 0, 0.05, 0.2});
    for (int k = 0; k < 12; ++k) p.reeds(k < 6 ? k * 12 : 700 + k * 8, near.at(k * 12) + 4, 50, hex(0x5A6A3A), 109u + uint32_t(k));
    p.finish(79, 0.4, 0.08);
}

// 10 Red Canyon: red mesas with banded walls under a hot sky, balloons
// drifting past the far walls.
void redCanyon(Painter& p) {
    for (const SceneObject* o : p.behindObjects()) p.skyPatch(*o);
    p.glow(110, 90, 260, hex(0xFFE0B0, 0.35));
    const Ridge far{230, 24, 60, 111, 0.2};
    Layer mesas{far, hex(0xD8A08A), hex(0xC89080), 140, 0.1, 0.03, 0.4};
    mesas.strata = 0.05;
    p.layer(mesas);
    for (const SceneObject* o : p.behindObjects()) p.cutSilhouette(*o);
    p.haze(260, 40, hex(0xF4C8A8), 0.3);
    const Ridge mid{290, 34, 90, 112, 0.3};
    Layer walls{mid, hex(0xC87A5A), hex(0xA85E44), 200, 0.12, 0.04, 0.45};
    walls.strata = 0.07;
    p.layer(walls);
    p.wall(true, 60, 30, 120, hex(0xB06A4A), hex(0x8E5038), 113, 0.06);
    const Ridge floor{470, 16, 200, 114};
    p.layer({floor, hex(0xB87A52), hex(0x7A4A30), 140, 0, 0.06, 0.35});
    p.finish(80, 0.45, 0.08);
}

// 11 Snowy Pass: white peaks, snow-laden firs, a cold clear sky.
void snowyPass(Painter& p) {
    p.glow(130, 70, 240, hex(0xFFF6E8, 0.3));
    const Ridge peaks{190, 70, 110, 121, 0.9};
    p.layer({peaks, hex(0xA8ACC8), hex(0x989CB8), 140, 0.14, 0.02, 0.45, hex(0xFFF0DC), 185});
    p.haze(250, 50, hex(0xE4E6F2), 0.35);
    const Ridge pass{300, 36, 160, 122, 0.5};
    p.layer({pass, hex(0xB8BED0), hex(0xA0A8BE), 160, 0.12, 0.03, 0.45});
    p.treesOn(pass, Tree::SnowConifer, {30, 60, 90, 640, 690, 740, 780}, 12, hex(0x5A7474), 123);
    const Ridge slope{420, 26, 200, 124};
    p.layer({slope, hex(0xD0D6E2), hex(0xA0AAC0), 200, 0.08, 0.04, 0.3});
    p.treesOn(slope, Tree::SnowConifer, {10, 50, 730, 780}, 28, hex(0x56726E), 125);
    p.finish(81, 0.45, 0.34);
}

// 12 Twilight Coast: the sea under the first stars, cliffs with a
// lighthouse on the headland, the moon above.
void twilightCoast(Painter& p) {
    const SceneObject& sea = p.object(Kind::Water);
    const Box sb = pixelBox(sea);
    for (const SceneObject* o : p.behindObjects()) p.skyPatch(*o);
    p.glow(150, sb.top, 260, hex(0xE8A090, 0.3));
    // The far coast on the horizon.
    const Ridge farCoast{sb.top - 6, 8, 120, 131};
    p.layer({farCoast, hex(0x6A5C84), hex(0x5A5078), 30, 0, 0.02, 0.25, hex(0xFFD8C0), -1, 0, sb.top + 4});
    p.cutRect(sea);
    cairo_rectangle(p.cr(), sb.left, sb.top, sb.width(), sb.height());
    setLinearGradient(p.cr(), 0, sb.top, 0, sb.bottom,
                      {{0, hex(0xA87E9A, 0.7)}, {0.4, hex(0x5A4A7A, 0.5)}, {1, hex(0x3A3468, 0.45)}});
    cairo_fill(p.cr());
    // A halo around the moon in the sky behind it.
    for (const SceneObject& o : p.frontObjects()) {
        const Box b = pixelBox(o);
        p.glow(b.cx(), (b.top + b.bottom) / 2, b.width() * 1.6, hex(0x9A8CC0, 0.45));
    }
    p.reflect(sea, 0.25, 0.5);
    p.glow(150, sb.top + 30, 90, hex(0xF0B8A0, 0.2));
    // The headland on the right with the lighthouse.
    cairo_t* c = p.cr();
    cairo_move_to(c, 520, H);
    cairo_curve_to(c, 560, sb.top + 20, 620, sb.top - 30, 700, sb.top - 36);
    cairo_line_to(c, W, sb.top - 40);
    cairo_line_to(c, W, H);
    cairo_close_path(c);
    setLinearGradient(c, 520, 0, W, 0, {{0, hex(0x6A5C7E)}, {1, hex(0x4A3E5E)}});
    cairo_fill(c);
    for (const SceneObject* o : p.behindObjects()) p.cutSilhouette(*o);
    const Ridge shore{sb.bottom - 6, 10, 160, 132};
    p.layer({shore, hex(0x4C4460), hex(0x2A2438), 120, 0.1, 0.05, 0.25, hex(0xFFC8B0)});
    p.finish(82, 0.4, 0.02);
}

// 13 Crystal Caves: a cave of dark violet rock, crystals glittering in
// openings in its walls, a still pool.
void crystalCaves(Painter& p) {
    cairo_t* c = p.cr();
    setLinearGradient(c, 0, 0, 0, H, {{0, hex(0x3A3258)}, {0.5, hex(0x4A4068)}, {1, hex(0x2A2440)}});
    cairo_paint(c);
    // Soft rock masses.
    ArtRandom r(141);
    for (int i = 0; i < 40; ++i) {
        const double x = r.range(-40, W + 40), y = r.range(-40, H + 40), rad = r.range(40, 120);
        const Rgba tone = mix(hex(0x2E2846), hex(0x6A5C88), r.unit() * 0.6);
        paintSoftGlow(c, x, y, rad, withAlpha(tone, 0.5), 0.4);
    }
    for (const SceneObject* o : p.behindObjects()) {
        // A glowing rim around each opening, then the opening itself.
        const Box b = pixelBox(*o);
        p.glow(b.cx(), (b.top + b.bottom) / 2, b.width() * 0.7, hex(0x9CD8F0, 0.25));
        p.cutSilhouette(*o);
    }
    for (int i = 0; i < p.count(Kind::Waterfall); ++i) {
        const SceneObject& fall = p.object(Kind::Waterfall, i);
        p.cutFall(fall, 143u + uint32_t(i));
        // The fall runs in the cave's shade.
        const Box fb = pixelBox(fall);
        cairo_rectangle(c, fb.left, fb.top, fb.width(), fb.height());
        setSource(c, hex(0x2A3A58, 0.45));
        cairo_fill(c);
    }
    const SceneObject& pool = p.object(Kind::Water);
    const Box pb = pixelBox(pool);
    p.cutRect(pool);
    p.reflect(pool, 0.3, 0.6);
    const Ridge ledge{pb.bottom - 6, 8, 100, 142};
    p.layer({ledge, hex(0x4A3E66), hex(0x221C34), 100, 0.08, 0.06, 0.25, hex(0xB8E8FF)});
    // Stalactites along the top.
    for (int i = 0; i < 26; ++i) {
        const double x = r.range(0, W), len = r.range(20, 70), w = r.range(8, 20);
        cairo_move_to(c, x - w / 2, 0);
        cairo_line_to(c, x, len);
        cairo_line_to(c, x + w / 2, 0);
        cairo_close_path(c);
        setLinearGradient(c, x - w / 2, 0, x + w / 2, 0, {{0, hex(0x5A4E7A)}, {1, hex(0x2A2440)}});
        cairo_fill(c);
    }
    p.finish(83, 0.4, 0.0);
}

// 14 Sunset Valley: a wide valley glowing in the sunset, a river winding
// through it, balloons far off.
void sunsetValley(Painter& p) {
    const SceneObject& river = p.object(Kind::Water);
    const Box rb = pixelBox(river);
    for (const SceneObject* o : p.behindObjects()) p.skyPatch(*o);
    p.glow(160, 250, 300, hex(0xFFC890, 0.22));
    p.glow(160, 250, 60, hex(0xFFF0D0, 0.3), 0.3);
    const Ridge far{250, 34, 150, 151, 0.5};
    p.layer({far, hex(0xB08AA4), hex(0xC09CA8), 120, 0.08, 0.03, 0.5});
    for (const SceneObject* o : p.behindObjects()) p.cutSilhouette(*o);
    p.haze(290, 40, hex(0xF6C090), 0.3);
    const Ridge mid{rb.top + 2, 10, 200, 152};
    p.layer({mid, hex(0x9A8A70), hex(0x6A6A48), 260, 0, 0.04, 0.45, hex(0xFFD8A0)});
    p.swathes(mid, hex(0xE8B870, 0.25), hex(0x3A3A22, 0.25), 16, 155, 200);
    p.cutInside(river, [&](cairo_t* c) {
        auto centre = [&](double t) { return rb.cx() + std::sin(t * 4.4 + 1.2) * rb.width() * 0.3 * (0.3 + t); };
        auto half = [&](double t) { return 6 + t * t * 50; };
        cairo_move_to(c, centre(0) - half(0), rb.top);
        for (int i = 1; i <= 60; ++i) cairo_line_to(c, centre(i / 60.0) - half(i / 60.0), rb.top + i / 60.0 * rb.height());
        for (int i = 60; i >= 0; --i) cairo_line_to(c, centre(i / 60.0) + half(i / 60.0), rb.top + i / 60.0 * rb.height());
        cairo_close_path(c);
    });
    p.reflect(river, 0.25, 0.6);
    const Ridge near{rb.bottom - 70, 16, 260, 153};
    p.layer({near, hex(0x6A6A44), hex(0x3E4428), 160, 0, 0.05, 0.4});
    p.treesOn(near, Tree::Round, {10, 56, 730, 780}, 24, hex(0x5A5A32), 154);
    p.finish(84, 0.45, 0.06);
}

using LandFn = void (*)(Painter&);
constexpr LandFn kLands[kLastPaintedLand + 1] = {
    homeValley, sunnyMeadow, mirrorLake, riverGorge, oldForest, blueMountains, palmIslands, autumnWood,
    waterfallCliffs, mistyMarsh, redCanyon, snowyPass, twilightCoast, crystalCaves, sunsetValley,
};

}  // namespace

Image paintBackdrop(int land, const Scene& scene, const std::vector<Definition>& definitions,
                    const SpriteBook& sprites) {
    if (land < 0 || land > kLastPaintedLand) throw std::out_of_range("no painting for land " + std::to_string(land));
    Canvas canvas(W, H);
    Painter painter(canvas, scene, definitions, sprites);
    kLands[land](painter);
    return canvas.toImage();
}

}  // namespace datagen::lands
