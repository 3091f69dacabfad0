#include "menus/menu_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/registry.h"
#include "support/test_support.h"
#include "tools/data_set_fixture.h"

namespace tessaly::menus {
namespace {

// Hooks that tell each other apart: every one has its own counter, so no
// two share a body the linker could fold into one address.
int g_hookCalls[12];
template <int N>
void hook(MenuNode&) {
    ++g_hookCalls[N];
}

MenuHooks distinctHooks() {
    MenuHooks h;
    h.main = hook<0>;
    h.levelSelect = hook<1>;
    h.options = hook<2>;
    h.hiscore = hook<3>;
    h.credits = hook<4>;
    h.profiles = hook<5>;
    h.nameEntry = hook<6>;
    h.messageBox = hook<7>;
    h.loadGameQuest = hook<8>;
    h.levelComplete = hook<9>;
    h.defeat = hook<10>;
    h.help = hook<11>;
    return h;
}

std::vector<std::string> childNames(const MenuNode& node) {
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < node.childCount; ++i) names.emplace_back(node.children[i]->name);
    return names;
}

struct Built {
    std::unique_ptr<MenuTree> tree = std::make_unique<MenuTree>();
    bool ok = false;
    char error[256] = {};

    MenuNode* node(std::string_view name) { return findNode(*tree, name); }
};

Built build(std::string_view menu, std::string_view texts) {
    Built b;
    b.ok = buildMenuTree(*b.tree, menu, texts, distinctHooks(), b.error, int(sizeof b.error));
    return b;
}

// The smallest tree the loader accepts: every node it looks up under
// "main", each file ending with its line end.
std::string smallMenu(const std::string& extraMainItems = "", const std::string& after = "") {
    return "main=\r\nhidden\r\nmode1\r\nmode2\r\nmode3\r\noptions\r\nhiscore\r\ncredits\r\n" +
           extraMainItems + "\r\n" + after;
}

// ---------------------------------------------------------------------------
// The generated data set

class GeneratedMenu : public test::GeneratedDataSet {
protected:
    void SetUp() override {
        GeneratedDataSet::SetUp();
        m_menu = block("menu.txt");
        m_texts = block("menutext.txt");
        ASSERT_FALSE(m_menu.empty());
        ASSERT_FALSE(m_texts.empty());
        m_built = build(m_menu, m_texts);
        ASSERT_TRUE(m_built.ok) << m_built.error;
    }
    std::string m_menu, m_texts;
    Built m_built;
};

TEST_F(GeneratedMenu, EveryNodeHasItsIntendedListTextParentAndHook) {
    const MenuHooks h = distinctHooks();
    const struct {
        const char* name;
        const char* text;
        std::vector<std::string> children;
        const char* parent;  // "" for none
        ScreenHook hook;
    } expected[] = {
        // "new game" is listed first under "main" and leaves the list.
        {"main", "Main menu",
         {"mode1", "mode2", "mode3", "options", "helpscreen", "hiscore", "credits", "exit"}, "",
         h.main},
        {"new game", "New game", {}, "main", nullptr},
        {"mode1", "Classic", {"start", "back"}, "main", h.levelSelect},
        {"mode2", "Puzzle", {"start", "back"}, "main", h.levelSelect},
        {"mode3", "Action", {"start", "back"}, "main", h.levelSelect},
        {"start", "Start", {}, "mode1", nullptr},
        {"back", "Back", {}, "mode1", nullptr},
        {"options", "Options", {"apply", "back"}, "main", h.options},
        {"apply", "Apply", {}, "options", nullptr},
        {"helpscreen", "How to play", {"ok"}, "main", h.help},
        // An empty "ok=" list in menu.txt stands before "messageboxok=": the
        // leaf must not take the message box's list.
        {"ok", "OK", {}, "helpscreen", nullptr},
        {"hiscore", "Hall of fame", {"back"}, "main", h.hiscore},
        {"credits", "Credits", {}, "main", h.credits},
        {"exit", "Quit", {}, "main", nullptr},
        {"loadgamequest", "Saved game", {"yes", "no"}, "", h.loadGameQuest},
        {"yes", "Yes", {}, "loadgamequest", nullptr},
        {"no", "No", {}, "loadgamequest", nullptr},
        // "newprofile=" and "rename=" stand before "oknewprofile=" and
        // "okrename=" in menutext.txt, or they would show "OK".
        {"newprofile", "New player", {"oknewprofile"}, "", h.nameEntry},
        {"oknewprofile", "OK", {}, "newprofile", nullptr},
        {"rename", "Rename", {"okrename"}, "", h.nameEntry},
        {"okrename", "OK", {}, "rename", nullptr},
        {"profiles", "Players", {"selectprofile", "newprofile", "rename", "remove", "back"}, "main",
         h.profiles},
        {"selectprofile", "Play", {}, "profiles", nullptr},
        {"remove", "Remove", {}, "profiles", nullptr},
        {"levelcomplete", "Level complete", {"oknextlevel"}, "", h.levelComplete},
        {"oknextlevel", "OK", {}, "levelcomplete", nullptr},
        {"messageboxok", "Message", {"ok"}, "", h.messageBox},
        {"messageboxyn", "Question", {"yes", "no"}, "", h.messageBox},
        // "main" on "gameplay" is the main screen itself, not a new node.
        {"gameplay", "Paused", {"resume game", "restart level", "helpscreen", "options", "main"}, "",
         nullptr},
        {"resume game", "Resume game", {}, "gameplay", nullptr},
        {"restart level", "Restart level", {}, "gameplay", nullptr},
        {"defeat", "Out of moves", {"restart level", "skip level", "main"}, "", h.defeat},
        {"skip level", "Skip level", {}, "defeat", nullptr},
        {"gameover", "Game over", {"restart level", "skip level", "main"}, "", h.defeat},
    };
    EXPECT_EQ(m_built.tree->count, int(std::size(expected))) << "a node nobody meant";
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const MenuNode* node = m_built.node(e.name);
        ASSERT_NE(node, nullptr);
        EXPECT_STREQ(node->text, e.text);
        EXPECT_EQ(childNames(*node), e.children);
        EXPECT_STREQ(node->parent ? node->parent->name : "", e.parent);
        EXPECT_EQ(node->hook, e.hook);
    }
    // The screen flow reads these positions.
    const MenuNode& main = *m_built.node("main");
    EXPECT_EQ(childIndex(main, "new game"), -1);
    EXPECT_EQ(childIndex(*m_built.node("gameplay"), "skip level"), -1);
}

