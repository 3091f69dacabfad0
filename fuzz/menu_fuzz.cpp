// "menu.txt" and "menutext.txt": the input holds the two texts separated by
// the first NUL byte; the tree is built from them.
#include <memory>

#include "fuzz_support.h"
#include "menus/menu_tree.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto tree = std::make_unique<menus::MenuTree>();
    fuzz::Input in(data, size);
    const std::string_view menu = in.until(0);
    const std::string_view texts = in.rest();
    char error[256];
    if (menus::buildMenuTree(*tree, menu, texts, menus::MenuHooks{}, error, int(sizeof error))) {
        (void)menus::findNode(*tree, "main");
    }
    return 0;
}
