// The landscapes generator: reads assets/scenes/, paints the sprites and
// the fifteen backdrops, checks that scene, sprites and pictures fit
// together, and emits
//  - "gameobjs.txt" and the mesh set ("pebble.cgo", its ".msh_s" meshes)
//    into "texts.dat" (read once at start-up), the sprite textures into
//    "targa.dat" / "jpeg.dat";
//  - "animbacks/level%i.lev" and "animbacks/_a_back%i.jpg" for 0..15 as
//    loose files (the game loads a landscape again every time it shows it);
//    scene and backdrop 15 repeat 14.
//
// The checks compose each land the way the game shows it (first pass of
// skies, water and behind-objects, the picture over them, still objects and
// branches on top) and refuse a data set in which
//  - a scene names no definition, a definition names no file of the data
//    set, a scene holds more than 128 objects or a name is too long;
//  - the picture is transparent where no first-pass object lies under it
//    (the screen's clear colour would show), or a sky, water, waterfall or
//    behind-object never shows through;
//  - the first pass looks different drawn with or without blending (a
//    behind-object's rectangle would show);
//  - the area behind the board (x -400..300) is busy or bright: in 40 x 40
//    windows the luminance's standard deviation must stay under a bound
//    (tighter in the middle than near the edges and the top), no window
//    may be brighter than the pale tiles can stand out against, and the
//    area's mean must stay well below the tiles' brightness.
// With --preview, each land's composite is also written with a grid of pale
// board tiles over it ("lands_composite_NN.png"), plus "lands_stats.txt".
//
// Sections: reading the sources, composing, checks, the generator.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "generators.h"
#include "lands.h"

