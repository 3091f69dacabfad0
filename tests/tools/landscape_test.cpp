// The living landscapes in the generated data set (Data/ next to the
// binaries), read back through the game's registry and picture decoders:
// the definitions and scene files parse the way the game reads them and
// name only what exists, every backdrop's holes lie exactly over the
// objects drawn under it, the area behind the board stays calm enough for
// pale tiles and glossy balls, moving sprites tile seamlessly, branches
// hang from their hinge, and the mesh set's files hold together.
//
// The composite here is written independently of the generator's: the
// game's first pass (skies, water, waterfalls, behind-objects) at clock 0,
// the backdrop over it, still objects and branches (at rest) on top.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gfx/texture.h"
#include "tools/data_set_fixture.h"

namespace tessaly {
namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Definition {
    std::string name, file;
};

// gameobjs.txt as the game reads it: "[group/]", name=file entries up to a
// blank or comma, "[/" closes a group; anything before a "[" is ignored.
std::vector<Definition> parseDefinitions(const std::string& text) {
    std::vector<Definition> out;
    size_t p = 0;
    auto blank = [&](size_t i) { return i < text.size() && uint8_t(text[i]) <= ' '; };
    while ((p = text.find('[', p)) != std::string::npos) {
        const size_t slash = text.find('/', p);
        if (slash == std::string::npos) break;
        p = slash + 2;
        while (true) {
            while (blank(p)) ++p;
            if (p >= text.size() || text.compare(p, 2, "[/") == 0) break;
            const size_t equals = text.find('=', p);
            if (equals == std::string::npos) return out;
            Definition d{text.substr(p, equals - p), ""};
            p = equals + 1;
            while (blank(p)) ++p;
            const size_t start = p;
            while (p < text.size() && !blank(p) && text[p] != ',') ++p;
            d.file = text.substr(start, p - start);
            out.push_back(d);
        }
        while (p < text.size() && !blank(p)) ++p;
    }
    return out;
}

struct Object {
    std::string name;
    float x0, y0, x1, y1, angle, paramX, paramY;
    bool mirrored;
    int32_t behind;
};

float floatAt(const std::string& bytes, size_t at) {
    float f;
    std::memcpy(&f, bytes.data() + at, 4);
    return f;
}
int32_t intAt(const std::string& bytes, size_t at) {
    int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

enum class Kind { Sky, Waterfall, Water, Spray, Leaves, Still };
Kind kindOf(const std::string& name) {
    for (auto [word, kind] : {std::pair{"sky", Kind::Sky}, {"waterfall", Kind::Waterfall}, {"water", Kind::Water},
                              {"spray", Kind::Spray}, {"leaves", Kind::Leaves}})
        if (name.find(word) != std::string::npos) return kind;
    return Kind::Still;
}
bool firstPass(const Object& o) {
    const Kind k = kindOf(o.name);
    return k == Kind::Sky || k == Kind::Water || k == Kind::Waterfall || (k == Kind::Still && o.behind);
}

struct Rgb {
    double r = 0, g = 0, b = 0;
};

class Landscapes : public test::GeneratedDataSet {
protected:
    void SetUp() override {
        GeneratedDataSet::SetUp();
        for (const Definition& d : parseDefinitions(block("gameobjs.txt"))) m_files[d.name] = d.file;
    }

    std::vector<Object> scene(int index) {
        char name[64];
        std::snprintf(name, sizeof name, "animbacks/level%d.lev", index);
        const std::string bytes = block(name);
        std::vector<Object> objects;
        if (bytes.size() < 68) return objects;
        const int32_t count = intAt(bytes, 64);
        if (count < 0 || bytes.size() != 68 + size_t(count) * 65) return objects;
        for (int i = 0; i < count; ++i) {
            const size_t at = 68 + size_t(i) * 65;
            Object o;
            o.name.assign(bytes.data() + at, strnlen(bytes.data() + at, 32));
            o.x0 = floatAt(bytes, at + 32), o.y0 = floatAt(bytes, at + 36);
            o.x1 = floatAt(bytes, at + 40), o.y1 = floatAt(bytes, at + 44);
            o.angle = floatAt(bytes, at + 48);
            o.paramX = floatAt(bytes, at + 52), o.paramY = floatAt(bytes, at + 56);
            o.mirrored = bytes[at + 60] != 0;
            o.behind = intAt(bytes, at + 61);
            objects.push_back(o);
        }
        return objects;
    }

    // The backdrop with its alpha part applied.
    gfx::Image backdrop(int index) {
        char name[64];
        std::snprintf(name, sizeof name, "animbacks/_a_back%d.jpg", index);
        const std::string bytes = block(name);
        gfx::Image image;
        size_t end = 0;
        for (size_t i = 0; i + 1 < bytes.size(); ++i)
            if (uint8_t(bytes[i]) == 0xFF && uint8_t(bytes[i + 1]) == 0xD9) {
                end = i + 2;
                break;
            }
        if (!end || !gfx::decodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), int(end), image)) return {};
        const size_t texels = size_t(image.width) * size_t(image.height);
        if (bytes.size() - end != texels) return {};
        for (size_t k = 0; k < texels; ++k) image.pixels[k * 4 + 3] = uint8_t(bytes[end + k]);
        return image;
    }

