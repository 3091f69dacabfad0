// The menu runtime on a small tree built by hand: fades, keys, the pointer,
// name entry, sliders, the per-screen key rules and the levelcomplete count.
#include "menus/menu_runtime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "menus/menu_flow.h"
#include "platform/keys.h"
#include "player/player_data.h"
#include "support/test_support.h"

namespace tessaly::menus {
namespace {

constexpr float kFrameMs = 16;

class MenuRuntimeTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        for (const char* name : {"menutex.tga", "white.jpg", "button.tga", "winfill.jpg"})
            gfx::g_textures.create(name, 64, 64, gfx::kFormatA8R8G8B8, false);
        g_menuTree = MenuTree{};
        resetMenus();
        g_menuShell = MenuShell{};
        player::g_playerData = player::PlayerData{};
        game::g_game = game::GameState{};
    }
    void TearDown() override {
        g_menuTree = MenuTree{};
        resetMenus();
        NullDeviceTest::TearDown();
    }

    // A node with its children (created as leaves when new).
    MenuNode& node(const char* name, std::initializer_list<const char*> children = {}, ScreenHook hook = nullptr) {
        MenuNode* n = findNode(name);
        if (!n) {
            n = &g_menuTree.nodes[g_menuTree.count++];
            std::strcpy(n->name, name);
            std::strcpy(n->text, name);
        }
        for (const char* c : children) {
            MenuNode& child = node(c);
            if (!child.parent) child.parent = n;
            n->children[n->childCount++] = &child;
        }
        if (hook) n->hook = hook;
        return *n;
    }

    void frames(float ms) {
        for (float t = 0; t < ms; t += kFrameMs) {
            stepMenus(kFrameMs);
            drawMenus();
        }
    }
    // Opens a screen and lets its fade-in finish.
    void show(const char* name) {
        openScreen(name);
        frames(kFadeMs + 2 * kFrameMs);
    }
    void key(int k) {
        menuKeyDown(k);
        stepMenus(kFrameMs);
    }
    void pointAt(float x, float y) {
        gfx::worldToScreenCursor(x, y);
        menuPointerMoved();
    }
    std::string screen() const { return g_menu.current ? g_menu.current->name : "(none)"; }
};

TEST_F(MenuRuntimeTest, EnterTwiceActivatesOnceAndKeysDuringAFadeAreDropped) {
    node("main", {"mode1", "options", "exit"});
    node("options", {"apply", "back"});
    openScreen("main");
    key(platform::VkDown);  // during the fade-in: dropped
    EXPECT_EQ(g_menu.highlighted, 0);
    frames(kFadeMs);
    key(platform::VkDown);
    ASSERT_EQ(g_menu.highlighted, 1);
    key(platform::VkEnter);
    key(platform::VkEnter);  // the fade-out has started: dropped
    frames(kFadeMs + kFrameMs);
    EXPECT_EQ(screen(), "options");
    frames(2 * kFadeMs);
    EXPECT_EQ(screen(), "options");  // no second activation ("apply") followed
    EXPECT_EQ(g_menu.highlighted, 0);
}

