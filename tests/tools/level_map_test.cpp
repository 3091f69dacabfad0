// The level map in the generated data set (Data/ next to the binaries):
// the trail file read back the way the mode screens read it, with every
// treasure and level mark placed by the screens' own rule and checked
// against the screen areas the mode screen draws over; the map picture
// checked for a trail exactly where the file runs and calm ground under
// those areas; the mark and the treasures checked for what their tinting
// and turning need.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/texture.h"
#include "tools/data_set_fixture.h"

namespace tessaly {
namespace {

struct Point {
    double x = 0, y = 0;  // menu units, y up
};

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The trail as the mode screens hold it: every point lifted by 30 on
// reading, positions along it by the screens' rule.
struct Trail {
    std::vector<Point> points;
    double length = 0;

    Point at(double s) const {
        if (s < 0) return {1000, 0};
        if (s > length) return {-1000, 0};
        const int i = int(s / 20);
        if (i > int(points.size()) - 2) return points.back();
        const double f = s / 20 - i;
        const Point a = points[size_t(i)], b = points[size_t(i) + 1];
        return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
    }
    double stage() const { return length / 14; }
    Point artefact(int j) const { return at(j == 14 ? stage() * 14 - 0.1 : stage() * j); }
    double markDistance(int i) const {
        const double a = stage();
        return a * (i / 5) + 33 + (i % 5 + 0.5) * (a - 66) / 5;
    }
    Point mark(int i) const { return at(markDistance(i) - 2); }
    double markAngle(int i) const {
        const Point p = mark(i), q = at(markDistance(i) + 2);
        return std::atan2(q.y - p.y, q.x - p.x);
    }
};

float floatAt(const std::string& bytes, size_t at) {
    float v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

std::string describe(const char* what, int index, Point p) {
    char text[80];
    std::snprintf(text, sizeof text, "%s %d at (%.1f, %.1f)", what, index, p.x, p.y);
    return text;
}

// The screen areas the mode screen draws over, in menu units.
struct Area {
    const char* what;
    double left, bottom, right, top;
    bool contains(Point p) const { return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top; }
};
constexpr Area kCovered[] = {
    {"the start button", 215, -285, 385, -213},
    {"the mode name", -95, -278, 95, -222},
    {"the level preview", 225, 135, 400, 300},
};

class LevelMap : public test::GeneratedDataSet {
protected:
    void SetUp() override {
        test::GeneratedDataSet::SetUp();
        m_file = block("trajectory1.spl");
        ASSERT_GE(m_file.size(), 8u) << "trajectory1.spl missing or truncated";
        int32_t count;
        std::memcpy(&count, m_file.data(), 4);
        m_count = count;
        ASSERT_GE(count, 2);
        ASSERT_EQ(m_file.size(), 8 + size_t(count) * 8 + 10 * 4)
            << "N points and ten adjustment values";
        m_trail.length = floatAt(m_file, 4);
        for (int i = 0; i < count; ++i)
            m_trail.points.push_back({floatAt(m_file, 8 + size_t(i) * 8),
                                      double(floatAt(m_file, 12 + size_t(i) * 8) + 30.f)});
    }

    std::string m_file;
    int m_count = 0;
    Trail m_trail;
};

TEST_F(LevelMap, TrailPointsStandTwentyUnitsApartAndCoverTheUsableLength) {
    EXPECT_TRUE(packed("trajectory1.spl")) << "read once at start-up";
    for (size_t i = 1; i < m_trail.points.size(); ++i)
        EXPECT_NEAR(distance(m_trail.points[i - 1], m_trail.points[i]), 20, 0.01) << "step " << i;
    // Every distance up to L lies on the stored points, and the stages are
    // long enough for five marks apart from each other.
    EXPECT_LE(m_trail.length, 20.0 * (m_count - 1));
    EXPECT_GE(m_trail.length, 2700);
    EXPECT_GT(m_trail.at(m_trail.length - 0.1).x, -1000);
}

TEST_F(LevelMap, MarksAndTreasuresStayOnScreenAndClearOfTheModeScreensControls) {
    for (int j = 0; j < 15; ++j) {
        const Point p = m_trail.artefact(j);
        SCOPED_TRACE(describe("treasure", j + 1, p));
        EXPECT_TRUE(p.x >= -365 && p.x <= 365 && p.y >= -265 && p.y <= 265) << "a 64-unit picture must fit";
        for (const Area& area : kCovered) EXPECT_FALSE(area.contains(p)) << "under " << area.what;
    }
    for (int i = 0; i < 70; ++i) {
        const Point p = m_trail.mark(i);
        SCOPED_TRACE(describe("mark", i + 1, p));
        EXPECT_TRUE(p.x >= -385 && p.x <= 385 && p.y >= -285 && p.y <= 285) << "a 32-unit mark must fit";
        for (const Area& area : kCovered) EXPECT_FALSE(area.contains(p)) << "under " << area.what;
        // Marks never crowd one another (also where the trail passes close
        // to an earlier stretch) and never sit on a treasure.
        for (int k = i + 1; k < 70; ++k)
            EXPECT_GE(distance(p, m_trail.mark(k)), 24) << "crowds mark " << k + 1;
        for (int j = 0; j < 15; ++j)
            EXPECT_GE(distance(p, m_trail.artefact(j)), 38) << "on treasure " << j + 1;
    }
}

double pixelLuminance(const gfx::Image& image, int px, int py) {
    px = std::clamp(px, 0, image.width - 1);
    py = std::clamp(py, 0, image.height - 1);
    const uint8_t* p = &image.pixels[(size_t(py) * size_t(image.width) + size_t(px)) * 4];
    return 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
}

// The map picture: pixel (x + 400, 300 - y) for menu point (x, y).
double luminance(const gfx::Image& image, double x, double y) {
    return pixelLuminance(image, int(std::lround(x + 400)), int(std::lround(300 - y)));
}

TEST_F(LevelMap, TrailIsPaintedExactlyWhereTheFileRunsIt) {
    const gfx::Image map = picture("menumap.jpg");
    ASSERT_EQ(map.width, 800);
    ASSERT_EQ(map.height, 600);
    EXPECT_TRUE(packed("menumap.jpg"));
    // How much lighter the trail's middle is than the ground beside it,
    // measured along the trail moved by (dx, dy): high where it is painted,
    // low a trail's width away (for example without the lift of 30).
    auto contrast = [&](double dx, double dy) {
        double sum = 0;
        int count = 0;
        for (double s = 0; s < m_trail.length; s += 5) {
            const Point p = m_trail.at(s), q = m_trail.at(std::min(m_trail.length, s + 2));
            const double len = std::max(1e-6, distance(p, q));
            const double nx = -(q.y - p.y) / len * 18, ny = (q.x - p.x) / len * 18;
            const double middle = luminance(map, p.x + dx, p.y + dy);
            const double beside = (luminance(map, p.x + dx + nx, p.y + dy + ny) +
                                   luminance(map, p.x + dx - nx, p.y + dy - ny)) / 2;
            sum += middle - beside;
            ++count;
        }
        return sum / count;
    };
    const double onTrail = contrast(0, 0);
    EXPECT_GT(onTrail, 20);
    // Moved across the runs of the trail (they run mostly left and right).
    for (const double dy : {30.0, -30.0, 12.0, -12.0})
        EXPECT_LT(contrast(0, dy), onTrail / 2) << "moved by " << dy;
}

TEST_F(LevelMap, GroundStaysCalmUnderTheModeScreensControls) {
    const gfx::Image map = picture("menumap.jpg");
    ASSERT_EQ(map.width, 800);
    // Busyness: the mean step in luminance between neighbouring pixels.
    auto busyness = [&](int left, int top, int right, int bottom) {
        double sum = 0;
        int count = 0;
        for (int y = top; y < bottom - 1; ++y) {
            for (int x = left; x < right - 1; ++x) {
                const double l = pixelLuminance(map, x, y);
                sum += std::fabs(pixelLuminance(map, x + 1, y) - l) +
                       std::fabs(pixelLuminance(map, x, y + 1) - l);
                count += 2;
            }
        }
        return sum / count;
    };
    const double whole = busyness(0, 0, 800, 600);
    for (const Area& area : kCovered) {
        const double here = busyness(int(area.left + 400), int(300 - area.top),
                                     int(std::min(area.right + 400, 800.0)), int(300 - area.bottom));
        EXPECT_LT(here, whole * 0.8) << area.what;
    }
}

uint8_t alphaAt(const gfx::Image& image, int x, int y) {
    return image.pixels[(size_t(y) * size_t(image.width) + size_t(x)) * 4 + 3];
}

TEST_F(LevelMap, MarkIsALightShapePointingRightThatTakesItsTint) {
    const gfx::Image mark = picture("levelmark.tga");
    ASSERT_EQ(mark.width, 64);
    ASSERT_EQ(mark.height, 64);
    EXPECT_TRUE(packed("levelmark.tga"));
    int body = 0, coloured = 0, border = 0, back = 64, front = 0;
    double light = 0;
    std::vector<int> height(64, 0);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = &mark.pixels[(size_t(y) * 64 + size_t(x)) * 4];
            if (x < 2 || y < 2 || x >= 62 || y >= 62) border += p[3] > 0;
            if (p[3] < 250) continue;
            ++body;
            light += (p[0] + p[1] + p[2]) / 3.0;
            coloured += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 8;
            back = std::min(back, x);
            front = std::max(front, x);
            ++height[size_t(x)];
        }
    }
    EXPECT_EQ(border, 0) << "the turned square must not show its edge";
    EXPECT_GT(body, 64 * 64 / 5) << "about the central 40 pixels";
    EXPECT_EQ(coloured, 0) << "grey only, so the tint decides the colour";
    EXPECT_GT(light / std::max(body, 1), 190) << "light, so the tint stays bright";
    // Broad at the back, narrow towards the front: the picture's +x is the
    // direction of travel.
    const int quarter = (front - back) / 4;
    EXPECT_GT(height[size_t(back + quarter)], height[size_t(front - quarter)] * 1.3);
}

TEST_F(LevelMap, TreasuresAreFifteenDistinctSilhouettesClearAtTheirEdges) {
    std::vector<std::vector<bool>> shapes;
    for (int j = 1; j <= 15; ++j) {
        char name[24];
        std::snprintf(name, sizeof name, "artefact%d.tga", j);
        SCOPED_TRACE(name);
        EXPECT_TRUE(packed(name));
        const gfx::Image art = picture(name);
        ASSERT_TRUE(art.width == 64 || art.width == 128);
        ASSERT_EQ(art.height, art.width);
        const int n = art.width, edge = n / 32;
        int solid = 0, border = 0;
        std::vector<bool> shape(size_t(n) * size_t(n));
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const uint8_t a = alphaAt(art, x, y);
                if (x < edge || y < edge || x >= n - edge || y >= n - edge) border += a > 0;
                solid += a == 255;
                shape[size_t(y) * size_t(n) + size_t(x)] = a > 128;
            }
        }
        EXPECT_EQ(border, 0) << "the drop shadow stays inside the picture";
        EXPECT_GT(solid, n * n / 10) << "reads at 64 units";
        // Resampled to 64 x 64, so both sizes compare.
        std::vector<bool> small(64 * 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) small[size_t(y) * 64 + size_t(x)] = shape[size_t(y * n / 64) * size_t(n) + size_t(x * n / 64)];
        shapes.push_back(small);
    }
    // Not yet earned they are faint pale silhouettes: each outline its own.
    for (size_t i = 0; i < shapes.size(); ++i) {
        for (size_t k = i + 1; k < shapes.size(); ++k) {
            int differ = 0, either = 0;
            for (size_t p = 0; p < shapes[i].size(); ++p) {
                differ += shapes[i][p] != shapes[k][p];
                either += shapes[i][p] || shapes[k][p];
            }
            EXPECT_GT(differ, either / 5) << "treasures " << i + 1 << " and " << k + 1;
        }
    }
}

}  // namespace
}  // namespace tessaly
