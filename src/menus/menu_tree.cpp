#include "menus/menu_tree.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "data/registry.h"
#include "data/text.h"
#include "platform/window.h"

namespace tessaly::menus {

namespace {

constexpr const char* kMenuFile = "menu.txt";
constexpr const char* kTextsFile = "menutext.txt";
constexpr std::string_view kCreditsOpen = "[credits/]";
constexpr std::string_view kCreditsClose = "[/credits]";
constexpr std::string_view kLineEnd = "\r\n";

// One build: the two texts (each without its last byte, which the file
// format gives up for the terminator), the tree being filled and the first
// error met. Every read goes through std::string_view, so nothing past the
// given bytes is ever touched.
struct Builder {
    MenuTree& tree;
    std::string_view menu;
    std::string_view texts;
    char* error;
    int errorSize;
    bool failed = false;

    bool fail(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        if (failed) return false;
        failed = true;
        if (error && errorSize > 0) {
            va_list args;
            va_start(args, format);
            std::vsnprintf(error, size_t(errorSize), format, args);
            va_end(args);
        }
        return false;
    }

    // Position of the first "name=" in a text, or npos. A plain substring
    // search: the data keeps every key from standing earlier as the tail of
    // a longer key.
    static size_t findKey(std::string_view text, std::string_view name) {
        char key[kMenuNameSize + 1];
        std::memcpy(key, name.data(), name.size());
        key[name.size()] = '=';
        return text.find(std::string_view(key, name.size() + 1));
    }

    MenuNode* build(std::string_view name, MenuNode* parent) {
        if (MenuNode* existing = findNode(tree, name)) return existing;
        if (name.size() > size_t(kMenuNameSize - 1)) {
            fail("%s: the name \"%.*s...\" is longer than %d characters", kMenuFile, 40,
                 name.data(), kMenuNameSize - 1);
            return nullptr;
        }
        if (tree.count >= kMaxMenuNodes) {
            fail("%s: more than %d menu nodes (at \"%.*s\")", kMenuFile, kMaxMenuNodes,
                 int(name.size()), name.data());
            return nullptr;
        }

        MenuNode& node = tree.nodes[tree.count++];
        node = MenuNode{};
        std::memcpy(node.name, name.data(), name.size());
        node.parent = parent;

        // The display text: the rest of the line after "name=".
        if (const size_t key = findKey(texts, name); key != std::string_view::npos) {
            const size_t start = key + name.size() + 1;
            const size_t end = std::min(texts.find('\r', start), texts.size());
            if (end - start > size_t(kMenuNameSize - 1)) {
                fail("%s: the text of \"%s\" is longer than %d characters", kTextsFile, node.name,
                     kMenuNameSize - 1);
                return nullptr;
            }
            std::memcpy(node.text, texts.data() + start, end - start);
        }

        // The child list: after the key line, one name a line up to an
        // empty line.
        const size_t key = findKey(menu, name);
        if (key == std::string_view::npos) return &node;
        size_t line = key + name.size() + 1 + kLineEnd.size();
        while (true) {
            if (line >= menu.size()) {
                fail("%s: the list of \"%s\" is not closed by an empty line", kMenuFile, node.name);
                return nullptr;
            }
            if (menu[line] == '\r') break;
            const size_t end = menu.find('\r', line);
            if (end == std::string_view::npos) {
                fail("%s: the list of \"%s\" runs off the end of the file", kMenuFile, node.name);
                return nullptr;
            }
            if (node.childCount >= std::uint32_t(kMaxMenuChildren)) {
                fail("%s: \"%s\" lists more than %d items", kMenuFile, node.name, kMaxMenuChildren);
                return nullptr;
            }
            MenuNode* child = build(menu.substr(line, end - line), &node);
            if (!child) return nullptr;
            node.children[node.childCount++] = child;
            line = end + kLineEnd.size();
        }
        return &node;
    }

    // A node every flow relies on, built here if no screen lists it.
    MenuNode* fixed(std::string_view name, ScreenHook hook) {
        MenuNode* node = build(name, nullptr);
        if (node) node->hook = hook;
        return node;
    }

    // A node that must have come from the tree under "main".
    bool required(std::string_view name, ScreenHook hook) {
        MenuNode* node = findNode(tree, name);
        if (!node)
            return fail("%s: \"%.*s\" is not in the menu tree", kMenuFile, int(name.size()),
                        name.data());
        node->hook = hook;
        return true;
    }

    // True when the text at `at` begins with `marker`.
    bool startsAt(size_t at, std::string_view marker) const {
        return at <= texts.size() && texts.substr(at).starts_with(marker);
    }

