// The pictures of the gameplay screen, loaded once at start-up with the other
// gameplay resources: the pieces and their shadow, the floor tiles and
// square overlays, the panel and its sprites, the hammer, the cursors, the
// fade gradient, the bolt glow and the backdrop behind the board.
//
// The diamond turns through frames "diamond0101.tga", "diamond0102.tga", ...
// loaded from 1 until a frame is missing (at most kMaxDiamondFrames) and
// shown kDiamondFrameMs each by the piece's clock.
//
// Depends on: the texture manager (every picture here is required: a
// missing one stops the program with the loading error), the data registry.
#pragma once

#include <array>

#include "game/board.h"

namespace tessaly::gfx {
struct TextureEntry;
}

namespace tessaly::game {

constexpr int kMaxDiamondFrames = 64;     // far more than the art needs; frames past it are not loaded
constexpr float kDiamondFrameMs = 70.0f;  // one diamond frame, ms

struct PlayTextures {
    std::array<gfx::TextureEntry*, kMaxColors> balls{};
    gfx::TextureEntry* joker = nullptr;
    gfx::TextureEntry* bomb = nullptr;
    gfx::TextureEntry* superbomb = nullptr;
    std::array<gfx::TextureEntry*, kMaxDiamondFrames> diamond{};
    int diamondFrames = 0;
    gfx::TextureEntry* shadow = nullptr;
    gfx::TextureEntry* chain = nullptr;          // "zep2.tga"
    std::array<gfx::TextureEntry*, 3> floors{};  // plain floor, square 1, square 2
    std::array<gfx::TextureEntry*, 3> floorOverlays{};  // none, square 1, square 2
    gfx::TextureEntry* cellHighlight = nullptr;  // "fieldspodsv.tga"
    gfx::TextureEntry* panel = nullptr;          // "gamebar.tga"
    gfx::TextureEntry* heart = nullptr;
    gfx::TextureEntry* levelBarFrame = nullptr;
    gfx::TextureEntry* levelBarFill = nullptr;
    gfx::TextureEntry* question = nullptr;
    gfx::TextureEntry* sceneButtons = nullptr;
    gfx::TextureEntry* hammerIdle = nullptr;     // "molotok1.tga"
    gfx::TextureEntry* hammerCharged = nullptr;  // "molotok2.tga"
    gfx::TextureEntry* hammerGlow = nullptr;     // "hammer_lum.jpg", additive
    gfx::TextureEntry* hammerCursor = nullptr;
    gfx::TextureEntry* gradient = nullptr;
    gfx::TextureEntry* flare = nullptr;          // the bolts' glow
    gfx::TextureEntry* backdrop = nullptr;       // 800 x 600 in a 1024 x 1024 texture
};

inline PlayTextures g_playTextures;

// Loads every picture into g_playTextures.
void loadPlayTextures();

// The picture of a piece code (diamonds by their clock); null for codes
// that have none.
const gfx::TextureEntry* pieceTexture(const PlayTextures& t, int kind, float clockMs);
// Diamond frame 0..frameCount-1 at a piece clock.
int diamondFrame(float clockMs, int frameCount);

}  // namespace tessaly::game
