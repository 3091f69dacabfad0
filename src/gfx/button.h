// The menu button: the three-part picture "button.tga" (left cap, a middle
// stretched to the width, right cap) behind a centred caption. The caps keep
// their square shape at the button's height; a button narrower than two caps
// squeezes them. A highlighted button draws its caption in the pulsing
// highlight colour with a glow band behind it.
//
// Used by the menus and by the tooltip balloon's continue button.
// Depends on: textures, drawing primitives, fonts, the animation clock.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/math.h"

namespace tessaly::gfx {

// Picture layout of "button.tga": the caps take this share of its width.
constexpr float kButtonCapShare = 0.25f;

// The pulsing menu colours at animation time clockMs (ARGB).
uint32_t highlightColor(float clockMs);
uint32_t glowColor(float clockMs);

// Draws the button centred at (x, y), caption centred at y - 0.15 x
// textSize, and returns its rectangle (y up).
base::Rect drawMenuButton(float x, float y, float width, float height, float textSize,
                        std::string_view caption, bool highlighted);

}  // namespace tessaly::gfx
