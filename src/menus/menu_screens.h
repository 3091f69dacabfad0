// The screen hooks and the clocks some of them keep.
//
// Depends on: the menu runtime.
#pragma once

#include "menus/menu_tree.h"

namespace tessaly::menus {

// The credits' line height: the line i sits at creditsScroll(p) - 40 i.
float creditsScroll(float scrollMs);
void stepCredits(float dtMs);

// The result and record screens.
void levelCompleteHook(MenuNode& screen);
void hiscoreHook(MenuNode& screen);
// The "levelcomplete" count, once per frame while it is shown.
void stepLevelComplete(float dtMs);

}  // namespace tessaly::menus
