#include "game/play_textures.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "data/registry.h"
#include "gfx/texture.h"

namespace tessaly::game {

namespace {

// Whether the data set holds a picture, asked without loading it (the
// texture manager would count a missing optional picture as a miss). A TGA
// may come as its alpha companion "_a_name.jpg".
bool pictureExists(const std::string& name) {
    const std::string companion = "_a_" + name.substr(0, name.size() - 4) + ".jpg";
    for (const std::string& n : {name, companion}) {
        if (data::findDataEntry(n)) return true;
        std::error_code error;
        if (std::filesystem::exists(data::g_registry.loosePath(n), error)) return true;
    }
    return false;
}

}  // namespace

void loadPlayTextures() {
    PlayTextures& t = g_playTextures;
    for (int i = 0; i < kMaxColors; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "bal%.2i.tga", i);
        t.balls[size_t(i)] = gfx::loadTexture(name);
    }
    t.joker = gfx::loadTexture("jocker.tga");
    t.bomb = gfx::loadTexture("bomb.tga");
    t.superbomb = gfx::loadTexture("superbomb.tga");
    t.diamondFrames = 0;
    for (int i = 1; i <= kMaxDiamondFrames; ++i) {
        char name[24];
        std::snprintf(name, sizeof name, "diamond01%.2i.tga", i);
        if (i > 1 && !pictureExists(name)) break;  // the first frame is required
        t.diamond[size_t(t.diamondFrames++)] = gfx::loadTexture(name);
    }
    t.shadow = gfx::loadTexture("shadow.tga");
    t.chain = gfx::loadTexture("zep2.tga");
    t.floors = {gfx::loadTexture("field0.tga"), gfx::loadTexture("field1.tga"), gfx::loadTexture("field2.tga")};
    t.floorOverlays = {nullptr, gfx::loadTexture("field1a.tga"), gfx::loadTexture("field2a.tga")};
    t.cellHighlight = gfx::loadTexture("fieldspodsv.tga");
    t.panel = gfx::loadTexture("gamebar.tga");
    t.heart = gfx::loadTexture("heart.tga");
    t.levelBarFrame = gfx::loadTexture("levelbar1.tga");
    t.levelBarFill = gfx::loadTexture("levelbar2.tga");
    t.question = gfx::loadTexture("question.tga");
    t.sceneButtons = gfx::loadTexture("scenebuttons.tga");
    t.hammerIdle = gfx::loadTexture("molotok1.tga");
    t.hammerCharged = gfx::loadTexture("molotok2.tga");
    t.hammerGlow = gfx::loadTexture("hammer_lum.jpg");
    t.hammerCursor = gfx::loadTexture("cursorhammer.tga");
    t.gradient = gfx::loadTexture("gradient.jpg");
    t.flare = gfx::loadTexture("flare.jpg");
    t.backdrop = gfx::loadImageTexture("backdrop.jpg", 800, 600);
}

int diamondFrame(float clockMs, int frameCount) {
    if (frameCount <= 0 || clockMs < 0) return 0;
    return int(clockMs / kDiamondFrameMs) % frameCount;
}

const gfx::TextureEntry* pieceTexture(const PlayTextures& t, int kind, float clockMs) {
    if (isBallColour(kind)) return t.balls[size_t(kind)];
    switch (kind) {
        case kJoker: return t.joker;
        case kBomb: return t.bomb;
        case kSuperbomb: return t.superbomb;
        case kDiamond: return t.diamondFrames > 0 ? t.diamond[size_t(diamondFrame(clockMs, t.diamondFrames))] : nullptr;
        default: return nullptr;
    }
}

}  // namespace tessaly::game