    const gfx::Image& sprite(const std::string& definition) {
        const std::string& file = m_files[definition];
        auto it = m_sprites.find(file);
        if (it == m_sprites.end()) it = m_sprites.emplace(file, picture(file)).first;
        return it->second;
    }

    // The land at clock 0, as the game's two passes and its branches draw it.
    std::vector<Rgb> compose(const std::vector<Object>& objects, const gfx::Image& back, bool blendFirstPass) {
        std::vector<Rgb> frame(size_t(kWidth) * kHeight);
        auto draw = [&](const Object& o, double u0, double u1, double v0, double v1, double pivotX, double pivotY,
                        double grey, bool wrap, bool blend) {
            const gfx::Image& t = sprite(o.name);
            if (t.width == 0) return;
            const double w = o.x1 - o.x0, h = o.y1 - o.y0, cx = (o.x0 + o.x1) / 2, cy = (o.y0 + o.y1) / 2;
            const double a = o.angle * M_PI / 180, ca = std::cos(a), sa = std::sin(a);
            for (int py = 0; py < kHeight; ++py)
                for (int px = 0; px < kWidth; ++px) {
                    const double sx = px + 0.5 - 400 - pivotX, sy = 300 - (py + 0.5) - pivotY;
                    const double lx = pivotX + sx * ca + sy * sa - cx, ly = pivotY - sx * sa + sy * ca - cy;
                    const double fx = lx / w + 0.5, fy = 0.5 - ly / h;
                    if (fx < 0 || fx >= 1 || fy < 0 || fy >= 1) continue;
                    double u = u0 + fx * (u1 - u0), v = v0 + fy * (v1 - v0);
                    int tx = int(std::floor(u * t.width)), ty = int(std::floor(v * t.height));
                    if (wrap) {
                        tx = ((tx % t.width) + t.width) % t.width;
                        ty = ((ty % t.height) + t.height) % t.height;
                    } else {
                        tx = std::clamp(tx, 0, t.width - 1);
                        ty = std::clamp(ty, 0, t.height - 1);
                    }
                    const uint8_t* p = &t.pixels[(size_t(ty) * size_t(t.width) + size_t(tx)) * 4];
                    const double alpha = blend ? p[3] / 255.0 : 1;
                    Rgb& d = frame[size_t(py) * kWidth + size_t(px)];
                    d = {d.r + (p[2] * grey / 255 - d.r) * alpha, d.g + (p[1] * grey / 255 - d.g) * alpha,
                         d.b + (p[0] * grey / 255 - d.b) * alpha};
                }
        };
        for (const Object& o : objects) {
            if (!firstPass(o)) continue;
            const gfx::Image& t = sprite(o.name);
            const Kind k = kindOf(o.name);
            double u0 = 0, u1 = 1;
            double v1 = 1;
            if (k == Kind::Sky) u1 = (o.x1 - o.x0) / (o.y1 - o.y0) * t.height / std::max(1, t.width);
            if (k == Kind::Water || k == Kind::Waterfall) {
                u1 = (o.x1 - o.x0) / std::max(1, t.width);
                v1 = (o.y1 - o.y0) / std::max(1, t.height);
            }
            if (o.mirrored) std::swap(u0, u1);
            draw(o, u0, u1, 0, v1, (o.x0 + o.x1) / 2, (o.y0 + o.y1) / 2, 1, k != Kind::Still, blendFirstPass);
        }
        for (size_t i = 0; i < frame.size(); ++i) {
            const uint8_t* p = &back.pixels[i * 4];
            const double a = p[3] / 255.0;
            Rgb& d = frame[i];
            d = {d.r + (p[2] / 255.0 - d.r) * a, d.g + (p[1] / 255.0 - d.g) * a, d.b + (p[0] / 255.0 - d.b) * a};
        }
        for (const Object& o : objects)
            if (kindOf(o.name) == Kind::Still && !o.behind)
                draw(o, o.mirrored, !o.mirrored, 0, 1, (o.x0 + o.x1) / 2, (o.y0 + o.y1) / 2, 1, false, true);
        for (const Object& o : objects) {
            if (kindOf(o.name) != Kind::Leaves) continue;
            const double grey = (255 - (int(std::hypot(o.paramX, o.paramY)) & 255)) / 255.0;
            const double hinge = o.mirrored ? o.x1 : o.x0;
            draw(o, o.mirrored, !o.mirrored, 0, 1, hinge, (o.y0 + o.y1) / 2, grey, false, true);
        }
        return frame;
    }

