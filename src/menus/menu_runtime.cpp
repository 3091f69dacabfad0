#include "menus/menu_runtime.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/copy_text.h"
#include "base/lookups.h"
#include "data/text.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "menus/menu_flow.h"
#include "platform/keys.h"
#include "player/player_data.h"
#include "sound/sound.h"

namespace tessaly::menus {

namespace {

constexpr float kSlideOutUnits = 600.0f;
constexpr float kSlideInUnits = 300.0f;
constexpr float kSliderGrab = 25.6f;       // the knob's reach either side of the track
constexpr float kSliderArrowZone = 64.0f;  // the arrows outside each end
constexpr float kTextDepth = 10.0f;

// The atlas: 4 x 8 cells, sampled 0.003 inside their edges; 64 units a cell.
struct AtlasCell {
    int column, row, width, height;
};
constexpr AtlasCell kAtlas[24] = {
    {0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 1}, {0, 2, 1, 1}, {1, 2, 1, 1},
    {2, 0, 1, 1}, {3, 0, 1, 1}, {2, 1, 1, 1}, {3, 1, 1, 1}, {0, 3, 2, 1}, {0, 4, 2, 1},
    {2, 3, 1, 2}, {3, 3, 1, 2}, {0, 7, 1, 1}, {1, 7, 1, 1}, {0, 5, 1, 1}, {0, 6, 1, 1},
    {2, 5, 1, 1}, {3, 5, 1, 1}, {1, 6, 1, 1}, {1, 5, 1, 1}, {3, 7, 1, 1}, {2, 7, 1, 1},
};
constexpr float kAtlasInset = 0.003f;
constexpr float kCellUnits = 64.0f;
constexpr int kCellTopLeft = 0, kCellTopRight = 1, kCellBottomLeft = 2, kCellBottomRight = 3;
constexpr int kCellTrack = 4, kCellGlint = 6;  // cell 5, a glow band, is unused
constexpr int kCellTopEdge = kAtlasEdgeCell, kCellBottomEdge = 11, kCellLeftEdge = 12, kCellRightEdge = 13;
constexpr int kCellLeftArrow = 14, kCellRightArrow = 15, kCellKnob = 19, kCellTicked = 20, kCellEmpty = 21;
constexpr int kCellPointer = 22, kCellPointerGlow = 23;

struct CellUv {
    float u0, v0, u1, v1;
};
CellUv cellUv(int cell) {
    const AtlasCell& c = kAtlas[cell];
    return {c.column / 4.0f + kAtlasInset, c.row / 8.0f + kAtlasInset,
            (c.column + c.width) / 4.0f - kAtlasInset, (c.row + c.height) / 8.0f - kAtlasInset};
}

gfx::TextureEntry* atlas() { return gfx::loadTexture("menutex.tga"); }

float pulse(float rate) { return 0.5f + 0.5f * std::sin(rate * g_menu.clockMs); }

bool inside(float left, float top, float right, float bottom, base::Vec2 p) {
    return p.x >= left && p.x <= right && p.y <= top && p.y >= bottom;
}
bool strictlyInside(const MenuWidget& w, base::Vec2 p) {
    return p.x > w.left && p.x < w.right && p.y < w.top && p.y > w.bottom;
}

bool onScreen(std::string_view name) { return g_menu.current && name == g_menu.current->name; }
int itemCount() { return g_menu.current ? int(g_menu.current->childCount) : 0; }

// Text alpha of the screen while it fades.
int fadeAlpha() { return std::clamp(int(255 * (1 - g_menu.fade)), 0, 255); }

// Hover detection: true when the pointer is on an item box.
bool detectHover() {
    MenuState& m = g_menu;
    m.pointerOnHighlighted = false;
    bool onItem = false;
    for (int i = 0; i < m.boxCount; ++i) {
        const ItemBox& b = m.boxes[i];
        if (!inside(b.left, b.top, b.right, b.bottom, m.pointer)) continue;
        onItem = true;
        if (i == m.highlighted) m.pointerOnHighlighted = true;
        if (m.pointerMoved) {
            m.highlighted = i;
            break;
        }
    }
    bool onWidget = false;
    for (int i = 0; i < m.widgetCount; ++i) {
        MenuWidget& w = m.widgets[i];
        if (!inside(w.left, w.top, w.right, w.bottom, m.pointer)) continue;
        onWidget = true;
        if (w.kind == WidgetKind::PlayerLink) {
            w.flag = 1;
        } else if (w.kind != WidgetKind::PlayerEntry && !m.textEntry) {
            m.hoveredWidget = i;
            m.hoverTimerMs = 0;
        }
    }
    if (!allLevelsOpen() && levelMarksShown() && m.hoveredWidget > currentProgress())
        m.hoveredWidget = m.selectedEntry;
    if (!onWidget) {
        m.hoverTimerMs += 0;  // grows in the update, below
    }
    return onItem;
}

void stepHoverFallback(float dtMs) {
    MenuState& m = g_menu;
    bool onWidget = false;
    for (int i = 0; i < m.widgetCount; ++i) {
        const MenuWidget& w = m.widgets[i];
        if (inside(w.left, w.top, w.right, w.bottom, m.pointer)) onWidget = true;
    }
    if (onWidget) return;
    m.hoverTimerMs += dtMs;
    if (m.hoverTimerMs > kHoverFallbackMs) {
        m.hoveredWidget = m.selectedEntry;
        m.hoverTimerMs = 0;
    }
}

void dragSliders() {
    MenuState& m = g_menu;
    if (!m.buttonHeld) return;
    for (int i = 0; i < m.widgetCount; ++i) {
        MenuWidget& w = m.widgets[i];
        if (w.kind != WidgetKind::Slider || w.steps < 1) continue;
        if (!inside(w.left - kSliderGrab, w.top, w.right + kSliderGrab, w.bottom, m.pointer)) continue;
        if (m.pointer.x <= w.left) w.value = 0;
        else if (m.pointer.x >= w.right) w.value = int16_t(w.steps - 1);
        else w.value = int16_t(std::min<int>(w.steps - 1, int((m.pointer.x - w.left) / (w.right - w.left) * w.steps)));
    }
}

void startFadeOut() {
    g_menu.fadingOut = true;
    g_menu.fadingIn = false;
    g_menu.fadeTimerMs = 0;
}

void toggleHoveredFlag() {
    MenuState& m = g_menu;
    if (m.hoveredWidget < 0 || m.hoveredWidget >= m.widgetCount) return;
    MenuWidget& w = m.widgets[m.hoveredWidget];
    w.flag = w.flag ? 0 : 1;
    if (w.kind == WidgetKind::ToggleWithEntry) m.textEntry = true;
}

void editKey(int key) {
    MenuState& m = g_menu;
    m.editLength = int(std::strlen(m.edit));
    m.caret = std::clamp(m.caret, 0, m.editLength);
    switch (key) {
        case platform::VkBackspace:
            if (m.caret > 0) {
                std::memmove(m.edit + m.caret - 1, m.edit + m.caret, size_t(m.editLength - m.caret + 1));
                --m.caret;
                --m.editLength;
            }
            return;
        case platform::VkDelete:
            if (m.caret < m.editLength) {
                std::memmove(m.edit + m.caret, m.edit + m.caret + 1, size_t(m.editLength - m.caret));
                --m.editLength;
            }
            return;
        case platform::VkHome: m.caret = 0; return;
        case platform::VkEnd: m.caret = m.editLength; return;
        case platform::VkLeft:
            if (m.caret > 0) --m.caret;
            return;
        case platform::VkRight:
            if (m.caret < m.editLength) ++m.caret;
            return;
        default: break;
    }
    const bool letter = key >= 'A' && key <= 'Z';
    const bool digit = key >= '0' && key <= '9';
    if (m.editLength >= kMaxNameLength || !(letter || digit || key == ' ')) return;
    std::memmove(m.edit + m.caret + 1, m.edit + m.caret, size_t(m.editLength - m.caret + 1));
    m.edit[m.caret] = char(key);
    ++m.caret;
    ++m.editLength;
}

void processKey() {
    MenuState& m = g_menu;
    int key = m.pendingKey;
    m.pendingKey = 0;
    if (key == 0) return;
    if (m.textEntry) editKey(key);
    if (m.hidden) {
        m.hidden = false;
        openScreen("main");
        return;
    }
    if (!m.current) return;
    const int items = itemCount();
    const MenuNode* item = m.highlighted >= 0 && m.highlighted < items ? m.current->children[m.highlighted] : nullptr;
    if (onScreen("profiles") && key == platform::VkEnter && item && std::string_view(item->name) == "newprofile" &&
        player::g_playerData.count >= player::kMaxPlayers) {
        sound::playSound("gaf.ogg");
        return;
    }
    if (onScreen("levelcomplete")) {
        if (key == platform::VkEscape) key = platform::VkEnter;
        if (key == platform::VkEnter && m.count.stat < 4) {
            m.count.finishCount = true;
            return;
        }
    }
    if (onScreen("hiscore") && (key == platform::VkLeft || key == platform::VkRight)) {
        m.shownTable = (m.shownTable + (key == platform::VkLeft ? 2 : 1)) % 3;
        sound::playSound("menu.ogg");
    }
    if (onScreen("credits")) key = platform::VkEscape;
    if (onScreen("gameplaytip") && key == platform::VkEscape) key = platform::VkEnter;
    if (key == platform::VkEscape && (onScreen("loadgamequest") || onScreen("defeat") || onScreen("mode1") ||
                                      onScreen("mode2") || onScreen("mode3")))
        return;
    switch (key) {
        case platform::VkEnter:
            if (item) {
                sound::playSound("menu.ogg");
                m.activationPending = true;
                startFadeOut();
            } else if (m.hoveredWidget >= 0) {
                toggleHoveredFlag();
            }
            return;
        case platform::VkEscape:
            if (onScreen("newprofile") || onScreen("messageboxok")) return;
            m.backPending = true;
            startFadeOut();
            m.highlighted = 0;
            return;
        case platform::VkSpace:
            if (!m.textEntry) toggleHoveredFlag();
            return;
        case platform::VkLeft:
        case platform::VkUp:
            if (items > 0) m.highlighted = m.highlighted <= 0 ? items - 1 : m.highlighted - 1;
            return;
        case platform::VkRight:
        case platform::VkDown:
            if (items > 0) m.highlighted = (m.highlighted + 1) % items;
            return;
        default: return;
    }
}

// The hook of the current screen, or the default list.
void runScreen() {
    MenuState& m = g_menu;
    MenuNode* screen = m.current;
    if (!screen) return;
    if (screen->hook) {
        screen->hook(*screen);
        return;
    }
    if (screen->childCount == 0) return;
    const std::string_view name = screen->name;
    if (name == "gameplay" || name == "defeat" || name == "replayloss")
        drawList(0, 500 * m.fade * m.fade, 18, true);
    else
        drawList(230, 150 + m.slide, 18, true);
}

ItemBox* nextBox() {
    MenuState& m = g_menu;
    if (m.painting) return nullptr;
    if (m.boxCount >= kMaxItemBoxes) return nullptr;
    return &m.boxes[m.boxCount++];
}

// The index the next item box will take (in either pass).
int nextBoxIndex() { return g_menu.painting ? g_menu.paintBoxIndex : g_menu.boxCount; }
void countPaintedBox() {
    if (g_menu.painting) ++g_menu.paintBoxIndex;
}

void drawItemText(float x, float baseline, float size, std::string_view text, bool highlighted, bool centred,
                  int alpha) {
    if (highlighted) {
        const base::Color32 h{highlightArgb()};
        const base::Color32 g{glowArgb()};
        gfx::setTextColor(h.r(), h.g(), h.b(), alpha);
        gfx::drawTextWithHighlight(x, baseline, size, base::Color32(g.r(), g.g(), g.b(), g.a() * alpha / 255).argb, text,
                                   centred);
    } else {
        gfx::setTextColor(255, 255, 255, alpha);
        gfx::drawText(x, baseline, size, text, centred);
    }
    gfx::setTextColor(255, 255, 255, 255);
}

}  // namespace

// ---------------------------------------------------------------------------

const char* menuText(std::string_view key) {
    const char* t = data::findText(key);
    if (!t) {
        base::noteLookupMiss(base::LookupKind::Text, key);
        return "";
    }
    return t;
}

uint32_t highlightArgb() { return gfx::highlightColor(g_menu.clockMs); }
uint32_t glowArgb() { return gfx::glowColor(g_menu.clockMs); }

void resetMenus() {
    const int view = g_menu.backgroundView;
    g_menu = MenuState{};
    g_menu.backgroundView = view;
}

bool fadeRunning() { return g_menu.fadingIn || g_menu.fadingOut; }

void openScreen(MenuNode* node) {
    MenuState& m = g_menu;
    if (fadeRunning() || !node) return;
    m.current = node;
    m.hoveredWidget = -1;
    m.boxCount = 0;
    m.widgetCount = 0;
    m.fadingIn = true;
    m.fadingOut = false;
    m.fade = 1;
    m.slide = kSlideInUnits;
    m.screenClockMs = 0;
    m.hidden = false;
    onScreenEnter(*node);
    m.highlighted = 0;
    m.fadeTimerMs = 0;
}

void openScreen(std::string_view name) { openScreen(findNode(name)); }

void closeScreen() {
    if (!g_menu.current) return;
    startFadeOut();
}

void showMessageBox(std::string_view text, bool okOnly) {
    MenuState& m = g_menu;
    base::copyText(m.message, text);
    MenuNode* box = findNode(okOnly ? "messageboxok" : "messageboxyn");
    if (!box) return;
    box->parent = m.current;
    // The box follows the fade-out that activated the item.
    m.fadingIn = m.fadingOut = false;
    openScreen(box);
}

void stepMenus(float dtMs) {
    MenuState& m = g_menu;
    gfx::screenToWorldCursor(&m.pointer.x, &m.pointer.y);
    m.count.clockMs += dtMs;
    if (m.fadingOut) {
        const float a = m.fadeTimerMs / kFadeMs;
        m.fade = a;
        m.slide = kSlideOutUnits * a * a;
        m.fadeTimerMs += dtMs;
        if (m.fadeTimerMs > kFadeMs) {
            m.fade = 1;
            m.slide = kSlideOutUnits;
            m.fadingOut = false;
            if (m.activationPending) {
                m.activationPending = false;
                activateItem();
            }
            if (m.backPending) {
                m.backPending = false;
                goBack();
            }
        }
    } else if (m.fadingIn) {
        const float a = 1 - m.fadeTimerMs / kFadeMs;
        m.fade = a;
        m.slide = kSlideInUnits * a * a;
        m.fadeTimerMs += dtMs;
        if (m.fadeTimerMs > kFadeMs) {
            m.fade = 0;
            m.slide = 0;
            m.fadingIn = false;
        }
    }
    if (m.highlighted != m.previousHighlighted && m.highlighted >= 0 && m.fade == 0) sound::playSound("menu2.ogg");
    m.previousHighlighted = m.highlighted;
    m.clockMs += dtMs;
    m.screenClockMs += dtMs;
    if (!fadeRunning()) {
        detectHover();
        stepHoverFallback(dtMs);
        m.pointerMoved = false;
        dragSliders();
        processKey();
    }
    stepScreen(dtMs);

    // The layout pass: the hook registers this frame's boxes and widgets.
    m.painting = false;
    m.boxCount = 0;
    m.widgetCount = 0;
    runScreen();
}

void drawMenus() {
    MenuState& m = g_menu;
    if (!m.current) return;
    gfx::begin2D();
    m.painting = true;
    m.paintBoxIndex = 0;
    m.paintWidgetIndex = 0;
    runScreen();
    m.painting = false;
}

void menuPointerMoved() { g_menu.pointerMoved = true; }

void menuButtonDown() {
    MenuState& m = g_menu;
    gfx::screenToWorldCursor(&m.pointer.x, &m.pointer.y);
    if (m.hidden) {
        m.hidden = false;
        openScreen("main");
        return;
    }
    m.buttonHeld = true;
    m.pointerMoved = true;
    if (fadeRunning() || !m.current) return;
    if (onScreen("credits")) {
        m.pendingKey = platform::VkEnter;
    } else if (detectHover()) {
        m.pendingKey = platform::VkEnter;
    }
    for (int i = 0; i < m.widgetCount; ++i) {
        MenuWidget& w = m.widgets[i];
        if (w.kind == WidgetKind::Slider) {
            const float x = m.pointer.x;
            const bool rows = m.pointer.y <= w.top && m.pointer.y >= w.bottom;
            if (!rows) continue;
            if (x >= w.left - kSliderArrowZone && x < w.left - kSliderGrab) {
                if (w.value > 0) --w.value;
                m.hoveredWidget = i;
            } else if (x <= w.right + kSliderArrowZone && x > w.right + kSliderGrab) {
                if (w.value < w.steps - 1) ++w.value;
                m.hoveredWidget = i;
            } else if (inside(w.left - kSliderGrab, w.top, w.right + kSliderGrab, w.bottom, m.pointer)) {
                m.hoveredWidget = i;
            }
            continue;
        }
        if (w.kind == WidgetKind::LevelMark) {
            if (inside(w.left, w.top, w.right, w.bottom, m.pointer) && (allLevelsOpen() || i <= currentProgress())) {
                m.selectedEntry = i;
                m.hoveredWidget = i;
            }
            continue;
        }
        if (!strictlyInside(w, m.pointer)) continue;
        switch (w.kind) {
            case WidgetKind::CheckBox:
            case WidgetKind::ToggleWithEntry:
                w.flag = w.flag ? 0 : 1;
                m.hoveredWidget = i;
                if (w.kind == WidgetKind::ToggleWithEntry) m.textEntry = true;
                break;
            case WidgetKind::HotSpot:
            case WidgetKind::PlayerEntry: m.hoveredWidget = i; break;
            case WidgetKind::LeftArrow: m.pendingKey = platform::VkLeft; break;
            case WidgetKind::RightArrow: m.pendingKey = platform::VkRight; break;
            case WidgetKind::PlayerLink: openPlayerList(); break;
            default: break;
        }
    }
}

void menuButtonUp() { g_menu.buttonHeld = false; }

void menuDoubleClick() {
    MenuState& m = g_menu;
    gfx::screenToWorldCursor(&m.pointer.x, &m.pointer.y);
    if (!fadeRunning() && m.current && !m.hidden) {
        for (int i = 0; i < m.widgetCount; ++i) {
            const MenuWidget& w = m.widgets[i];
            if (!inside(w.left, w.top, w.right, w.bottom, m.pointer)) continue;
            if (w.kind == WidgetKind::LevelMark && (allLevelsOpen() || i <= currentProgress())) {
                m.selectedEntry = m.hoveredWidget = i;
                m.highlighted = 0;
                m.pendingKey = platform::VkEnter;
                return;
            }
            if (w.kind == WidgetKind::PlayerEntry) {
                m.hoveredWidget = i;
                m.highlighted = std::max(0, childIndex(*m.current, "selectprofile"));
                m.pendingKey = platform::VkEnter;
                return;
            }
        }
    }
    menuButtonDown();
}

void menuKeyDown(int virtualKey) {
    if (fadeRunning()) return;
    g_menu.pendingKey = virtualKey;
}

// ---------------------------------------------------------------------------
// What the hooks build with

MenuWidget& addWidget(WidgetKind kind, float left, float top, float right, float bottom) {
    MenuState& m = g_menu;
    static MenuWidget scratch;  // past the table: drawn, never registered
    if (m.painting) {
        if (m.paintWidgetIndex >= kMaxWidgets) return scratch;
        return m.widgets[m.paintWidgetIndex++];
    }
    if (m.widgetCount >= kMaxWidgets) {
        scratch = {};
        return scratch;
    }
    MenuWidget& w = m.widgets[m.widgetCount++];
    w.left = left;
    w.top = top;
    w.right = right;
    w.bottom = bottom;
    w.kind = kind;
    return w;
}

int widgetIndex(const MenuWidget& w) {
    const MenuWidget* first = g_menu.widgets;
    return &w >= first && &w < first + kMaxWidgets ? int(&w - first) : -1;
}

void drawAtlasCell(int cell, float x, float y, float scale, uint32_t argb, bool additive) {
    if (!g_menu.painting || cell < 0 || cell >= 24) return;
    const AtlasCell& c = kAtlas[cell];
    const CellUv uv = cellUv(cell);
    const float w = c.width * kCellUnits * scale, h = c.height * kCellUnits * scale;
    gfx::setTexture(atlas());
    if (additive) gfx::setBlendMode(1);
    gfx::drawRect(x - w / 2, y + h / 2, x + w / 2, y - h / 2, uv.u0, uv.v0, uv.u1, uv.v1, argb, kTextDepth);
    if (additive) gfx::setBlendMode(0);
}

bool addSlider(float leftX, float rightX, float y, int steps, int& value) {
    MenuState& m = g_menu;
    MenuWidget& w = addWidget(WidgetKind::Slider, leftX, y + 15, rightX, y - 15);
    bool changed = false;
    if (!m.painting) {
        w.steps = int16_t(std::max(1, steps));
        if (m.fadingIn) {
            w.value = int16_t(std::clamp(value, 0, steps - 1));
        } else if (value != w.value) {
            value = w.value;
            changed = true;
        }
        return changed;
    }
    const int alpha = fadeAlpha();
    const uint32_t white = base::Color32(255, 255, 255, alpha).argb;
    const CellUv track = cellUv(kCellTrack);
    gfx::setTexture(atlas());
    gfx::drawRect(leftX, y + kCellUnits / 2, rightX, y - kCellUnits / 2, track.u0, track.v0, track.u1, track.v1, white,
                  kTextDepth);
    drawAtlasCell(kCellLeftArrow, leftX - kCellUnits * 0.75f, y, 0.5f, white);
    drawAtlasCell(kCellRightArrow, rightX + kCellUnits * 0.75f, y, 0.5f, white);
    const float knobX = steps > 1 ? leftX + w.value * (rightX - leftX) / float(steps - 1) : leftX;
    drawAtlasCell(kCellKnob, knobX, y, 0.75f, white);
    return false;
}

bool addCheckBox(float x, float y, uint8_t& flag, std::string_view label, float labelSize) {
    MenuState& m = g_menu;
    MenuWidget& w = addWidget(WidgetKind::CheckBox, x - 32, y + 32, x + 32, y - 32);
    bool changed = false;
    if (!m.painting) {
        if (m.fadingIn) {
            w.flag = flag;
        } else if (flag != w.flag) {
            flag = w.flag;
            changed = true;
        }
        return changed;
    }
    const int alpha = fadeAlpha();
    drawAtlasCell(w.flag ? kCellTicked : kCellEmpty, x, y, 0.75f, base::Color32(255, 255, 255, alpha).argb);
    if (!label.empty()) drawMenuText(x + 15 + 24, y - labelSize * 0.3f, labelSize,
                                     base::Color32(255, 255, 255, alpha).argb, label, false);
    return false;
}

float widestItem(const MenuNode& screen, float size, int first, int last) {
    const int n = int(screen.childCount);
    if (last < 0 || last >= n) last = n - 1;
    float widest = 0;
    for (int i = std::max(0, first); i <= last; ++i)
        widest = std::max(widest, gfx::textWidth(screen.children[i]->text, size));
    return widest;
}

void drawList(float x, float y, float size, bool centred, int first, int last, bool panel) {
    MenuState& m = g_menu;
    const MenuNode* screen = m.current;
    if (!screen) return;
    const int n = int(screen->childCount);
    if (last < 0 || last >= n) last = n - 1;
    first = std::max(0, first);
    const int count = last - first + 1;
    if (count <= 0) return;
    const float widest = widestItem(*screen, size, first, last);
    const float height = 2 * size * count;
    if (panel) {
        const float a = 1 - m.fade * m.fade;
        drawPanel(x - (widest + 64) / 2, y + (height + 64) / 2, x + (widest + 64) / 2, y - (height + 64) / 2, a);
    }
    const float textX = centred ? x : x - widest / 2 + size;
    float baseline = y + height / 2 - size;
    const int alpha = fadeAlpha();
    for (int i = first; i <= last; ++i) {
        const int index = nextBoxIndex();
        if (ItemBox* box = nextBox()) {
            box->left = x - size - (centred ? widest / 2 : 0);
            box->right = x + widest - (centred ? widest / 2 : 0);
            box->top = baseline + 1.2f * size;
            box->bottom = baseline - 0.8f * size;
        }
        countPaintedBox();
        if (m.painting) drawItemText(textX, baseline, size, screen->children[i]->text, index == m.highlighted,
                                     centred, alpha);
        baseline -= 2 * size;
    }
}

void drawButton(float x, float y, float width, float height, float textSize, const char* text) {
    MenuState& m = g_menu;
    const int index = nextBoxIndex();
    if (ItemBox* box = nextBox()) *box = {x - width / 2, y + height / 2, x + width / 2, y - height / 2};
    countPaintedBox();
    if (!m.painting) return;
    const char* caption = text;
    if (!caption) caption = m.current && index < int(m.current->childCount) ? m.current->children[index]->text : "";
    gfx::setColorMultiplier(1, 1, 1, 1 - m.fade);
    gfx::drawMenuButton(x, y, width, height, textSize, caption, index == m.highlighted);
    gfx::setColorMultiplier(1, 1, 1, 1);
}

void drawPanel(float left, float top, float right, float bottom, float alpha) {
    if (!g_menu.painting) return;
    const int a = std::clamp(int(255 * alpha), 0, 255);
    // The fill, inside the frame's moulding.
    const float inset = 12;
    gfx::setTexture(gfx::loadTexture("white.jpg"));
    gfx::drawRect(left + inset, top - inset, right - inset, bottom + inset, 0, 0, 1, 1,
                  base::Color32(55, 15, 0, 200 * a / 255).argb, kTextDepth);
    const uint32_t white = base::Color32(255, 255, 255, a).argb;
    gfx::setTexture(atlas());
    const float c = kCellUnits;
    // Edges between the corners, tiled in whole pieces and a cut last one.
    auto tileX = [&](int cell, float y0, float y1) {
        const CellUv uv = cellUv(cell);
        const float piece = 2 * c;
        for (float x = left + c; x < right - c; x += piece) {
            const float x1 = std::min(x + piece, right - c);
            const float u1 = uv.u0 + (uv.u1 - uv.u0) * (x1 - x) / piece;
            gfx::drawRect(x, y0, x1, y1, uv.u0, uv.v0, u1, uv.v1, white, kTextDepth);
        }
    };
    auto tileY = [&](int cell, float x0, float x1) {
        const CellUv uv = cellUv(cell);
        const float piece = 2 * c;
        for (float y = top - c; y > bottom + c; y -= piece) {
            const float y1 = std::max(y - piece, bottom + c);
            const float v1 = uv.v0 + (uv.v1 - uv.v0) * (y - y1) / piece;
            gfx::drawRect(x0, y, x1, y1, uv.u0, uv.v0, uv.u1, v1, white, kTextDepth);
        }
    };
    tileX(kCellTopEdge, top, top - c);
    tileX(kCellBottomEdge, bottom + c, bottom);
    tileY(kCellLeftEdge, left, left + c);
    tileY(kCellRightEdge, right - c, right);
    const float w = std::min(c, (right - left) / 2), h = std::min(c, (top - bottom) / 2);
    auto corner = [&](int cell, float x0, float y0) {
        const CellUv uv = cellUv(cell);
        gfx::drawRect(x0, y0, x0 + w, y0 - h, uv.u0, uv.v0, uv.u1, uv.v1, white, kTextDepth);
    };
    corner(kCellTopLeft, left, top);
    corner(kCellTopRight, right - w, top);
    corner(kCellBottomLeft, left, bottom + h);
    corner(kCellBottomRight, right - w, bottom + h);
    // The glints run round the corners.
    const float t = 0.0005f * g_menu.clockMs;
    const base::Vec2 corners[4] = {{left + 12, top - 12}, {right - 12, top - 12}, {right - 12, bottom + 12},
                                   {left + 12, bottom + 12}};
    for (int k = 0; k < 4; ++k) {
        const float s = 0.5f + 0.5f * std::sin(t + k * base::kPi / 2);
        const int g = int(255 * s * alpha);
        drawAtlasCell(kCellGlint, corners[k].x, corners[k].y, 0.75f, base::Color32(g, g, g, g).argb, true);
    }
}

void drawMenuText(float x, float y, float size, uint32_t argb, std::string_view text, bool centred) {
    if (!g_menu.painting) return;
    const base::Color32 c{argb};
    gfx::setTextColor(c.r(), c.g(), c.b(), c.a() * fadeAlpha() / 255);
    gfx::drawText(x, y, size, text, centred);
    gfx::setTextColor(255, 255, 255, 255);
}

void drawHoverGlow() {
    const MenuState& m = g_menu;
    if (!m.painting || m.widgetCount == 0 || m.hoveredWidget < 0 || m.hoveredWidget >= m.widgetCount) return;
    const MenuWidget& w = m.widgets[m.hoveredWidget];
    const float s = pulse(0.008f);
    gfx::setTexture(nullptr);
    gfx::drawRect(w.left - 32, w.top + 16, w.right + 32, w.bottom - 16, 0, 0, 1, 1,
                  base::Color32(255, 200, 100, int((50 + 30 * s) * (1 - m.fade))).argb, kTextDepth);
}

void drawMenuPointerAt(base::Vec2 p, float scale, float pointerClockMs) {
    const bool wasPainting = g_menu.painting;
    g_menu.painting = true;
    const int glow = std::clamp(int((1 + std::sin(0.005f * pointerClockMs)) * 127.5f), 0, 255);
    drawAtlasCell(kCellPointerGlow, p.x + 30 * scale, p.y - 32 * scale, scale, base::Color32(255, 255, 255, glow).argb);
    drawAtlasCell(kCellPointer, p.x + 30 * scale, p.y - 32 * scale, scale, 0xFFFFFFFFu);
    g_menu.painting = wasPainting;
}

void drawMenuPointer(int kind, float pointerClockMs) {
    base::Vec2 p;
    gfx::screenToWorldCursor(&p.x, &p.y);
    if (p.x < -400 || p.x > 400 || p.y < -300 || p.y > 300) return;
    gfx::begin2D();
    if (kind == 1) {
        gfx::setTexture(gfx::loadTexture("cursorhammer.tga"));
        gfx::drawRect(p.x + 28 - 32, p.y - 14 + 32, p.x + 28 + 32, p.y - 14 - 32, 0, 0, 1, 1, 0xFFFFFFFFu, kTextDepth);
        return;
    }
    drawMenuPointerAt(p, 1, pointerClockMs);
    if (kind == 2) {
        gfx::setTexture(gfx::loadTexture("question.tga"));
        gfx::drawRect(p.x + 23 - 20, p.y - 56 + 20, p.x + 23 + 20, p.y - 56 - 20, 0, 0, 1, 1, 0xFFFFFFFFu,
                      kTextDepth);
    }
}

}  // namespace tessaly::menus
