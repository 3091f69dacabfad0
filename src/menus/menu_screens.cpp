// The screens that draw more than a list: the main menu, the mode screens,
// options, players, name entry, message boxes, the saved-game question, the
// defeat screen, the credits and the help screen. Each runs twice a frame
// (layout, then paint) and must place the same things both times.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/format_text.h"
#include "fx/balloon.h"
#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "menus/menu_flow.h"
#include "menus/help_demo.h"
#include "menus/level_map.h"
#include "menus/menu_runtime.h"
#include "menus/menu_screens.h"
#include "player/player_data.h"
#include "sound/sound.h"

namespace tessaly::menus {

namespace {

constexpr uint32_t kTitleColour = 0xFFFFFF9Bu;    // (255, 255, 155)
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kYellow = 0xFFFFFF37u;         // (255, 255, 55)
constexpr const char* kModeNames[3] = {"classic", "puzzle", "action"};
constexpr const char* kModeTitles[3] = {"classicmode", "puzzlemode", "actionmode"};

player::PlayerData& players() { return player::g_playerData; }
float f() { return g_menu.fade; }
float panelAlpha() { return 1 - f() * f(); }

uint32_t rgb(int r, int g, int b, int a = 255) { return base::Color32(r, g, b, a).argb; }

void drawCentredText(float x, float y, float size, uint32_t argb, const char* text) {
    drawMenuText(x, y, size, argb, text, true);
}

// The main menu's tip beside the item under a resting pointer.
void requestModeTip() {
    const MenuState& m = g_menu;
    if (m.painting || !m.pointerOnHighlighted || m.highlighted < 0 || m.highlighted >= 5 || m.fade > 0) return;
    if (m.highlighted >= m.boxCount) return;
    char key[16];
    std::snprintf(key, sizeof key, "modetip%i", m.highlighted);
    const ItemBox& b = m.boxes[m.highlighted];
    fx::showBalloon(170, (b.top + b.bottom) / 2, menuText(key), 220, true, 0, true);
}

// --- "main" ----------------------------------------------------------------

void mainHook(MenuNode& screen) {
    MenuState& m = g_menu;
    const int n = int(screen.childCount);
    const float x = 240, y = 100 + m.slide;
    const float width = widestItem(screen, 18) + 64, height = 36.0f * n + 128;
    drawPanel(x - width / 2, y + height / 2, x + width / 2, y - height / 2, panelAlpha());
    drawList(x, y + 0.24f * height, 18, true, 0, 2, false);
    drawList(x, y - 0.24f * height, 17, true, 3, -1, false);

    const player::ProfileRecord* p = player::currentProfile(players());
    char greeting[96];
    data::formatText(greeting, sizeof greeting, menuText("hallo"), {data::FormatArg(p ? p->name : "")});
    drawMenuText(-220, -210 - 100 * f(), 15, rgb(240, 233, 0), greeting, false);
    const char* link = menuText("ifnotyou");
    const float linkWidth = gfx::textWidth(link, 12);
    MenuWidget& w = addWidget(WidgetKind::PlayerLink, -220 - 6, -230 - 100 * f(), -220 + linkWidth, -248 - 100 * f());
    drawMenuText(-220, -235 - 100 * f(), 12, w.flag ? kWhite : rgb(100, 250, 100), link, false);
    if (!m.painting) w.flag = 0;  // set again by the next hover detection
    requestModeTip();
}

// --- "mode1".."mode3" ------------------------------------------------------

void levelSelectHook(MenuNode& screen) {
    (void)screen;
    // The level marks come first, so that widget i is level i. Locked levels
    // get theirs too; the input ignores them.
    for (int i = 0; i < kMapLevels; ++i) {
        const base::Vec2 p = g_levelMap.marks[size_t(i)];
        const float h = kLevelMarkHitSize / 2;
        addWidget(WidgetKind::LevelMark, p.x - h, p.y + h, p.x + h, p.y - h);
    }
    const int mode = currentMode();
    drawButton(300, -250 - 100 * f(), 160, 64, 18);
    drawCentredText(0, -250 - 100 * f(), 18, kWhite, menuText(kModeNames[mode]));
}

// --- "options" -------------------------------------------------------------

void optionsHook(MenuNode& screen) {
    MenuState& m = g_menu;
    player::SettingsBlock& s = players().settings;
    drawPanel(-190, 260, 190, -260, panelAlpha());
    drawCentredText(0, 205, 17, kTitleColour, screen.text);

    drawCentredText(0, 160, 13, kWhite, menuText("sfxvolume"));
    int effects = s.effectsVolume;
    if (addSlider(-80, 80, 130, 100, effects)) {
        s.effectsVolume = effects;
        sound::playSound("chpok1.ogg");
    }
    drawCentredText(0, 85, 13, kWhite, menuText("musicvolume"));
    int music = s.musicVolume;
    if (addSlider(-80, 80, 55, 100, music)) s.musicVolume = music;

    addCheckBox(-120, 0, m.pendingFullscreen, menuText("fullscreen"), 12);
    uint8_t pointer = s.customPointer;
    if (addCheckBox(-120, -50, pointer, menuText("customcursor"), 12)) {
        s.customPointer = pointer;
        if (g_menuShell.pointerOptionChanged) g_menuShell.pointerOptionChanged();
    }

    drawCentredText(0, -100, 13, kWhite, menuText("ballspeed"));
    int speed = std::clamp(int(150 - s.ballSpeed), 0, 129);
    if (addSlider(-80, 80, -130, 130, speed)) {
        s.ballSpeed = float(150 - speed);
        game::g_game.ballSpeed = s.ballSpeed;
    }
    drawButton(-85, -205, 130, 64, 15);
    drawButton(85, -205, 130, 64, 15);
    drawHoverGlow();
    if (!m.painting) sound::setVolumes(s.effectsVolume, s.musicVolume);
}

// --- "profiles" ------------------------------------------------------------

void profilesHook(MenuNode& screen) {
    (void)screen;
    MenuState& m = g_menu;
    const int count = players().count;
    const float top = 280 + m.slide;
    drawPanel(-325, top, 45, top - (30.0f * count + 115), panelAlpha());
    drawCentredText(-140, 220 + m.slide, 18, rgb(0, 255, 255), menuText("curusers"));
    for (int i = 0; i < count; ++i) {
        const char* name = players().profiles[size_t(i)].name;
        const float y = 180 + m.slide - 30.0f * i;
        const float w = gfx::textWidth(name, 14);
        addWidget(WidgetKind::PlayerEntry, -140 - w / 2 - 8, y + 20, -140 + w / 2 + 8, y - 16);
        drawCentredText(-140, y - 4, 14, i == m.hoveredWidget ? kYellow : kWhite, name);
    }
    drawHoverGlow();
    drawList(230, 150 + m.slide, 18, true);
}

// --- "newprofile", "rename" ------------------------------------------------

void drawEntryFrame(float x, float y, float width, float height) {
    if (!g_menu.painting) return;
    const int a = int(255 * panelAlpha());
    gfx::setTexture(gfx::loadTexture("winfill.jpg"));
    gfx::drawRect(x - width / 2 + 12, y + height / 2 - 8, x + width / 2 - 12, y - height / 2 + 8, 0, 0,
                  (width - 24) / 256, (height - 16) / 256, rgb(255, 255, 255, a), 10);
    const float cap = 64 * height / 64;
    drawAtlasCell(16, x - width / 2 + cap / 2, y, height / 64, rgb(255, 255, 255, a));
    drawAtlasCell(18, x + width / 2 - cap / 2, y, height / 64, rgb(255, 255, 255, a));
    // The middle is uniform along x: one cell stretched between the caps.
    const float inner = width - 2 * cap;
    if (inner > 0) {
        for (float left = x - inner / 2; left < x + inner / 2 - 0.5f; left += 64) {
            const float piece = std::min(64.0f, x + inner / 2 - left);
            drawAtlasCell(17, left + piece / 2, y, 1, rgb(255, 255, 255, a));
        }
    }
}

void nameEntryHook(MenuNode& screen) {
    (void)screen;
    MenuState& m = g_menu;
    drawPanel(-200, 140, 200, -140, panelAlpha());
    drawCentredText(0, 90, 15, kWhite, menuText("entername"));
    drawEntryFrame(0, 20, 330, 64);
    const float textY = 20 - 0.3f * 17;
    drawCentredText(0, textY, 17, kWhite, m.edit);
    if (m.painting) {
        const float width = gfx::textWidth(m.edit, 17);
        char before[kEditBufferSize] = {};
        std::memcpy(before, m.edit, size_t(std::clamp(m.caret, 0, kEditBufferSize - 1)));
        const float caretX = -width / 2 + gfx::textWidth(before, 17);
        const int alpha = int(255 * (0.5f + 0.5f * std::sin(0.01f * m.screenClockMs)));
        drawMenuText(caretX, textY, 17, rgb(255, 255, 55, alpha), "|", true);
    }
    drawButton(0, -80, 130, 64, 18);
}

// --- "messageboxok", "messageboxyn" ----------------------------------------

void messageBoxHook(MenuNode& screen) {
    MenuState& m = g_menu;
    const float textHeight = gfx::wrapText(340, m.message, 16);
    const float height = textHeight + 140;
    drawPanel(-225, height / 2, 225, -height / 2, panelAlpha());
    if (m.painting) drawMenuText(0, height / 2 - 56, 16, kWhite, gfx::wrappedText(), true);
    if (std::string_view(screen.name) == "messageboxyn") {
        drawButton(-90, -height / 2 + 62, 135, 64, 17);
        drawButton(90, -height / 2 + 62, 135, 64, 17);
    } else {
        drawButton(0, -height / 2 + 62, 130, 64, 17);
    }
}

// --- "loadgamequest" -------------------------------------------------------

void loadGameQuestHook(MenuNode& screen) {
    (void)screen;
    const int mode = currentMode();
    drawPanel(-240, 175, 240, -175, panelAlpha());
    drawCentredText(0, 110, 19, kTitleColour, menuText(kModeTitles[mode]));
    drawCentredText(0, 65, 15, kWhite, menuText("loadmsg"));
    const player::ProfileRecord* p = player::currentProfile(players());
    char summary[128];
    data::formatText(summary, sizeof summary, menuText("zonelevscore"),
                     {data::FormatArg(p ? p->stage[mode] + 1 : 1), data::FormatArg(p ? p->levelInStage[mode] + 1 : 1),
                      data::FormatArg(p ? p->score[mode] : 0)});
    drawCentredText(0, 25, 17, kYellow, summary);
    drawButton(-110.4f, -118, 135, 64, 17);
    drawButton(110.4f, -118, 135, 64, 17);
}

// --- "defeat", "gameover" --------------------------------------------------

void defeatHook(MenuNode& screen) {
    const float listHeight = 2 * 18.0f * float(screen.childCount);
    const float width = widestItem(screen, 18) + 94, height = listHeight + 164;
    drawPanel(-width / 2, height / 2, width / 2, -height / 2, panelAlpha());
    drawCentredText(0, 65, 16, rgb(55, 255, 255), menuText("nomoves"));
    drawCentredText(0, 30, 16, rgb(55, 255, 255), menuText("loselife"));
    drawList(0, -40, 18, true, 0, -1, false);
}

// --- "credits" -------------------------------------------------------------

void creditsHook(MenuNode& screen) {
    (void)screen;
    MenuState& m = g_menu;
    m.highlighted = -1;
    if (!m.painting) return;
    const MenuTree& tree = g_menuTree;
    const float p = m.creditsMs;
    for (int i = 0; i < tree.creditCount; ++i) {
        const float y = creditsScroll(p) - 40.0f * i;
        const float ay = std::fabs(y);
        const float a = ay < 100 ? 1 : ay > 260 ? 0 : (260 - ay) / 160;
        if (a <= 0) continue;
        const char* line = tree.credits[i];
        const bool white = std::strlen(line) >= 3 && line[2] >= 'a' && line[2] <= 'z';
        drawCentredText(0, y, 16, white ? rgb(255, 255, 255, int(255 * a)) : rgb(255, 255, 0, int(255 * a)), line);
    }
}

// --- "helpscreen" ----------------------------------------------------------

constexpr const char* kSquareHelp[3] = {"adventsquarehelp", "squarehelp", "actionsquarehelp"};
constexpr float kHelpWidth = 390, kHelpHeight = 404, kHelpTextWidth = 330;
// Room the panel needs besides its two texts: title, separators, the
// demonstration board with a margin, the button.
constexpr float kHelpFixedRoom = 380;

void helpHook(MenuNode& screen) {
    (void)screen;
    const char* tip = menuText("balltip");
    const char* goal = menuText(kSquareHelp[currentMode()]);
    const float tipHeight = gfx::wrapText(kHelpTextWidth, tip, 12);
    const float goalHeight = gfx::wrapText(kHelpTextWidth, goal, 12);
    // The panel grows when the texts need more than its usual height, so the
    // board never covers them.
    const float y = g_menu.slide, h = std::max(kHelpHeight, kHelpFixedRoom + tipHeight + goalHeight);
    drawPanel(-kHelpWidth / 2, y + h / 2, kHelpWidth / 2, y - h / 2, panelAlpha());
    drawCentredText(0, h / 2 - 53 + y, 19.5f, kYellow, menuText("howtoplay"));
    const uint32_t white = rgb(255, 255, 255, int(255 * panelAlpha()));
    drawAtlasCell(kAtlasEdgeCell, 0, h / 2 + y - 90, 0.5f, white);
    drawAtlasCell(kAtlasEdgeCell, 0, y - h / 2 + 100, 0.5f, white);
    // The ball tip from the top, the mode's goal ending above the button, the
    // board between them.
    gfx::wrapText(kHelpTextWidth, tip, 12);
    drawMenuText(0, h / 2 + y - 120, 12, kWhite, gfx::wrappedText(), true);
    if (g_menu.painting) drawHelpDemo(0, h / 2 + y - 200 - tipHeight);
    gfx::wrapText(kHelpTextWidth, goal, 12);
    drawMenuText(0, y - h / 2 + 107 + goalHeight, 12, kWhite, gfx::wrappedText(), true);
    drawButton(0, y - h / 2 + 55, 170, 64, 18);
}

}  // namespace

float creditsScroll(float scrollMs) { return 0.03f * scrollMs - 200; }

void stepCredits(float dtMs) {
    MenuState& m = g_menu;
    // The lines stop once the last one has come up to the middle.
    if (40.0f * float(g_menuTree.creditCount) - 50 > creditsScroll(m.creditsMs)) m.creditsMs += dtMs;
}

MenuHooks screenHooks() {
    MenuHooks h;
    h.main = &mainHook;
    h.levelSelect = &levelSelectHook;
    h.options = &optionsHook;
    h.hiscore = &hiscoreHook;
    h.credits = &creditsHook;
    h.profiles = &profilesHook;
    h.nameEntry = &nameEntryHook;
    h.messageBox = &messageBoxHook;
    h.loadGameQuest = &loadGameQuestHook;
    h.levelComplete = &levelCompleteHook;
    h.defeat = &defeatHook;
    h.help = &helpHook;
    return h;
}

}  // namespace tessaly::menus