    std::map<std::string, std::string> m_files;      // definition name -> file
    std::map<std::string, gfx::Image> m_sprites;     // file -> picture
};

TEST_F(Landscapes, DefinitionsAndScenesNameOnlyWhatTheDataSetHolds) {
    const std::string text = block("gameobjs.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(packed("gameobjs.txt")) << "read once at start-up: belongs in texts.dat";
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "line ends must be CR LF";
        }
    ASSERT_GT(m_files.size(), 10u);
    for (const auto& [name, file] : m_files) {
        EXPECT_LE(name.size(), 31u) << name;
        EXPECT_FALSE(block(file).empty()) << name << " names " << file << ", which the data set lacks";
    }
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE("scene " + std::to_string(i));
        const std::vector<Object> objects = scene(i);
        ASSERT_FALSE(objects.empty()) << "missing, malformed, or a count that disagrees with the size";
        EXPECT_LE(objects.size(), 128u);
        for (const Object& o : objects) {
            EXPECT_TRUE(m_files.count(o.name)) << o.name << " is not defined";
            EXPECT_LE(o.name.size(), 31u);
            // Positive spans keep the game's texture spans and puff rate finite.
            EXPECT_GT(o.x1, o.x0) << o.name;
            EXPECT_GT(o.y1, o.y0) << o.name;
            if (kindOf(o.name) == Kind::Leaves) {
                EXPECT_LT(std::hypot(o.paramX, o.paramY), 256) << o.name;
            }
        }
        if (i >= 1) {
            EXPECT_TRUE(std::any_of(objects.begin(), objects.end(), firstPass)) << "nothing shows through";
        }
    }
    EXPECT_EQ(block("animbacks/level15.lev"), block("animbacks/level14.lev"));
    EXPECT_EQ(block("animbacks/_a_back15.jpg"), block("animbacks/_a_back14.jpg"));
}

TEST_F(Landscapes, HolesLieOverTheObjectsDrawnUnderThePicture) {
    for (int land = 0; land < 15; ++land) {
        SCOPED_TRACE("land " + std::to_string(land));
        const std::vector<Object> objects = scene(land);
        const gfx::Image back = backdrop(land);
        ASSERT_EQ(back.width, kWidth);
        ASSERT_EQ(back.height, kHeight);
        std::vector<int> shows(objects.size(), 0);
        int uncovered = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int alpha = back.pixels[(size_t(y) * kWidth + size_t(x)) * 4 + 3];
                if (alpha >= 250) continue;
                const double sx = x + 0.5 - 400, sy = 300 - (y + 0.5);
                bool covered = false;
                for (size_t i = 0; i < objects.size(); ++i) {
                    const Object& o = objects[i];
                    if (!firstPass(o)) continue;
                    const bool in = sx >= o.x0 - 1 && sx <= o.x1 + 1 && sy >= o.y0 - 1 && sy <= o.y1 + 1;
                    covered |= in;
                    if (in && alpha < 128) ++shows[i];
                }
                uncovered += !covered;
            }
        EXPECT_EQ(uncovered, 0) << "transparent where nothing is drawn under the picture";
        for (size_t i = 0; i < objects.size(); ++i)
            if (firstPass(objects[i])) {
                EXPECT_GT(shows[i], 100) << objects[i].name << " never shows through";
            }
        // Drawn with or without blending, a behind-object must look the same:
        // the picture covers its rectangle outside the silhouette.
        const std::vector<Rgb> blended = compose(objects, back, true), copied = compose(objects, back, false);
        int differing = 0;
        for (size_t i = 0; i < blended.size(); ++i)
            differing += std::max({std::fabs(blended[i].r - copied[i].r), std::fabs(blended[i].g - copied[i].g),
                                   std::fabs(blended[i].b - copied[i].b)}) * 255 > 16;
        EXPECT_LE(differing, 100);
    }
}