    // The lines between "[credits/]" and the "[/credits]" that begins a
    // line; the empty lines right after the opening marker are skipped. No
    // block, or a block with nothing but empty lines, leaves the credits
    // empty rather than taking the closing marker for a line.
    bool readCredits() {
        size_t at = texts.find(kCreditsOpen);
        if (at == std::string_view::npos) return true;
        at += kCreditsOpen.size();
        while (startsAt(at, kLineEnd)) at += kLineEnd.size();
        while (!startsAt(at, kCreditsClose)) {
            const size_t end = texts.find('\r', at);
            if (end == std::string_view::npos)
                return fail("%s: the credits are not closed by a line \"[/credits]\"", kTextsFile);
            if (tree.creditCount >= kMaxCreditLines)
                return fail("%s: more than %d credit lines", kTextsFile, kMaxCreditLines);
            if (end - at > size_t(kCreditLineSize - 1))
                return fail("%s: credit line %d is longer than %d characters", kTextsFile,
                            tree.creditCount + 1, kCreditLineSize - 1);
            std::memcpy(tree.credits[tree.creditCount++], texts.data() + at, end - at);
            at = end + kLineEnd.size();
        }
        return true;
    }

    bool run(const MenuHooks& hooks) {
        MenuNode* main = build("main", nullptr);
        if (!main) return false;
        main->hook = hooks.main;
        // The first item of "main" stays in the tree but leaves the list.
        if (main->childCount > 0) {
            for (std::uint32_t i = 1; i < main->childCount; ++i)
                main->children[i - 1] = main->children[i];
            main->children[--main->childCount] = nullptr;
        }

        if (!fixed("loadgamequest", hooks.loadGameQuest) || !fixed("newprofile", hooks.nameEntry) ||
            !fixed("rename", hooks.nameEntry) || !fixed("helpscreen", hooks.help))
            return false;
        MenuNode* profiles = fixed("profiles", hooks.profiles);
        if (!profiles) return false;
        profiles->parent = main;
        if (!fixed("levelcomplete", hooks.levelComplete) ||
            !fixed("messageboxok", hooks.messageBox) || !fixed("messageboxyn", hooks.messageBox) ||
            !fixed("gameplay", nullptr) || !fixed("defeat", hooks.defeat) ||
            !fixed("gameover", hooks.defeat))
            return false;

        if (!required("options", hooks.options) || !required("hiscore", hooks.hiscore) ||
            !required("credits", hooks.credits) || !required("mode1", hooks.levelSelect) ||
            !required("mode2", hooks.levelSelect) || !required("mode3", hooks.levelSelect))
            return false;
        return readCredits();
    }
};

// The text of a file image without its last byte.
std::string_view withoutLastByte(std::string_view file) {
    return file.empty() ? file : file.substr(0, file.size() - 1);
}

}  // namespace

bool buildMenuTree(MenuTree& tree, std::string_view menuText, std::string_view textsText,
                   const MenuHooks& hooks, char* error, int errorSize) {
    if (error && errorSize > 0) error[0] = '\0';
    tree.count = 0;
    tree.creditCount = 0;
    std::memset(tree.credits, 0, sizeof tree.credits);
    Builder builder{tree, withoutLastByte(menuText), withoutLastByte(textsText), error, errorSize};
    if (builder.run(hooks)) return true;
    // A refused data set leaves no half-built tree behind.
    tree.count = 0;
    tree.creditCount = 0;
    return false;
}

void loadMenu(const MenuHooks& hooks) {
    int32_t menuSize = 0;
    int32_t textsSize = 0;
    const uint8_t* menu = data::loadDataFile(kMenuFile, &menuSize, true);
    // The texts in the language chosen at start-up ("menutext_ru.txt"...).
    const uint8_t* texts = data::loadDataFile(data::localizedName(kTextsFile), &textsSize, true);
    char error[256];
    const bool built = buildMenuTree(
        g_menuTree, std::string_view(reinterpret_cast<const char*>(menu), size_t(menuSize)),
        std::string_view(reinterpret_cast<const char*>(texts), size_t(textsSize)), hooks, error,
        int(sizeof error));
    data::releaseDataEntry(menu);
    data::releaseDataEntry(texts);
    if (!built) platform::fatalError(error, "Loading Error", 1);
}

MenuNode* findNode(std::string_view name) { return findNode(g_menuTree, name); }

MenuNode* findNode(MenuTree& tree, std::string_view name) {
    for (int i = 0; i < tree.count; ++i)
        if (std::string_view(tree.nodes[i].name) == name) return &tree.nodes[i];
    return nullptr;
}

int childIndex(const MenuNode& screen, std::string_view childName) {
    for (std::uint32_t i = 0; i < screen.childCount && i < std::uint32_t(kMaxMenuChildren); ++i)
        if (screen.children[i] && std::string_view(screen.children[i]->name) == childName)
            return int(i);
    return -1;
}

}  // namespace tessaly::menus
