#include "shell/title_screen.h"

#include <algorithm>
#include <cmath>

#include "base/loading.h"
#include "data/text.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"
#include "shell/frame_loop.h"
#include "shell/hooks.h"
#include "shell/menu_screen.h"
#include "sound/sound.h"

namespace tessaly::shell {

namespace {

// The title tune, started with the title and kept through the menus.
constexpr int kTitleTune = 2;

// The loading picture fills the frame; it sits in the top-left 800 x 600 of
// a 1024 x 1024 texture.
constexpr float kLoadScreenU = 800.0f / 1024.0f;
constexpr float kLoadScreenV = 600.0f / 1024.0f;

// The bar: 310 x 48 units, its left end 155 units left of x = 6, between
// y = -243 and -291; its picture sits in a 512 x 64 texture.
constexpr float kBarWidth = 310;
constexpr float kBarLeft = 6 - kBarWidth / 2;
constexpr float kBarTop = -243;
constexpr float kBarBottom = -291;
constexpr float kBarTextureWidth = 512;
constexpr float kBarV = 48.0f / 64.0f;
constexpr float kBarDepth = 10;
constexpr const char* kPressAnyKey = "Press any key...";

// The bolts either side of the prompt's centre line, one sheet cell.
constexpr float kBoltCentreX = 12, kBoltCentreY = -78, kBoltOffsetX = 26;
constexpr int kBoltCell = 12;
constexpr int kBlendAlpha = 0, kBlendAdditive = 1;

// The prompt in the player's language; the English words while the text
// tables are not read yet, or when they lack it.
const char* pressAnyKeyText() {
    const char* text = data::g_texts.count > 0 ? data::findText("presskey") : nullptr;
    return text ? text : kPressAnyKey;
}

uint8_t toByte(float v) { return uint8_t(std::clamp(v, 0.0f, 255.0f)); }

uint32_t argb(int r, int g, int b, int a) {
    return (uint32_t(a & 0xFF) << 24) | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) |
           uint32_t(b & 0xFF);
}

}  // namespace

void TitleScreen::loadResources() {
    m_loadScreen = gfx::loadImageTexture("loadscreen.jpg", 800, 600);
    m_loadBar = gfx::loadImageTexture("loadbar.jpg", 310, 48);
    m_tint = 0xFFFFFFFFu;
    gfx::g_draw.device->setRenderState(platform::RenderState::Cull, platform::CullNone);
}

float TitleScreen::progress() const {
    if (m_musicStarted) return 1.0f;
    return float(double(base::g_loading.loadedBytes) / double(kExpectedLoadBytes));
}

void TitleScreen::drawLoadingScreen() {
    gfx::begin2D();
    gfx::setTextColor(255, 255, 255, 255);
    // While the pictures themselves load, their quads show the plain tint.
    gfx::setTexture(m_loadScreen);
    gfx::drawPixelRect(0, 0, 800, 600, 0, 0, kLoadScreenU, kLoadScreenV, m_tint);
    const float p = progress();
    gfx::setTexture(m_loadBar);
    gfx::drawRect(kBarLeft, kBarTop, kBarLeft + kBarWidth * p, kBarBottom, 0.001f, 0.001f,
                  p * kBarWidth / kBarTextureWidth, kBarV, m_tint, kBarDepth);
}

void TitleScreen::afterFrame() {
    // The first key or click starts the fade; later ones do not restart it.
    if (lastKey != 0 && m_fadeClockMs == 0) m_fadeClockMs = 1;
}

void TitleScreen::step(float step) {
    if (!m_musicStarted) {
        sound::switchTuneNow(kTitleTune);
        m_musicStarted = true;
    }
    m_titleClockMs += step;
    if (m_fadeClockMs > 0) {
        m_fadeClockMs += step;
        if (m_fadeClockMs > kTitleFadeMs) {
            m_fadeClockMs = kTitleFadeMs;
            requestScreen(&g_menuScreen);
            sound::requestTune(kTitleTune);  // already playing: the music goes on
            if (g_hooks.openFirstMenu) g_hooks.openFirstMenu();
        }
    }
    const float fade = m_fadeClockMs / kTitleFadeMs;
    const int grey = toByte(255 - fade * 255);
    m_tint = argb(grey, grey, grey, 255);
}

void TitleScreen::draw() {
    const float fade = m_fadeClockMs / kTitleFadeMs;
    gfx::g_draw.device->clear(platform::ClearColor, 0xFF000000u, 1.0f, 0);
    drawLoadingScreen();
    gfx::begin2D();
    gfx::g_draw.device->setTransform(platform::TransformKind::View, gfx::g_camera.view);

    const float t = m_titleClockMs;
    const float g = std::min(t / 1500.0f, 1.0f);
    const float s = 10.0f * std::sin(0.001f * t);
    const int p = toByte((g * 220.0f - 3.0f * s) * (1.0f - fade));
    // The bolts grow in over the first 1.5 s and keep swaying: the sway
    // turns them and changes their size together.
    const uint32_t boltColor = argb(p / 2, p, p / 2, p);
    const float rotation = g * 160.0f + s;
    const float size = s + g * 90.0f;
    gfx::drawSheetSprite(kBoltCentreX - kBoltOffsetX, kBoltCentreY, rotation, size, boltColor,
                         kBlendAdditive, kBoltCell);
    gfx::drawSheetSprite(kBoltCentreX + kBoltOffsetX, kBoltCentreY, rotation, size, boltColor,
                         kBlendAdditive, kBoltCell);
    gfx::setBlendMode(kBlendAlpha);

    gfx::setTextColor(255, 255, toByte(200.0f + 55.0f * std::sin(0.02f * t)),
                      toByte((1.0f - fade) * 255.0f));
    // Centred on the loading bar it stands on.
    gfx::drawTextCentred(kBarLeft + kBarWidth / 2, (kBarTop + kBarBottom) / 2, 15.0f + 0.1f * std::sin(0.01f * t),
                         pressAnyKeyText());
}

void drawLoadingFrame() {
    platform::Device* device = gfx::g_draw.device;
    g_titleScreen.drawLoadingScreen();
    device->present();
    g_loop.lastLoadingFrameUs = platform::microseconds();
    ++g_loop.loadingFrames;
}

void drawLoadingFrameAtRefresh() {
    const uint64_t sinceLast = platform::microseconds() - g_loop.lastLoadingFrameUs;
    if (g_loop.lastLoadingFrameUs != 0 && sinceLast < g_loop.pacer.intervalUs) return;
    drawLoadingFrame();
}

}  // namespace tessaly::shell