TEST_F(Landscapes, TheAreaBehindTheBoardStaysCalmAndDarkerThanThePaleTiles) {
    // Pale tiles are about 205..230 in luminance. In 40 x 40 windows over
    // x -400..300 the composite's luminance may vary by a standard deviation
    // of 18 in the middle, 40 near the left and bottom edges and 64 along the
    // top (branches, the moon); no window may average above 185, the whole
    // area not above 150.
    for (int land = 1; land < 15; ++land) {
        SCOPED_TRACE("land " + std::to_string(land));
        const std::vector<Rgb> frame = compose(scene(land), backdrop(land), true);
        auto lum = [&](int x, int y) {
            const Rgb& c = frame[size_t(y) * kWidth + size_t(x)];
            return 255 * (0.299 * c.r + 0.587 * c.g + 0.114 * c.b);
        };
        double total = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < 700; ++x) total += lum(x, y);
        EXPECT_LE(total / (700.0 * kHeight), 150);
        for (int wy = 0; wy + 40 <= kHeight; wy += 20)
            for (int wx = 0; wx + 40 <= 700; wx += 20) {
                double sum = 0, squares = 0;
                for (int y = wy; y < wy + 40; ++y)
                    for (int x = wx; x < wx + 40; ++x) sum += lum(x, y), squares += lum(x, y) * lum(x, y);
                const double mean = sum / 1600, std = std::sqrt(std::max(0.0, squares / 1600 - mean * mean));
                const bool top = wy < 110, edge = wx < 50 || wx + 40 > 650 || wy + 40 > 550;
                // A small slack for the JPEG's noise.
                const double bound = (top ? 64 : edge ? 40 : 18) + 1.5;
                EXPECT_LE(std, bound) << "window at pixel " << wx << ", " << wy;
                EXPECT_LE(mean, 186) << "bright window at pixel " << wx << ", " << wy;
            }
    }
}

TEST_F(Landscapes, MovingSpritesTileSeamlesslyAndBranchesHangFromTheirHinge) {
    // How much the mean difference across the wrap-around seam exceeds twice
    // the mean difference between neighbouring texels inside, in sums of the
    // three channels: 4 is about one level per channel, below what shows.
    auto seam = [](const gfx::Image& t, bool across) {
        const int n = across ? t.height : t.width, m = across ? t.width : t.height;
        auto at = [&](int i, int j) {
            const int x = across ? j : i, y = across ? i : j;
            const uint8_t* p = &t.pixels[(size_t(y) * size_t(t.width) + size_t(x)) * 4];
            return double(p[0] + p[1] + p[2]);
        };
        double seamSum = 0, insideSum = 0;
        for (int i = 0; i < n; ++i) {
            seamSum += std::fabs(at(i, m - 1) - at(i, 0));
            insideSum += std::fabs(at(i, m / 2) - at(i, m / 2 - 1));
        }
        return (seamSum - 2 * insideSum) / n;
    };
    for (const auto& [name, file] : m_files) {
        if (file.find(".cgo") != std::string::npos) continue;
        SCOPED_TRACE(name);
        const gfx::Image& t = sprite(name);
        ASSERT_GT(t.width, 0);
        EXPECT_EQ(gfx::nextPowerOfTwo(t.width), t.width);
        EXPECT_EQ(gfx::nextPowerOfTwo(t.height), t.height);
        switch (kindOf(name)) {
        case Kind::Sky:
            EXPECT_LT(seam(t, true), 4) << "the drift shows a seam";
            break;
        case Kind::Water:
        case Kind::Waterfall:
            EXPECT_LT(seam(t, true), 4) << "seam across the flow";
            EXPECT_LT(seam(t, false), 4) << "seam along the flow";
            break;
        case Kind::Spray:
            EXPECT_LE(test::brightestEdge(t), 6) << "added onto the screen: black at its edges";
            break;
        case Kind::Leaves: {
            auto alpha = [&](int x, int y) { return t.pixels[(size_t(y) * size_t(t.width) + size_t(x)) * 4 + 3]; };
            EXPECT_GT(alpha(1, t.height / 2), 128) << "the stem starts at the middle of the left edge";
            EXPECT_EQ(alpha(0, 0), 0);
            EXPECT_EQ(alpha(0, t.height - 1), 0);
            break;
        }
        case Kind::Still:
            break;
        }
    }
}