TEST_F(MenuRuntimeTest, APointerThatMovesHighlightsButOneAtRestLeavesTheKeys) {
    node("main", {"mode1", "mode2", "mode3"});
    show("main");
    ASSERT_EQ(g_menu.boxCount, 3);
    const ItemBox b = g_menu.boxes[2];
    pointAt((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    frames(kFrameMs);
    EXPECT_EQ(g_menu.highlighted, 2);
    key(platform::VkUp);
    frames(5 * kFrameMs);  // the pointer rests on item 2
    EXPECT_EQ(g_menu.highlighted, 1);
    key(platform::VkUp);
    key(platform::VkUp);  // wraps from 0 to the last
    EXPECT_EQ(g_menu.highlighted, 2);
}

TEST_F(MenuRuntimeTest, NameEntryTakesUpperCaseDigitsAndSpacesUpToTwelve) {
    node("newprofile", {"oknewprofile"});
    show("newprofile");
    ASSERT_TRUE(g_menu.textEntry);
    for (int k : {int('A'), int('b'), int('7'), int(' '), 188, int('Z')}) key(k);  // 'b' (a lower-case code) and ',' are refused
    EXPECT_STREQ(g_menu.edit, "A7 Z");
    key(platform::VkHome);
    key('X');
    EXPECT_STREQ(g_menu.edit, "XA7 Z");
    key(platform::VkEnd);
    key(platform::VkBackspace);
    EXPECT_STREQ(g_menu.edit, "XA7 ");
    key(platform::VkHome);
    key(platform::VkDelete);
    EXPECT_STREQ(g_menu.edit, "A7 ");
    key(platform::VkRight);  // the caret moves, and the one item stays highlighted
    EXPECT_EQ(g_menu.caret, 1);
    EXPECT_EQ(g_menu.highlighted, 0);
    for (int i = 0; i < 20; ++i) key('Q');
    EXPECT_EQ(std::strlen(g_menu.edit), size_t(kMaxNameLength));
    EXPECT_EQ(g_menu.editLength, kMaxNameLength);
}

int g_boundValue = 0;
void sliderScreen(MenuNode&) { addSlider(-80, 80, 0, 100, g_boundValue); }

TEST_F(MenuRuntimeTest, SliderArrowZonesStepByOneAndTheTrackFollowsADrag) {
    node("options", {"apply"}, &sliderScreen);
    g_boundValue = 0;
    show("options");
    ASSERT_EQ(g_menu.widgetCount, 1);
    pointAt(-80 - 40, 0);  // inside the left arrow zone at value 0
    menuButtonDown();
    menuButtonUp();
    frames(kFrameMs);
    EXPECT_EQ(g_boundValue, 0);
    EXPECT_EQ(g_menu.hoveredWidget, 0);
    pointAt(80 + 40, 0);
    menuButtonDown();
    menuButtonUp();
    frames(kFrameMs);
    EXPECT_EQ(g_boundValue, 1);
    pointAt(0, 0);  // dragging on the track
    menuButtonDown();
    frames(kFrameMs);
    EXPECT_EQ(g_boundValue, 50);
    pointAt(200, 0);  // far past the end: nothing
    frames(kFrameMs);
    EXPECT_EQ(g_boundValue, 50);
    pointAt(95, 0);  // within the knob's reach past the end
    frames(kFrameMs);
    EXPECT_EQ(g_boundValue, 99);
    menuButtonUp();
}

TEST_F(MenuRuntimeTest, EscapeFollowsEachScreensRule) {
    struct Case {
        const char* screen;
        const char* after;  // the screen once the fades are over
    };
    const Case cases[] = {
        {"mode1", "mode1"},           {"loadgamequest", "loadgamequest"},
        {"defeat", "defeat"},         {"messageboxok", "messageboxok"},
        {"newprofile", "newprofile"}, {"options", "main"},
        {"main", "(none)"},
    };
    node("main", {"new game", "mode1", "options", "defeat", "loadgamequest", "messageboxok", "newprofile"});
    node("mode1", {"start", "back"});
    node("options", {"apply", "back"});
    node("loadgamequest", {"yes", "no"});
    node("defeat", {"restart level", "main"});
    node("messageboxok", {"ok"});
    node("newprofile", {"oknewprofile"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        resetMenus();
        show(c.screen);
        key(platform::VkEscape);
        frames(3 * kFadeMs);
        EXPECT_EQ(screen(), c.after);
    }
    // Back from options highlights the item that opened it.
    resetMenus();
    show("options");
    key(platform::VkEscape);
    frames(3 * kFadeMs);
    EXPECT_EQ(g_menu.highlighted, 2);
    // "main" left with Escape keeps the scenery; the next key opens it again.
    show("main");
    key(platform::VkEscape);
    frames(3 * kFadeMs);
    EXPECT_TRUE(g_menu.hidden);
    key('A');
    EXPECT_EQ(screen(), "main");
}

TEST_F(MenuRuntimeTest, HiscoreArrowsWrapBetweenTheThreeTables) {
    node("hiscore", {"back"});
    show("hiscore");
    g_menu.shownTable = 0;
    key(platform::VkLeft);
    EXPECT_EQ(g_menu.shownTable, 2);
    key(platform::VkRight);
    EXPECT_EQ(g_menu.shownTable, 0);
    key(platform::VkRight);
    key(platform::VkRight);
    key(platform::VkRight);
    EXPECT_EQ(g_menu.shownTable, 0);
}

TEST_F(MenuRuntimeTest, LevelCompleteCountsTheScoreUpAndEnterFinishesAStat) {
    node("levelcomplete", {"oknextlevel"});
    node("mode1", {"start"});
    game::g_game.levelScore = 5000;
    game::g_game.playTimeMs = 61000;
    game::g_game.movesMade = 12;
    player::g_playerData.records[0][0].score = 100000;  // out of reach: no record
    show("levelcomplete");
    frames(1000);
    EXPECT_EQ(g_menu.count.stat, 0);
    const int shown = shownStatValue(0);
    EXPECT_GT(shown, 1500);
    EXPECT_LT(shown, 2500);
    frames(1600);  // 2.5 s in all: the score is done, the rest resolve a frame each
    EXPECT_EQ(g_menu.count.stat, 4);
    EXPECT_EQ(shownStatValue(0), 5000);
    EXPECT_EQ(shownStatValue(2), 61000);

    // Again: Enter finishes the count, the next Enter activates "OK".
    resetMenus();
    show("levelcomplete");
    key(platform::VkEnter);
    frames(5 * kFrameMs);
    EXPECT_EQ(g_menu.count.stat, 4);
    EXPECT_FALSE(fadeRunning());
    key(platform::VkEnter);
    EXPECT_TRUE(g_menu.fadingOut);
}

TEST_F(MenuRuntimeTest, AScoreOfZeroResolvesAtOnce) {
    node("levelcomplete", {"oknextlevel"});
    show("levelcomplete");
    frames(4 * kFrameMs);  // a frame for each stat
    EXPECT_EQ(g_menu.count.stat, 4);
}

TEST_F(MenuRuntimeTest, DrawingTwiceDrawsTheSameAndRegistersNothingNew) {
    node("main", {"mode1", "options", "exit"});
    node("options", {"apply", "back"}, &sliderScreen);
    m_device.recordVertices = true;
    show("options");
    const int widgets = g_menu.widgetCount, boxes = g_menu.boxCount;
    m_device.calls.clear();
    drawMenus();
    const size_t first = m_device.calls.size();
    drawMenus();
    EXPECT_EQ(m_device.calls.size(), 2 * first);
    EXPECT_GT(first, 0u);
    EXPECT_EQ(g_menu.widgetCount, widgets);
    EXPECT_EQ(g_menu.boxCount, boxes);
}

}  // namespace
}  // namespace tessaly::menus