// A key found by first-substring search must stand first as its own line in
// both files; otherwise it is the tail of a longer key ("ok=" inside
// "messageboxok=") or a stray "=" in some text, and the node reads the
// wrong list or text.
TEST_F(GeneratedMenu, EveryNodeKeyFirstStandsAtALineStartInBothFiles) {
    for (int i = 0; i < m_built.tree->count; ++i) {
        const std::string key = std::string(m_built.tree->nodes[i].name) + "=";
        for (const std::string* file : {&m_menu, &m_texts}) {
            const size_t at = file->find(key);
            if (at == std::string::npos) continue;
            EXPECT_TRUE(at == 0 || (*file)[at - 1] == '\n')
                << '"' << key << "\" first found inside a line of "
                << (file == &m_menu ? "menu.txt" : "menutext.txt");
        }
    }
}

TEST_F(GeneratedMenu, FilesUseCrLfAndEndWithALineEnd) {
    for (const std::string* file : {&m_menu, &m_texts}) {
        ASSERT_GE(file->size(), 2u);
        EXPECT_EQ(file->substr(file->size() - 2), "\r\n");
        for (size_t i = 0; i < file->size(); ++i)
            if ((*file)[i] == '\n') {
                EXPECT_TRUE(i > 0 && (*file)[i - 1] == '\r') << "at " << i;
            }
    }
}

