// The menu texts of the generated data set against the room the screens
// give them, measured with the generated font's own widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "data/format_text.h"
#include "data/text.h"
#include "gfx/font.h"
#include "menus/menu_tree.h"
#include "tools/data_set_fixture.h"

namespace tessaly::menus {
namespace {

constexpr float kLineHeight = 1.8f;  // a text line, in units of the text size

class GeneratedMenuTexts : public test::GeneratedDataSet {
protected:
    void SetUp() override {
        GeneratedDataSet::SetUp();
        for (const char* file : {"strings.txt", "tips.txt"}) {
            const std::string text = block(file);
            m_texts.parse(text.data(), int(text.size()));
        }
        const std::string font = block("font.dat");
        ASSERT_TRUE(gfx::parseFontData(reinterpret_cast<const uint8_t*>(font.data()),
                                       int(font.size()), m_font));
        m_previousFont = gfx::g_text.current;
        gfx::g_text.current = &m_font;
        ASSERT_GT(gfx::textWidth("Hello", 16), 20.0f) << "the font measures nothing";
        const std::string menu = block("menu.txt"), texts = block("menutext.txt");
        ASSERT_TRUE(buildMenuTree(*m_tree, menu, texts, MenuHooks{}, nullptr, 0));
    }
    void TearDown() override { gfx::g_text.current = m_previousFont; }

    std::string text(const char* key) {
        const char* t = m_texts.find(key);
        EXPECT_NE(t, nullptr) << key;
        return t ? t : "";
    }
    std::string label(const char* node) {
        const MenuNode* n = findNode(*m_tree, node);
        EXPECT_NE(n, nullptr) << node;
        return n ? n->text : "";
    }
    static float width(const std::string& s, float size) { return gfx::textWidth(s, size); }

    data::TextTable m_texts;
    gfx::Font m_font;
    gfx::Font* m_previousFont = nullptr;
    std::unique_ptr<MenuTree> m_tree = std::make_unique<MenuTree>();
};

TEST_F(GeneratedMenuTexts, MessageBoxQuestionsWrapIntoThreeLinesAtMost) {
    for (const char* key : {"skipquest", "noskiplevel", "restartquest", "nomorelives",
                            "removeplayer", "quit", "zeroscore", "savemsg"}) {
        const float height = gfx::wrapText(340, text(key), 16);
        EXPECT_LE(height, 3 * kLineHeight * 16 + 0.5f) << key << ": " << gfx::wrappedText();
    }
}

TEST_F(GeneratedMenuTexts, LabelsAndButtonsFitTheirPanels) {
    char summary[128];
    data::formatText(summary, int(sizeof summary), text("zonelevscore").c_str(), {14, 5, 99999999});
    char greeting[128];
    data::formatText(greeting, int(sizeof greeting), text("hallo").c_str(), {"ALEXANDRA MARIA"});
    const struct {
        std::string text;
        float size;
        float room;  // screen units
    } fits[] = {
        // The saved-game question: a panel 480 wide.
        {text("classicmode"), 19, 440},
        {text("puzzlemode"), 19, 440},
        {text("actionmode"), 19, 440},
        {text("loadmsg"), 15, 440},
        {summary, 17, 440},
        // Hall of fame: the title left of the mode name, a panel 470 wide.
        {label("hiscore"), 21, 2 * 150},
        {text("classicmode"), 17, 2 * 110},
        // Options: a panel 380 wide.
        {label("options"), 17, 340},
        {text("sfxvolume"), 13, 340},
        {text("musicvolume"), 13, 340},
        {text("ballspeed"), 13, 340},
        {text("fullscreen"), 12, 190 - 40},
        {text("customcursor"), 12, 190 - 40},
        // Name entry: a panel 400 wide; players: 370.
        {text("entername"), 15, 360},
        {text("curusers"), 18, 330},
        // The main screen's greeting with the longest name, left of the panel.
        {greeting, 15, 600},
        {text("ifnotyou"), 12, 400},
        // Level complete: 550 wide; the right column's labels end inside.
        {text("stats"), 19, 500},
        {text("bestscore"), 11, 0.4f * 550},
        {text("bestmoves"), 11, 0.4f * 550},
        {text("besttime"), 11, 0.4f * 550},
        {text("bestcombo"), 11, 0.4f * 550},
        // Buttons: width less a margin.
        {label("start"), 18, 160 - 24},
        {label("apply"), 15, 130 - 24},
        {label("back"), 15, 130 - 24},
        {label("oknewprofile"), 18, 130 - 24},
        {label("okrename"), 18, 130 - 24},
        {label("yes"), 17, 135 - 24},
        {label("no"), 17, 135 - 24},
        {label("ok"), 17, 130 - 24},
        {label("back"), 19, 170 - 24},
        // Floating texts over the board.
        {text("nextstage"), 18, 700},
    };
    for (const auto& f : fits)
        EXPECT_LE(width(f.text, f.size), f.room) << '"' << f.text << "\" at size " << f.size;
    // The left column's label (size 13) and its value (size 17) end before
    // the right column, 0.47 of the panel further.
    const struct {
        const char* key;
        const char* value;
    } stats[] = {{"yourscore", " 9999999"}, {"maxcombo", " 999"}, {"yourcombo", " 999"},
                 {"yourtime", " 99:59"},    {"yourmoves", " 9999"}};
    for (const auto& s : stats)
        EXPECT_LE(width(text(s.key), 13) + width(s.value, 17), 0.47f * 550) << s.key;
    for (int i = 1; i <= 14; ++i) {
        const std::string name = text(("stagename" + std::to_string(i)).c_str());
        EXPECT_LE(width(name, 20), 700) << name;
    }
    for (int i = 0; i < m_tree->creditCount; ++i)
        EXPECT_LE(width(m_tree->credits[i], 16), 760) << m_tree->credits[i];
    // The defeat panel grows with its widest item; its two texts stay inside.
    float widestItem = 0;
    const MenuNode& defeat = *findNode(*m_tree, "defeat");
    for (std::uint32_t i = 0; i < defeat.childCount; ++i)
        widestItem = std::max(widestItem, width(defeat.children[i]->text, 18));
    EXPECT_LE(width(text("nomoves"), 16), widestItem + 94 - 20);
    EXPECT_LE(width(text("loselife"), 16), widestItem + 94 - 20);
}

}  // namespace
}  // namespace tessaly::menus
