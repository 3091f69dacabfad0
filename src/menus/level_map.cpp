#include "menus/level_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/byte_io.h"
#include "data/registry.h"
#include "game/board_view.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/play_textures.h"
#include "game/play_view.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "platform/device.h"

namespace tessaly::menus {

namespace {

constexpr size_t kPathHeaderBytes = 8;
constexpr base::Vec2 kPreviewCentre = {314, 205};
constexpr float kPreviewScale = 0.2f;
constexpr base::Vec2 kPreviewNumber = {270, 275};

// The board the preview shows; a record of its own so that the running
// game is never touched.
game::GameState g_previewGame;

float readFloat(const uint8_t* at) {
    base::ByteReader in{at};
    float f = 0;
    in.f32(f);
    return f;
}

// The mark's shimmer: now and then a wave runs along the path.
float shimmer(const MapView& view, int level) {
    const float wave = std::sin(0.001f * view.clockMs);
    const float w = wave > 0.7f ? (wave - 0.7f) / 0.3f : 0.0f;
    return (1 + std::sin(0.005f * view.clockMs - 0.2f * float(level))) * 0.5f * w;
}

bool levelOpen(const MapView& view, int level) { return view.fullyOpen || level <= view.progress; }

}  // namespace

bool parseSplinePath(const uint8_t* bytes, size_t size, SplinePath& path, std::string& error) {
    if (!bytes || size < kPathHeaderBytes) {
        error = "shorter than its header";
        return false;
    }
    base::ByteReader header{bytes};
    int32_t count = 0;
    header.i32(count);
    const float length = readFloat(bytes + 4);
    if (count < 0 || count > kMaxPathPoints) {
        error = "point count " + std::to_string(count) + " out of range";
        return false;
    }
    const size_t pointBytes = size_t(count) * 8;
    if (size < kPathHeaderBytes + pointBytes) {
        error = "shorter than its " + std::to_string(count) + " points";
        return false;
    }
    if (!std::isfinite(length)) {
        error = "the length is not a number";
        return false;
    }
    SplinePath read;
    read.count = count;
    read.length = length;
    const uint8_t* at = bytes + kPathHeaderBytes;
    for (int i = 0; i < count; ++i, at += 8) {
        const base::Vec2 p = {readFloat(at), readFloat(at + 4) + kPathLift};
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            error = "point " + std::to_string(i) + " is not a number";
            return false;
        }
        read.points[size_t(i)] = p;
    }
    // The adjustment values are kept as far as the file has them.
    const size_t rest = size - kPathHeaderBytes - pointBytes;
    for (size_t k = 0; k < size_t(kPathAdjustments) && (k + 1) * 4 <= rest; ++k)
        read.adjustments[k] = readFloat(at + 4 * k);
    path = read;
    return true;
}

base::Vec2 pathPoint(const SplinePath& path, float s) {
    if (s < 0) return {1000, 0};
    if (s > path.length || path.count == 0) return {-1000, 0};
    // A usable length far past the stored points (a damaged file) or a
    // position that is no number stays on the last point: the step index is
    // only made once it is known to name a segment.
    const float steps = s / kPathPointSpacing;
    if (!(steps < float(path.count - 1))) return path.points[size_t(path.count - 1)];
    const int i = int(steps);
    const float k = steps - float(i);
    const base::Vec2 a = path.points[size_t(i)], b = path.points[size_t(i + 1)];
    return a + (b - a) * k;
}

void placeOnPath(LevelMap& map) {
    const SplinePath& path = map.path;
    const float stage = path.length / float(kMapStages);
    for (int j = 0; j < kMapArtefacts; ++j)
        map.artefacts[size_t(j)] = pathPoint(path, j == kMapStages ? stage * float(j) - 0.1f : stage * float(j));
    for (int i = 0; i < kMapLevels; ++i) {
        const int s = i / 5, k = i % 5;
        const float b = stage * float(s) + 33 + (float(k) + 0.5f) * (stage - 66) / 5;
        const base::Vec2 p = pathPoint(path, b - 2);
        const base::Vec2 d = pathPoint(path, b + 2) - p;
        map.marks[size_t(i)] = p;
        map.markAngles[size_t(i)] = std::atan2(d.y, d.x) * 180.0f / base::kPi;
    }
}