TEST_F(GeneratedMenu, CreditsNameTheGameItsLibrariesAndColourTheirHeadings) {
    const MenuTree& tree = *m_built.tree;
    ASSERT_GT(tree.creditCount, 10);
    std::string all;
    int headings = 0;
    for (int i = 0; i < tree.creditCount; ++i) {
        const std::string line = tree.credits[i];
        all += line + "\n";
        // The credits hook draws a line white when its third character is a
        // lower-case letter and yellow otherwise: headings are upper case.
        const bool white = line.size() > 2 && line[2] >= 'a' && line[2] <= 'z';
        if (!line.empty() && !white) {
            ++headings;
            EXPECT_EQ(line.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << line;
        }
    }
    EXPECT_FALSE(std::string(tree.credits[0]).empty()) << "leading blank lines are skipped";
    EXPECT_GE(headings, 3);
    for (const char* name : {"TESSALY", "The Tessaly team", "SDL2", "OpenGL", "Mesa", "libjpeg",
                             "libvorbis", "libogg", "libopenmpt", "cairo", "FreeType", "DejaVu",
                             "stb_image", "GoogleTest"})
        EXPECT_NE(all.find(name), std::string::npos) << name;
}

// ---------------------------------------------------------------------------
// The loader on small texts

TEST(MenuTree, HiddenFirstItemSharedNodesAndMissingTexts) {
    Built b = build(smallMenu("back\r\n", "mode1=\r\nstart\r\nback\r\n\r\noptions=\r\nback\r\n\r\n"),
                    "back=Back\r\nmode1=Classic\r\nback=Second back\r\n");
    ASSERT_TRUE(b.ok) << b.error;
    MenuNode& main = *b.node("main");
    EXPECT_EQ(childNames(main), (std::vector<std::string>{"mode1", "mode2", "mode3", "options",
                                                          "hiscore", "credits", "back"}));
    // The hidden first item is still a node.
    ASSERT_NE(b.node("hidden"), nullptr);
    EXPECT_EQ(b.node("hidden")->parent, &main);
    // "back" under "mode1", "options" and "main": one node, its parent the
    // first lister, its text the first "back=".
    MenuNode* back = b.node("back");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(b.node("mode1")->children[1], back);
    EXPECT_EQ(b.node("options")->children[0], back);
    EXPECT_EQ(main.children[6], back);
    EXPECT_EQ(back->parent, b.node("mode1"));
    EXPECT_STREQ(back->text, "Back");
    EXPECT_STREQ(b.node("mode1")->text, "Classic");
    EXPECT_STREQ(b.node("mode2")->text, "");  // no entry: an empty text
    // Names match exactly.
    EXPECT_EQ(b.node("Main"), nullptr);
    EXPECT_EQ(b.node("mai"), nullptr);
    EXPECT_EQ(childIndex(main, "options"), 3);
    EXPECT_EQ(childIndex(main, "hidden"), -1);
}

TEST(MenuTree, NodesNoScreenListsAreBuiltWithTheirHooks) {
    Built b = build(smallMenu(), "");
    ASSERT_TRUE(b.ok) << b.error;
    const MenuHooks h = distinctHooks();
    const struct {
        const char* name;
        ScreenHook hook;
    } fixed[] = {{"loadgamequest", h.loadGameQuest}, {"newprofile", h.nameEntry},
                 {"rename", h.nameEntry},            {"helpscreen", h.help},
                 {"profiles", h.profiles},           {"levelcomplete", h.levelComplete},
                 {"messageboxok", h.messageBox},     {"messageboxyn", h.messageBox},
                 {"gameplay", nullptr},              {"defeat", h.defeat},
                 {"gameover", h.defeat},             {"mode2", h.levelSelect},
                 {"credits", h.credits}};
    for (const auto& f : fixed) {
        const MenuNode* node = b.node(f.name);
        ASSERT_NE(node, nullptr) << f.name;
        EXPECT_EQ(node->hook, f.hook) << f.name;
        EXPECT_EQ(node->childCount, 0u) << f.name;
    }
    EXPECT_EQ(b.node("profiles")->parent, b.node("main"));
    EXPECT_EQ(b.node("gameplay")->parent, nullptr);
}

TEST(MenuTree, EachFileLosesItsLastByte) {
    // The last byte of menutext.txt is the "t" of "Quit"; a file ending in
    // its line end loses only the LF.
    Built b = build(smallMenu("exit\r\n"), "main=Main menu\r\nexit=Quit");
    ASSERT_TRUE(b.ok) << b.error;
    EXPECT_STREQ(b.node("exit")->text, "Qui");
    EXPECT_STREQ(b.node("main")->text, "Main menu");
    // menu.txt's closing empty line keeps its CR when the LF goes, but a
    // file cut right after the last item has no empty line left.
    std::string menu = smallMenu();
    menu.resize(menu.size() - 2);  // ends "credits\r\n", the LF lost
    Built cut = build(menu, "");
    EXPECT_FALSE(cut.ok);
    EXPECT_STREQ(cut.error, "menu.txt: the list of \"main\" is not closed by an empty line");
}

TEST(MenuTree, CreditsSkipLeadingBlankLinesAndKeepInnerOnes) {
    Built b = build(smallMenu(),
                    "credits=Credits\r\n[credits/]\r\n\r\n\r\nTESSALY\r\n\r\nThe Tessaly team\r\n"
                    "[/credits]\r\n");
    ASSERT_TRUE(b.ok) << b.error;
    ASSERT_EQ(b.tree->creditCount, 3);
    EXPECT_STREQ(b.tree->credits[0], "TESSALY");
    EXPECT_STREQ(b.tree->credits[1], "");
    EXPECT_STREQ(b.tree->credits[2], "The Tessaly team");
    EXPECT_STREQ(b.node("credits")->text, "Credits");

    // No block, or one of empty lines only: no credits, and the closing
    // marker is never taken for a line.
    for (const char* texts : {"credits=Credits\r\n", "[credits/]\r\n\r\n[/credits]\r\n",
                              "[credits/]\r\n[/credits]\r\n"}) {
        Built none = build(smallMenu(), texts);
        ASSERT_TRUE(none.ok) << none.error;
        EXPECT_EQ(none.tree->creditCount, 0) << texts;
    }
}

TEST(MenuTree, DataPastALimitIsRefusedWithTheFileAndTheProblem) {
    const std::string longName(64, 'n');
    const std::string maxName(63, 'n');
    // "s" lists 16 screens of 16 items each: past 256 nodes at s14's ninth.
    std::string manyLists = "s=\r\n", seventeen, manyCredits;
    for (int i = 0; i < 16; ++i) manyLists += "s" + std::to_string(i) + "\r\n";
    manyLists += "\r\n";
    for (int i = 0; i < 16; ++i) {
        manyLists += "s" + std::to_string(i) + "=\r\n";
        for (int k = 0; k < 16; ++k) manyLists += "s" + std::to_string(i) + "_" + std::to_string(k) + "\r\n";
        manyLists += "\r\n";
    }
    for (int i = 0; i < 17; ++i) seventeen += "x" + std::to_string(i) + "\r\n";
    for (int i = 0; i < 65; ++i) manyCredits += "line\r\n";
    const struct {
        const char* what;
        std::string menu, texts;
        const char* error;  // "" when accepted
    } cases[] = {
        {"a name of 63 characters fits", smallMenu(maxName + "\r\n"), maxName + "=" + maxName + "\r\n",
         ""},
        {"a name of 64", smallMenu(longName + "\r\n"), "",
         "menu.txt: the name \"nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn...\" is longer than 63 characters"},
        {"a text of 64", smallMenu(), "mode1=" + longName + "\r\n",
         "menutext.txt: the text of \"mode1\" is longer than 63 characters"},
        {"more than 256 nodes", smallMenu("s\r\n", manyLists), "",
         "menu.txt: more than 256 menu nodes (at \"s14_8\")"},
        {"seventeen items", smallMenu(seventeen), "", "menu.txt: \"main\" lists more than 16 items"},
        {"no options screen", "main=\r\nhidden\r\nmode1\r\nmode2\r\nmode3\r\nhiscore\r\ncredits\r\n\r\n",
         "", "menu.txt: \"options\" is not in the menu tree"},
        {"no main at all", "", "", "menu.txt: \"options\" is not in the menu tree"},
        {"a list cut inside a line", smallMenu("", "mode1=\r\nstart\r\nback"), "",
         "menu.txt: the list of \"mode1\" runs off the end of the file"},
        {"a key at the very end", smallMenu("", "rename=\r\n"), "",
         "menu.txt: the list of \"rename\" is not closed by an empty line"},
        {"64 credit lines fit", smallMenu(),
         "[credits/]\r\n" + manyCredits.substr(6) + "[/credits]\r\n", ""},
        {"65 credit lines", smallMenu(), "[credits/]\r\n" + manyCredits + "[/credits]\r\n",
         "menutext.txt: more than 64 credit lines"},
        {"a credit line of 64", smallMenu(), "[credits/]\r\n" + longName + "\r\n[/credits]\r\n",
         "menutext.txt: credit line 1 is longer than 63 characters"},
        {"credits never closed", smallMenu(), "[credits/]\r\nTESSALY\r\n",
         "menutext.txt: the credits are not closed by a line \"[/credits]\""},
        {"a closing marker inside a line does not count", smallMenu(),
         "[credits/]\r\nTESSALY [/credits]\r\n",
         "menutext.txt: the credits are not closed by a line \"[/credits]\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Built b = build(c.menu, c.texts);
        if (!*c.error) {
            EXPECT_TRUE(b.ok) << b.error;
            continue;
        }
        EXPECT_FALSE(b.ok);
        EXPECT_EQ(std::string(b.error).substr(0, std::strlen(c.error)), c.error) << b.error;
        EXPECT_EQ(b.tree->count, 0) << "no half-built tree is left";
        EXPECT_EQ(b.tree->creditCount, 0);
    }
}

TEST(MenuTree, NothingPastTheGivenBytesIsRead) {
    // The texts need not end with a NUL: the bytes after the view would
    // close the list and give "mode1" a text if they were read.
    const std::string menu = smallMenu("", "mode1=\r\nstart\r\nback\r\n\r\n");
    const std::string texts = "mode1=Classic\r\n";
    const std::string_view menuCut(menu.data(), menu.size() - 11);  // "...sta" and the lost "r"
    const std::string_view textsCut(texts.data(), 7);               // "mode1=C", the C lost
    Built b;
    b.ok = buildMenuTree(*b.tree, menuCut, textsCut, distinctHooks(), b.error, int(sizeof b.error));
    EXPECT_FALSE(b.ok);
    EXPECT_STREQ(b.error, "menu.txt: the list of \"mode1\" runs off the end of the file");

    b.ok = buildMenuTree(*b.tree, menu, textsCut, distinctHooks(), b.error, int(sizeof b.error));
    ASSERT_TRUE(b.ok) << b.error;
    EXPECT_STREQ(b.node("mode1")->text, "");
    // An error buffer too small for the message still ends with a NUL.
    char small[8];
    MenuTree& tree = *b.tree;
    EXPECT_FALSE(buildMenuTree(tree, "", "", distinctHooks(), small, int(sizeof small)));
    EXPECT_STREQ(small, "menu.tx");
    EXPECT_FALSE(buildMenuTree(tree, "", "", distinctHooks(), nullptr, 0));
}

// ---------------------------------------------------------------------------
// Loading through the data registry

class MenuLoading : public test::DataFolderTest {};

TEST_F(MenuLoading, ReadsBothFilesAndReleasesThem) {
    m_folder.write("menu.txt", smallMenu());
    m_folder.write("menutext.txt", std::string("main=Main menu\r\n[credits/]\r\nTESSALY\r\n[/credits]\r\n"));
    loadMenu(distinctHooks());
    ASSERT_NE(findNode("main"), nullptr);
    EXPECT_STREQ(findNode("main")->text, "Main menu");
    EXPECT_EQ(g_menuTree.creditCount, 1);
    EXPECT_EQ(data::findDataEntry("menu.txt"), nullptr);
    EXPECT_EQ(data::findDataEntry("menutext.txt"), nullptr);
}

TEST_F(MenuLoading, AMissingFileOrRefusedDataStopsTheProgram) {
    m_folder.write("menu.txt", smallMenu());
    EXPECT_EXIT(loadMenu(distinctHooks()), testing::ExitedWithCode(1), "Can't load menutext.txt");
    m_folder.write("menutext.txt", std::string("mode1=") + std::string(70, 'x') + "\r\n");
    EXPECT_EXIT(loadMenu(distinctHooks()), testing::ExitedWithCode(1),
                "menutext.txt: the text of \"mode1\" is longer than 63 characters");
}

}  // namespace
}  // namespace tessaly::menus