TEST_F(Landscapes, MeshSetReadsBackWithOutwardFacesAndSplitSeams) {
    const auto definition = std::find_if(m_files.begin(), m_files.end(),
                                         [](const auto& d) { return d.second.ends_with(".cgo"); });
    ASSERT_NE(definition, m_files.end()) << "gameobjs.txt names no mesh set";
    const std::string set = block(definition->second);
    auto key = [&](const std::string& k) {
        const size_t at = set.find(k);
        if (at == std::string::npos) return std::string();
        return set.substr(at + k.size(), set.find('\r', at) - at - k.size());
    };
    ASSERT_EQ(key("nummeshes="), "2");
    ASSERT_EQ(key("numbounds="), "2");
    bool sawFlat = false, sawSmooth = false;
    for (int m = 0; m < 2; ++m) {
        const std::string name = key("mesh" + std::to_string(m) + "=");
        SCOPED_TRACE(name);
        EXPECT_FALSE(block(key("texture" + std::to_string(m) + "=")).empty());
        const std::string mesh = block(name);
        ASSERT_GE(mesh.size(), 37u);
        const int32_t v = intAt(mesh, 29), f = intAt(mesh, 33);
        ASSERT_GT(v, 0);
        ASSERT_GT(f, 0);
        // The coordinates stand at 37 + 12 V + 24 F; the block before them
        // repeats their first half, so reading them straight after the
        // indices gives the same values.
        ASSERT_EQ(mesh.size(), 37 + 12 * size_t(v) + 48 * size_t(f));
        const size_t indices = 37 + 12 * size_t(v), late = indices + 24 * size_t(f), early = indices + 12 * size_t(f);
        EXPECT_EQ(mesh.compare(early, 24 * size_t(f), mesh, late, 24 * size_t(f)), 0);
        std::vector<std::array<float, 3>> points(static_cast<size_t>(v));
        for (int i = 0; i < v; ++i)
            for (int c = 0; c < 3; ++c) points[size_t(i)][size_t(c)] = floatAt(mesh, 37 + size_t(i) * 12 + size_t(c) * 4);
        std::set<std::pair<int, std::pair<float, float>>> corners;  // vertex, (u, v)
        for (int t = 0; t < f; ++t) {
            int idx[3];
            for (int c = 0; c < 3; ++c) {
                idx[c] = intAt(mesh, indices + size_t(t) * 12 + size_t(c) * 4);
                ASSERT_GE(idx[c], 0);
                ASSERT_LT(idx[c], v);
                const size_t uv = late + (size_t(t) * 3 + size_t(c)) * 8;
                const float u = floatAt(mesh, uv), vv = floatAt(mesh, uv + 4);
                EXPECT_GE(u, 0.f);
                EXPECT_LE(u, 1.f);
                corners.insert({idx[c], {u, vv}});
            }
            // The loader's face normal, cross(c2 - c0, c1 - c0), points away
            // from the middle of the mesh.
            const auto& a = points[size_t(idx[0])];
            const auto& b = points[size_t(idx[1])];
            const auto& c = points[size_t(idx[2])];
            const double e1[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]}, e2[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
            EXPECT_GT(n[0] * (a[0] + b[0] + c[0]) + n[1] * (a[1] + b[1] + c[1]) + n[2] * (a[2] + b[2] + c[2]), 0)
                << "triangle " << t;
        }
        if (mesh[3]) {
            sawSmooth = true;
            // Splitting at texture seams must make more vertices than the file holds.
            EXPECT_GT(corners.size(), size_t(v)) << "no texture seam to split";
        } else {
            sawFlat = true;
        }
    }
    EXPECT_TRUE(sawFlat);
    EXPECT_TRUE(sawSmooth);
}

}  // namespace
}  // namespace tessaly