void loadLevelMap() {
    LevelMap& map = g_levelMap;
    map.background = gfx::loadImageTexture("menumap.jpg", 800, 600);
    map.mark = gfx::loadTexture("levelmark.tga", false);
    for (int j = 0; j < kMapArtefacts; ++j) {
        char name[32];
        std::snprintf(name, sizeof name, "artefact%i.tga", j + 1);
        map.artefactTextures[size_t(j)] = gfx::loadTexture(name, false);
    }
    map.path = SplinePath{};
    int32_t size = 0;
    if (uint8_t* bytes = data::g_registry.load("trajectory1.spl", &size, false)) {
        std::string error;
        if (!parseSplinePath(bytes, size_t(std::max(0, size)), map.path, error))
            std::fprintf(stderr, "trajectory1.spl: %s; the level map has no path\n", error.c_str());
        data::g_registry.release(bytes);
    }
    placeOnPath(map);
    map.previewLevel = -1;
    map.previewLoaded = false;
}

uint32_t levelMarkArgb(const MapView& view, int level) {
    const float g = shimmer(view, level);
    if (level == view.selected) {
        const float c = (1 + std::sin(0.01f * view.clockMs)) / 2;
        return base::clampedArgb(int(255 - 200 * c), int(255 * c), 0, 255);
    }
    if (!levelOpen(view, level)) return base::clampedArgb(255, 255, 155, int(100 + 155 * g));
    return base::clampedArgb(255, int(55 + 185 * g), 55, 255);
}

float levelMarkSize(const MapView& view, int level) {
    if (level == view.selected && level != view.currentLevel)
        return kLevelMarkSize + 2.5f * std::sin(0.03f * view.clockMs);
    return kLevelMarkSize;
}

bool artefactLit(const MapView& view, int artefact) {
    const int limit = view.fullyOpen ? kMapStages : view.progress / 5;
    return artefact <= limit;
}

void stepLevelMap(int selectedLevel) {
    LevelMap& map = g_levelMap;
    const int level = std::clamp(selectedLevel, 0, kMapLevels - 1);
    if (level == map.previewLevel) return;
    map.previewLevel = level;
    game::GameState& preview = g_previewGame;
    preview = game::GameState{};
    map.previewLoaded = game::loadLevel(preview, level);
    if (!map.previewLoaded) return;
    // A still miniature: every cell at its full size.
    for (auto& column : preview.board.cells)
        for (game::Cell& cell : column) cell.scale = 1;
}

void drawLevelMap(const MapView& view) {
    const LevelMap& map = g_levelMap;
    gfx::begin2D();
    if (map.background) {
        gfx::setBlendMode(2);
        gfx::setTexture(map.background);
        gfx::drawRect(-400, 300, 400, -300, 0, 0, 800.0f / 1024, 600.0f / 1024, 0xFFFFFFFFu, 100);
    }
    gfx::setBlendMode(0);
    for (int j = 0; j < kMapArtefacts; ++j) {
        if (!map.artefactTextures[size_t(j)]) continue;
        const base::Vec2 p = map.artefacts[size_t(j)];
        gfx::setTexture(map.artefactTextures[size_t(j)]);
        const uint32_t argb = artefactLit(view, j) ? 0xFFFFFFFFu : base::clampedArgb(255, 255, 155, 100);
        gfx::drawSprite(p.x, p.y, 0, kArtefactSize, kArtefactSize, 0, 0, 1, 1, argb, 1);
    }
    if (map.mark) {
        gfx::setTexture(map.mark);
        for (int i = 0; i < kMapLevels; ++i) {
            const base::Vec2 p = map.marks[size_t(i)];
            const float size = 2 * levelMarkSize(view, i);
            gfx::drawSprite(p.x, p.y, map.markAngles[size_t(i)], size, size, 0, 0, 1, 1, levelMarkArgb(view, i), 1);
        }
    }
    if (!map.previewLoaded) return;

    // The selected level's board in miniature, in a frame of its own.
    platform::Device* device = gfx::g_draw.device;
    base::Matrix frame = base::Matrix::identity();
    frame.m[0][0] = frame.m[1][1] = kPreviewScale;
    frame.m[3][0] = kPreviewCentre.x;
    frame.m[3][1] = kPreviewCentre.y;
    const base::Matrix previous = device->transform(platform::TransformKind::World);
    device->setTransform(platform::TransformKind::World, frame);
    static const game::PlayView stillView{};
    game::drawBoard(stillView, g_previewGame, game::g_playTextures);
    device->setTransform(platform::TransformKind::World, previous);
    gfx::begin2D();

    char number[16];
    std::snprintf(number, sizeof number, "%i", view.selected + 1);
    gfx::drawText(kPreviewNumber.x, kPreviewNumber.y, 12, number);
}

}  // namespace tessaly::menus
