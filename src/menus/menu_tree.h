// The menu tree: every screen outside the board is a node, read at start-up
// from "menu.txt" (which items each screen lists) and "menutext.txt" (the
// text shown for every node, and the credits).
//
// Both files are found by first-substring searches for "name=", so the data
// must never let a key appear earlier in a file as the tail of a longer key.
// The loader refuses data that breaks the table's limits, naming the file.
//
// Depends on: the data registry (file access), the fatal load path.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessaly::menus {

struct MenuNode;

// Draws a screen that is not a plain list (the main menu, options, ...).
using ScreenHook = void (*)(MenuNode& screen);

inline constexpr int kMaxMenuNodes = 256;     // more nodes: the load stops with a message
inline constexpr int kMaxMenuChildren = 16;   // more items on a screen: the load stops
inline constexpr int kMenuNameSize = 64;      // 63 characters and the NUL
inline constexpr int kMaxCreditLines = 64;    // more lines: the load stops
inline constexpr int kCreditLineSize = 64;

struct MenuNode {
    char name[kMenuNameSize] = {};
    char text[kMenuNameSize] = {};
    MenuNode* parent = nullptr;  // first lister; the screen flow overwrites it
    MenuNode* children[kMaxMenuChildren] = {};
    std::uint32_t childCount = 0;
    ScreenHook hook = nullptr;
};

// The hooks the loader attaches (null leaves the default list drawing).
struct MenuHooks {
    ScreenHook main = nullptr;
    ScreenHook levelSelect = nullptr;   // "mode1".."mode3"
    ScreenHook options = nullptr;
    ScreenHook hiscore = nullptr;
    ScreenHook credits = nullptr;
    ScreenHook profiles = nullptr;
    ScreenHook nameEntry = nullptr;     // "newprofile", "rename"
    ScreenHook messageBox = nullptr;    // "messageboxok", "messageboxyn"
    ScreenHook loadGameQuest = nullptr;
    ScreenHook levelComplete = nullptr;
    ScreenHook defeat = nullptr;        // "defeat", "gameover"
    ScreenHook help = nullptr;          // "helpscreen"
};

struct MenuTree {
    MenuNode nodes[kMaxMenuNodes];
    int count = 0;
    char credits[kMaxCreditLines][kCreditLineSize] = {};
    int creditCount = 0;
};

inline MenuTree g_menuTree;

// Builds the tree from the two files (through the data registry: pack first,
// then the plain file). A missing file or data past a limit stops the
// program through the fatal load path with a message naming the file.
void loadMenu(const MenuHooks& hooks);

// The same from texts in memory (each must end with a byte that may be lost,
// as the files do); returns false and fills `error` instead of stopping.
bool buildMenuTree(MenuTree& tree, std::string_view menuText, std::string_view textsText,
                   const MenuHooks& hooks, char* error, int errorSize);

// Exact, case-sensitive lookup in creation order; null when absent.
MenuNode* findNode(std::string_view name);
MenuNode* findNode(MenuTree& tree, std::string_view name);

// Position of a child by name on a screen, -1 when absent.
int childIndex(const MenuNode& screen, std::string_view childName);

}  // namespace tessaly::menus