namespace datagen {
namespace lands {
namespace {

// Bounds of the calm check, luminance 0..255 of the composite behind the board.
constexpr double kCoreStdMax = 18;   // windows away from the edges of the board area
constexpr double kEdgeStdMax = 40;   // windows near the bottom and the left edge
constexpr double kTopStdMax = 64;    // windows along the top (branches, the moon)
constexpr double kSpotMax = 185;     // brightest window mean (pale tiles are ~205..230)
constexpr double kMeanMax = 150;     // mean over the whole board area
constexpr double kEdgeBand = 50;     // pixels from the area's border that count as its edge
constexpr double kTopBand = 110;     // the top, where branches and clouds may be livelier
constexpr int kWindow = 40, kWindowStep = 20;

std::string readText(const std::filesystem::path& path) {
    const Bytes bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// ---------------------------------------------------------------------------
// Composing a land as the game shows it.

// A local, inlinable blend (paint.h's mix is out of line and this runs for
// every pixel of every composite).
inline Rgba blendOf(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

struct Sampler {
    const Image* image;
    bool wrap;
    // Nearest texel at texture coordinates (u, v), v = 0 at the top row:
    // sprites are drawn at about one texel per pixel, so this is close to
    // what the game's filtering shows and much cheaper.
    Rgba at(double u, double v) const {
        int x = int(std::floor(u * image->width)), y = int(std::floor(v * image->height));
        if (wrap) {
            x = ((x % image->width) + image->width) % image->width;
            y = ((y % image->height) + image->height) % image->height;
        } else {
            x = std::clamp(x, 0, image->width - 1);
            y = std::clamp(y, 0, image->height - 1);
        }
        const uint8_t* p = image->at(x, y);
        return Rgba{p[2] / 255.0, p[1] / 255.0, p[0] / 255.0, p[3] / 255.0};
    }
};

struct Frame {
    std::vector<Rgba> pixels = std::vector<Rgba>(size_t(kBackdropWidth) * kBackdropHeight, Rgba{0, 0, 0, 1});
    Rgba& at(int x, int y) { return pixels[size_t(y) * kBackdropWidth + size_t(x)]; }
};

// Draws a textured rectangle rotated by angleDeg about (pivotX, pivotY)
// (screen units) into the frame, with texture coordinates u0..u1 across
// and v0..v1 down, blended by alpha or copied.
void drawSprite(Frame& frame, const Sampler& texture, const SceneObject& o, double u0, double u1, double v0,
                double v1, double angleDeg, double pivotX, double pivotY, double grey, bool blend) {
    const double w = o.width(), h = o.height();
    const double cx = (o.x0 + o.x1) / 2, cy = (o.y0 + o.y1) / 2;
    const double a = angleDeg * M_PI / 180, ca = std::cos(a), sa = std::sin(a);
    // Bounds: the rectangle's corners turned about the pivot.
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int k = 0; k < 4; ++k) {
        const double x = (k & 1 ? o.x1 : o.x0) - pivotX, y = (k & 2 ? o.y1 : o.y0) - pivotY;
        const double rx = pivotX + x * ca - y * sa, ry = pivotY + x * sa + y * ca;
        minX = std::min(minX, rx), maxX = std::max(maxX, rx), minY = std::min(minY, ry), maxY = std::max(maxY, ry);
    }
    const int px0 = std::max(0, int(std::floor(minX + 400))), px1 = std::min(kBackdropWidth, int(std::ceil(maxX + 400)));
    const int py0 = std::max(0, int(std::floor(300 - maxY))), py1 = std::min(kBackdropHeight, int(std::ceil(300 - minY)));
    for (int py = py0; py < py1; ++py)
        for (int px = px0; px < px1; ++px) {
            const double sx = px + 0.5 - 400 - pivotX, sy = 300 - (py + 0.5) - pivotY;
            // Undo the turn, then find the point in the unturned rectangle.
            const double lx = pivotX + sx * ca + sy * sa - cx, ly = pivotY - sx * sa + sy * ca - cy;
            const double fx = lx / w + 0.5, fy = 0.5 - ly / h;
            if (fx < 0 || fx >= 1 || fy < 0 || fy >= 1) continue;
            Rgba c = texture.at(u0 + fx * (u1 - u0), v0 + fy * (v1 - v0));
            c = {c.r * grey, c.g * grey, c.b * grey, c.a};
            Rgba& d = frame.at(px, py);
            d = blend ? blendOf(d, Rgba{c.r, c.g, c.b, 1}, c.a) : Rgba{c.r, c.g, c.b, 1};
        }
}

const Definition* definitionOf(const std::vector<Definition>& definitions, const std::string& name) {
    for (const Definition& d : definitions)
        if (d.name == name) return &d;
    return nullptr;
}

bool firstPass(const SceneObject& o) {
    const Kind k = kindOf(o.name);
    return k == Kind::Sky || k == Kind::Water || k == Kind::Waterfall || (k == Kind::Still && o.behind);
}

// The land at `clockMs` without spray puffs and with branches at rest;
// `blendFirstPass` chooses how skies, water and behind-objects are drawn.
Frame compose(const Scene& scene, const std::vector<Definition>& definitions, const SpriteBook& sprites,
              const Image& backdrop, double clockMs, bool blendFirstPass, bool withTopLayers = true) {
    Frame frame;
    auto texture = [&](const SceneObject& o) -> const Image* {
        const Definition* d = definitionOf(definitions, o.name);
        if (!d) return nullptr;
        const auto it = sprites.find(d->file);
        return it == sprites.end() ? nullptr : &it->second;
    };
    for (const SceneObject& o : scene.objects) {
        if (!firstPass(o)) continue;
        const Kind k = kindOf(o.name);
        const Image* image = texture(o);
        if (!image) continue;
        double u0 = 0, u1 = 1, v0 = 0, v1 = 1;
        if (k == Kind::Sky) {
            u0 = -0.000003 * clockMs;
            u1 = u0 + (o.width() / o.height()) * (double(image->height) / image->width);
        } else if (k == Kind::Water || k == Kind::Waterfall) {
            const double slow = k == Kind::Water ? 0.2 : 1;
            u0 = -o.paramX * clockMs * 0.00001 * slow;
            v0 = -o.paramY * clockMs * 0.00001 * slow;
            u1 = u0 + o.width() / image->width;
            v1 = v0 + o.height() / image->height;
        }
        if (o.mirrored) std::swap(u0, u1);
        drawSprite(frame, {image, k != Kind::Still}, o, u0, u1, v0, v1, o.angle, (o.x0 + o.x1) / 2,
                   (o.y0 + o.y1) / 2, 1, blendFirstPass);
    }
    for (int y = 0; y < kBackdropHeight; ++y)
        for (int x = 0; x < kBackdropWidth; ++x) {
            const uint8_t* p = backdrop.at(x, y);
            Rgba& d = frame.at(x, y);
            d = blendOf(d, Rgba{p[2] / 255.0, p[1] / 255.0, p[0] / 255.0, 1}, p[3] / 255.0);
        }
    if (!withTopLayers) return frame;
    for (const SceneObject& o : scene.objects) {
        const Kind k = kindOf(o.name);
        const Image* image = texture(o);
        if (!image) continue;
        if (k == Kind::Still && !o.behind) {
            drawSprite(frame, {image, false}, o, o.mirrored ? 1 : 0, o.mirrored ? 0 : 1, 0, 1, o.angle,
                       (o.x0 + o.x1) / 2, (o.y0 + o.y1) / 2, 1, true);
        }
    }
    for (const SceneObject& o : scene.objects) {
        if (kindOf(o.name) != Kind::Leaves) continue;
        const Image* image = texture(o);
        if (!image) continue;
        const double s = o.mirrored ? -1 : 1;
        const double grey = (255 - (int(std::hypot(o.paramX, o.paramY)) & 255)) / 255.0;
        drawSprite(frame, {image, false}, o, o.mirrored ? 1 : 0, o.mirrored ? 0 : 1, 0, 1, o.angle,
                   (o.x0 + o.x1) / 2 - o.width() / 2 * s, (o.y0 + o.y1) / 2, grey, true);
    }
    return frame;
}

double luminance(Rgba c) { return 255 * (0.299 * c.r + 0.587 * c.g + 0.114 * c.b); }

// ---------------------------------------------------------------------------
// Checks

struct CalmStats {
    double mean = 0, coreStd = 0, edgeStd = 0, topStd = 0, spot = 0;
};

struct Window {
    int x, y;
};

// `busy`, when given, receives the windows over their bound.
CalmStats measureCalm(Frame& frame, std::vector<Window>* busy = nullptr) {
    CalmStats stats;
    const int right = int(kBoardRight + 400);
    double total = 0;
    for (int y = 0; y < kBackdropHeight; ++y)
        for (int x = 0; x < right; ++x) total += luminance(frame.at(x, y));
    stats.mean = total / (double(right) * kBackdropHeight);
    for (int wy = 0; wy + kWindow <= kBackdropHeight; wy += kWindowStep)
        for (int wx = 0; wx + kWindow <= right; wx += kWindowStep) {
            double sum = 0, squares = 0;
            for (int y = wy; y < wy + kWindow; ++y)
                for (int x = wx; x < wx + kWindow; ++x) {
                    const double l = luminance(frame.at(x, y));
                    sum += l;
                    squares += l * l;
                }
            const double n = kWindow * kWindow, mean = sum / n;
            const double std = std::sqrt(std::max(0.0, squares / n - mean * mean));
            const bool top = wy < kTopBand;
            const bool edge = !top && (wx < kEdgeBand || wx + kWindow > right - kEdgeBand ||
                                       wy + kWindow > kBackdropHeight - kEdgeBand);
            double& worst = top ? stats.topStd : edge ? stats.edgeStd : stats.coreStd;
            worst = std::max(worst, std);
            const double bound = top ? kTopStdMax : edge ? kEdgeStdMax : kCoreStdMax;
            if (busy && (std > bound || mean > kSpotMax)) busy->push_back({wx, wy});
            stats.spot = std::max(stats.spot, mean);
        }
    return stats;
}

// An object's rectangle, turned by its angle about its centre.
struct Placed {
    double cx, cy, halfW, halfH, cosA, sinA;
    explicit Placed(const SceneObject& o)
        : cx((o.x0 + o.x1) / 2), cy((o.y0 + o.y1) / 2), halfW(o.width() / 2), halfH(o.height() / 2),
          cosA(std::cos(-o.angle * M_PI / 180)), sinA(std::sin(-o.angle * M_PI / 180)) {}
    bool contains(double sx, double sy, double margin) const {
        const double dx = sx - cx, dy = sy - cy;
        const double lx = dx * cosA - dy * sinA, ly = dx * sinA + dy * cosA;
        return std::fabs(lx) <= halfW + margin && std::fabs(ly) <= halfH + margin;
    }
};

void checkHoles(int land, const Scene& scene, const Image& backdrop) {
    const std::string where = "land " + std::to_string(land) + ": ";
    std::vector<int> shows(scene.objects.size(), 0);
    std::vector<std::pair<size_t, Placed>> first;
    for (size_t i = 0; i < scene.objects.size(); ++i)
        if (firstPass(scene.objects[i])) first.emplace_back(i, Placed(scene.objects[i]));
    for (int y = 0; y < kBackdropHeight; ++y)
        for (int x = 0; x < kBackdropWidth; ++x) {
            const int alpha = backdrop.at(x, y)[3];
            if (alpha >= 250) continue;
            const double sx = x + 0.5 - 400, sy = 300 - (y + 0.5);
            bool covered = false;
            for (const auto& [i, placed] : first) {
                if (placed.contains(sx, sy, 1)) covered = true;
                if (alpha < 128 && placed.contains(sx, sy, 0)) ++shows[i];
            }
            if (alpha < 250 && !covered)
                throw std::runtime_error(where + "the picture is transparent at pixel (" + std::to_string(x) + ", " +
                                         std::to_string(y) + ") where no sky, water or behind-object lies");
        }
    for (size_t i = 0; i < scene.objects.size(); ++i) {
        const SceneObject& o = scene.objects[i];
        if (firstPass(o) && shows[i] < std::min(150.0, o.width() * o.height() * 0.02))
            throw std::runtime_error(where + o.name + " (line " + std::to_string(o.line) +
                                     ") is hidden: the picture has no hole over it");
    }
}

void checkBlending(int land, const Frame& blended, const Frame& copied) {
    int differing = 0;
    for (size_t i = 0; i < blended.pixels.size(); ++i) {
        const Rgba a = blended.pixels[i], b = copied.pixels[i];
        const double d = std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)}) * 255;
        differing += d > 16;
    }
    if (differing > 100)
        throw std::runtime_error("land " + std::to_string(land) + ": " + std::to_string(differing) +
                                 " pixels change when the first pass is drawn without blending: a behind-object "
                                 "shows outside its silhouette");
}

void checkCalm(int land, const CalmStats& s) {
    std::ostringstream problem;
    if (s.coreStd > kCoreStdMax) problem << " busy middle (std " << s.coreStd << " > " << kCoreStdMax << ")";
    if (s.edgeStd > kEdgeStdMax) problem << " busy edge (std " << s.edgeStd << " > " << kEdgeStdMax << ")";
    if (s.topStd > kTopStdMax) problem << " busy top (std " << s.topStd << " > " << kTopStdMax << ")";
    if (s.spot > kSpotMax) problem << " bright spot (window mean " << s.spot << " > " << kSpotMax << ")";
    if (s.mean > kMeanMax) problem << " too bright (mean " << s.mean << " > " << kMeanMax << ")";
    if (!problem.str().empty())
        throw std::runtime_error("land " + std::to_string(land) + " behind the board:" + problem.str());
}

void checkScene(int land, const Scene& scene, const std::vector<Definition>& definitions) {
    for (const SceneObject& o : scene.objects) {
        const std::string where = "scene " + std::to_string(land) + " line " + std::to_string(o.line) + ": ";
        const Definition* d = definitionOf(definitions, o.name);
        if (!d) throw std::runtime_error(where + o.name + " is not defined in gameobjs.txt");
        const Kind k = kindOf(o.name);
        if (k == Kind::Leaves && std::hypot(o.paramX, o.paramY) >= 256)
            throw std::runtime_error(where + "a branch darkens by |param| 0..255 only");
        if (k == Kind::Leaves && !d->file.ends_with(".tga"))
            throw std::runtime_error(where + "a branch needs a picture with alpha (.tga)");
        if (firstPass(o) && d->file.find(".cgo") != std::string::npos)
            throw std::runtime_error(where + "a mesh set cannot be drawn in a scene");
    }
}

bool powerOfTwo(int n) { return n >= 2 && n <= 1024 && (n & (n - 1)) == 0; }

// A composite with a grid of pale rounded tiles where the board stands, for
// judging readability by eye (or without them).
Image previewWithTiles(Frame& frame, bool tiles = true, const std::vector<Window>& busy = {}) {
    Canvas canvas(kBackdropWidth, kBackdropHeight);
    Image image(kBackdropWidth, kBackdropHeight);
    for (int y = 0; y < kBackdropHeight; ++y)
        for (int x = 0; x < kBackdropWidth; ++x) {
            const Rgba c = frame.at(x, y);
            uint8_t* p = image.at(x, y);
            p[0] = uint8_t(std::lround(std::clamp(c.b, 0.0, 1.0) * 255));
            p[1] = uint8_t(std::lround(std::clamp(c.g, 0.0, 1.0) * 255));
            p[2] = uint8_t(std::lround(std::clamp(c.r, 0.0, 1.0) * 255));
            p[3] = 255;
        }
    cairo_surface_t* ground = cairo_image_surface_create_for_data(
        image.pixels.data(), CAIRO_FORMAT_ARGB32, kBackdropWidth, kBackdropHeight, kBackdropWidth * 4);
    cairo_t* cr = canvas.cr();
    cairo_set_source_surface(cr, ground, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(ground);
    for (const Window& w : busy) {
        cairo_rectangle(cr, w.x + 16, w.y + 16, 8, 8);
        setSource(cr, hex(0xFF0000));
        cairo_fill(cr);
    }
    if (!tiles) return canvas.toImage();
    const Rgba balls[] = {hex(0xD8342C), hex(0x2F7FD8), hex(0x3FAE3A), hex(0xF2C21B), hex(0x8E4BC8)};
    ArtRandom random(5);
    for (int row = 0; row < 15; ++row)
        for (int col = 0; col < 16; ++col) {
            // A board with a ragged outline, like the levels' shapes.
            if ((row < 2 || row > 12) && (col < 3 || col > 12)) continue;
            if ((row + col * 3) % 11 == 0) continue;
            const double x = 50 + col * 40, y = row * 40;
            paintGlossyPanel(cr, x + 2, y + 2, 36, 36, 9, hex(0xE8DCC4), 2);
            if (random.unit() < 0.3) paintGlossyBall(cr, x + 20, y + 20, 16, balls[random.below(5)]);
        }
    cairo_rectangle(cr, 700, 0, 100, 600);
    setSource(cr, hex(0x5A341C));
    cairo_fill(cr);
    return canvas.toImage();
}

}  // namespace
}  // namespace lands

