// The living landscapes behind the board and the menus, shared by the
// landscape generators:
//  - lands_scene.cpp: the authored sources (assets/scenes/): the object
//    definitions "gameobjs.txt" and one scene source per land, read,
//    checked and packed into "animbacks/level%i.lev"; the small mesh set;
//  - lands_sprites.cpp: the sprite textures the definitions name (drifting
//    skies, flowing water and waterfall tiles, the spray puff, swaying
//    branches, the distant things seen through the picture's holes);
//  - lands_paint.cpp: the backdrop pictures "animbacks/_a_back%i.jpg",
//    painted around the scene so that their transparent holes sit exactly
//    where the scene's sky, water, waterfalls and behind-objects are;
//  - lands_gen.cpp: the generator itself, the composite the game will show
//    (for the checks and the previews) and the checks.
//
// Scene coordinates are the game's centred screen units: x -400..400 left to
// right, y -300..300 bottom to top. A rectangle is written x0 y0 x1 y1 with
// (x0, y0) its lower left and (x1, y1) its upper right corner, so widths and
// heights, and with them the texture spans the game derives, are positive.
// The top row of a sprite's picture is drawn at the top of its rectangle.
//
// How the game draws an object follows from its definition's name (tested
// in this order): "sky" drifts left, "waterfall" and "water" flow (texture
// tiled at one texel per unit, param = speed), "spray" puffs additively,
// "leaves" sway about the hinge at the left end of the picture (the right
// end when mirrored; |param| darkens), anything else is a still sprite,
// drawn under the picture (seen through its holes) when behind is set, over
// it otherwise.
//
// Depends on paint.h and image_io.h.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "datagen.h"
#include "image_io.h"
#include "paint.h"

namespace datagen::lands {

constexpr int kSceneCount = 16;       // level%i.lev and _a_back%i.jpg, 0..15
constexpr int kLastPaintedLand = 14;  // scene 15 repeats scene 14
constexpr int kBackdropWidth = 800;   // pixels, one per screen unit
constexpr int kBackdropHeight = 600;

// Bounds of the game's tables.
constexpr size_t kMaxSceneObjects = 128;  // scene objects per scene
constexpr size_t kMaxDefinitions = 512;   // lines of gameobjs.txt
constexpr size_t kMaxGroups = 32;         // groups of gameobjs.txt
constexpr size_t kMaxNameLength = 31;     // names in both files (32-byte fields)
constexpr size_t kSceneHeaderBytes = 64;  // text at the start of a .lev file
constexpr size_t kSceneRecordBytes = 65;

// The board (x -400..300 for the checks) and the panel on its right.
constexpr double kBoardRight = 300;

// ---------------------------------------------------------------------------
// Definitions and scenes

enum class Kind { Sky, Waterfall, Water, Spray, Leaves, Still };
Kind kindOf(std::string_view definitionName);

struct Definition {
    std::string group;
    std::string name;
    std::string file;
};

// Reads gameobjs.txt the way the game does (groups "[name/]", lines
// name=file, "[/name]") and refuses what the game would misread or cut: a
// name or group longer than 31 characters, a definition outside a group, an
// empty file name, a name defined twice, more definitions or groups than
// the game holds. Throws std::runtime_error naming the line.
std::vector<Definition> parseDefinitions(const std::string& text);

struct SceneObject {
    std::string name;            // a definition of gameobjs.txt
    double x0, y0, x1, y1;       // lower left and upper right corner, screen units
    double angle;                // degrees
    double paramX, paramY;       // flow speed (water kinds), darkening (leaves)
    bool mirrored;
    bool behind;
    int line;                    // in the source, for messages

    double width() const { return x1 - x0; }
    double height() const { return y1 - y0; }
};

struct Scene {
    std::string title;  // goes into the file's 64-byte text
    std::vector<SceneObject> objects;
};

// The scene source format (explained by the comment atop every source): one
// object a line,
//   name x0 y0 x1 y1 angle paramX paramY mirrored behind
// blank lines and lines starting with '#' skipped, one "title ..." line.
// Throws std::runtime_error on a malformed line, an inverted rectangle, a
// name longer than 31 characters or more than 128 objects.
Scene parseScene(const std::string& text, const std::string& sourceName);
// The binary level%i.lev: 64-byte text, int32 count, 65-byte records.
Bytes encodeScene(const Scene& scene);

// ---------------------------------------------------------------------------
// Sprites

// Pictures by file name, as painted (before encoding).
using SpriteBook = std::map<std::string, Image>;

// Paints every sprite texture of the landscapes, keyed by file name.
SpriteBook paintSprites();
// The encoded file of a sprite (TGA or JPEG by its extension).
Bytes encodeSprite(const std::string& file, const Image& image);

// ---------------------------------------------------------------------------
// Backdrops

// The backdrop of one land (0..14): 800 x 600, transparent where the scene's
// first-pass objects (sky, water, waterfalls, behind-objects) show through.
Image paintBackdrop(int land, const Scene& scene, const std::vector<Definition>& definitions,
                    const SpriteBook& sprites);

// ---------------------------------------------------------------------------
// Mesh set

struct MeshFiles {
    std::string setName;  // the ".cgo" file
    std::vector<std::pair<std::string, Bytes>> files;  // the set, its meshes
};
MeshFiles buildMeshSet();

}  // namespace datagen::lands
