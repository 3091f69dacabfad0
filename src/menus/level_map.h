// The level map behind the three mode screens: a painted land with a winding
// path, fifteen treasures (artefacts) at the stage boundaries and seventy
// level marks along the path, and a miniature of the selected level's board.
//
// The path comes from "trajectory1.spl" (little-endian: int32 point count
// N, float32 usable length L, N points of two float32, then ten adjustment
// floats that are kept but unused). Consecutive points stand for 20 units of
// distance; every point is lifted by 30 on reading. A missing or malformed
// file leaves the path empty (a malformed one is said on stderr), so the
// marks stand off screen rather than anywhere wrong.
//
// Every position is computed once at loading. Step, then draw: the mode
// screen's step keeps the preview board in step with the selection; drawing
// only reads.
//
// Depends on: gfx (textures, sprites, text), the game's level files and
// board drawing (the preview), the data registry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/math.h"

namespace tessaly::gfx {
struct TextureEntry;
}

namespace tessaly::menus {

constexpr int kMaxPathPoints = 8192;        // 160,000 units of path; a longer file is refused
constexpr int kPathAdjustments = 10;
constexpr float kPathPointSpacing = 20.0f;  // units of distance between stored points
constexpr float kPathLift = 30.0f;          // added to every y on reading
constexpr int kMapStages = 14;
constexpr int kMapArtefacts = kMapStages + 1;
constexpr int kMapLevels = kMapStages * 5;
constexpr float kLevelMarkSize = 16.0f;
constexpr float kLevelMarkHitSize = 24.0f;  // the mark's widget, centred on it
constexpr float kArtefactSize = 64.0f;

struct SplinePath {
    std::array<base::Vec2, kMaxPathPoints> points{};
    int count = 0;
    float length = 0;  // usable length L
    std::array<float, kPathAdjustments> adjustments{};
};

// Reads a "trajectory1.spl" image into `path` (lifted by kPathLift). False,
// with the path untouched and the reason in `error`, for a file too short
// for its point count, more than kMaxPathPoints points, or values that are
// not finite.
bool parseSplinePath(const uint8_t* bytes, size_t size, SplinePath& path, std::string& error);

// The point at distance s along the path: (1000, 0) before its start,
// (-1000, 0) past its usable length (and everywhere on an empty path).
base::Vec2 pathPoint(const SplinePath& path, float s);

struct LevelMap {
    SplinePath path;
    std::array<base::Vec2, kMapArtefacts> artefacts{};
    std::array<base::Vec2, kMapLevels> marks{};
    std::array<float, kMapLevels> markAngles{};  // degrees, along the path
    gfx::TextureEntry* background = nullptr;
    gfx::TextureEntry* mark = nullptr;
    std::array<gfx::TextureEntry*, kMapArtefacts> artefactTextures{};
    int previewLevel = -1;      // the level the preview board holds; -1 none
    bool previewLoaded = false;
};

inline LevelMap g_levelMap;

// Artefact and level positions and angles from the path.
void placeOnPath(LevelMap& map);

// Start-up: the pictures, the path and the positions.
void loadLevelMap();

// What the map shows this frame.
struct MapView {
    float clockMs = 0;       // the menu screen's clock
    int progress = 0;        // the furthest open level in the mode
    bool fullyOpen = false;  // progress 69, or every level unlocked
    int selected = 0;        // the selected level
    int currentLevel = 0;    // the player's current level in the mode
};

// ARGB of level mark i, and its size.
uint32_t levelMarkArgb(const MapView& view, int level);
float levelMarkSize(const MapView& view, int level);
// True when artefact j is lit.
bool artefactLit(const MapView& view, int artefact);

// Keeps the preview board on the selected level (reads its file when the
// selection changed).
void stepLevelMap(int selectedLevel);
// The background, the artefacts, the marks and the preview.
void drawLevelMap(const MapView& view);

}  // namespace tessaly::menus