// ---------------------------------------------------------------------------
// The generator

void generateLandscapes(Output& out) {
    using namespace lands;
    const auto folder = out.options().assetsDir / "scenes";
    const std::string definitionsText = readText(folder / "gameobjs.txt");
    const std::vector<Definition> definitions = parseDefinitions(definitionsText);
    std::vector<Scene> scenes;
    for (int i = 0; i < kSceneCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "land%02d.scene", i);
        scenes.push_back(parseScene(readText(folder / name), name));
        checkScene(i, scenes.back(), definitions);
    }
    if (encodeScene(scenes[kSceneCount - 1]) != encodeScene(scenes[kLastPaintedLand]))
        throw std::runtime_error("scene 15 must repeat scene 14: it shares its backdrop");

    const SpriteBook sprites = paintSprites();
    const MeshFiles meshes = buildMeshSet();
    std::set<std::string> files;
    for (const auto& [file, image] : sprites) {
        if (!powerOfTwo(image.width) || !powerOfTwo(image.height))
            throw std::runtime_error(file + ": sprite sizes must be powers of two");
        files.insert(file);
    }
    for (const auto& [file, bytes] : meshes.files) files.insert(file);
    for (const Definition& d : definitions)
        if (!files.count(d.file))
            throw std::runtime_error("gameobjs.txt: " + d.name + " names " + d.file + ", which is not made");

    // Paint and check the lands on two threads; each result lands in its own
    // slot, so the output does not depend on the threads' timing.
    std::vector<Bytes> encoded(kLastPaintedLand + 1);
    std::vector<std::string> errors(kLastPaintedLand + 1);
    std::vector<CalmStats> stats(kLastPaintedLand + 1);
    std::vector<Image> previews(kLastPaintedLand + 1), plainPreviews(kLastPaintedLand + 1);
    const bool wantPreviews = !out.options().previewDir.empty();
    std::atomic<int> next{0};
    auto work = [&] {
        for (int land; (land = next++) <= kLastPaintedLand;) {
            try {
                Image backdrop = paintBackdrop(land, scenes[size_t(land)], definitions, sprites);
                const Scene& scene = scenes[size_t(land)];
                Frame blended = compose(scene, definitions, sprites, backdrop, 0, true);
                const CalmStats s = measureCalm(blended);
                stats[size_t(land)] = s;
                if (wantPreviews) {
                    previews[size_t(land)] = previewWithTiles(blended);
                    std::vector<Window> busy;
                    measureCalm(blended, &busy);
                    plainPreviews[size_t(land)] = previewWithTiles(blended, false, land > 0 ? busy : std::vector<Window>{});
                }
                checkHoles(land, scene, backdrop);
                // Only a first-pass picture with alpha (a TGA) can look
                // different drawn without blending; JPEG skies and water
                // are opaque.
                const bool anyAlpha = std::any_of(scene.objects.begin(), scene.objects.end(), [&](const SceneObject& o) {
                    const Definition* d = definitionOf(definitions, o.name);
                    return firstPass(o) && d && d->file.ends_with(".tga");
                });
                if (anyAlpha)
                    checkBlending(land, compose(scene, definitions, sprites, backdrop, 0, true, false),
                                  compose(scene, definitions, sprites, backdrop, 0, false, false));
                if (land > 0) checkCalm(land, s);
                // Fully transparent pixels take the colour shown through them, so
                // that the JPEG has no hard edges to ring at.
                for (int y = 0; y < kBackdropHeight; ++y)
                    for (int x = 0; x < kBackdropWidth; ++x) {
                        uint8_t* p = backdrop.at(x, y);
                        if (p[3] != 0) continue;
                        const Rgba c = blended.at(x, y);
                        p[0] = uint8_t(std::lround(std::clamp(c.b, 0.0, 1.0) * 255));
                        p[1] = uint8_t(std::lround(std::clamp(c.g, 0.0, 1.0) * 255));
                        p[2] = uint8_t(std::lround(std::clamp(c.r, 0.0, 1.0) * 255));
                    }
                encoded[size_t(land)] = writeJpegWithAlpha(backdrop, 90);
            } catch (const std::exception& e) {
                errors[size_t(land)] = e.what();
            }
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    // The previews first, so that a land that fails its checks can be looked at.
    if (wantPreviews) {
        std::ostringstream text;
        for (int land = 0; land <= kLastPaintedLand; ++land) {
            char name[64];
            std::snprintf(name, sizeof name, "lands_composite_%02d.png", land);
            if (previews[size_t(land)].width > 0) {
                writeFile(out.options().previewDir / name, writePreviewPng(previews[size_t(land)]));
                std::snprintf(name, sizeof name, "lands_scene_%02d.png", land);
                writeFile(out.options().previewDir / name, writePreviewPng(plainPreviews[size_t(land)]));
            }
            const CalmStats& s = stats[size_t(land)];
            text << "land " << land << ": mean " << s.mean << " core std " << s.coreStd << " edge std "
                 << s.edgeStd << " top std " << s.topStd << " brightest window " << s.spot << "\n";
        }
        const std::string t = text.str();
        writeFile(out.options().previewDir / "lands_stats.txt", Bytes(t.begin(), t.end()));
    }
    std::string failures;
    for (const std::string& e : errors)
        if (!e.empty()) failures += (failures.empty() ? "" : "\n") + e;
    if (!failures.empty()) throw std::runtime_error(failures);

    out.addToPack("texts.dat", "gameobjs.txt",
                  normalizeLineEnds(Bytes(definitionsText.begin(), definitionsText.end())));
    for (const auto& [file, bytes] : meshes.files) out.addToPack("texts.dat", file, bytes);
    for (const auto& [file, image] : sprites)
        out.addToPack(file.ends_with(".tga") ? "targa.dat" : "jpeg.dat", file, encodeSprite(file, image));
    Bytes lastBackdrop;
    for (int i = 0; i < kSceneCount; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "animbacks/level%d.lev", i);
        out.writeLoose(name, encodeScene(scenes[size_t(i)]));
        if (i <= kLastPaintedLand) lastBackdrop = encoded[size_t(i)];
        std::snprintf(name, sizeof name, "animbacks/_a_back%d.jpg", i);
        out.writeLoose(name, lastBackdrop);
    }

}

}  // namespace datagen
