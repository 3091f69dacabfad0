// "levelcomplete": the level's values count up beside the level's records;
// "hiscore": the top ten of a mode.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/format_text.h"
#include "fx/particles.h"
#include "game/game_state.h"
#include "gfx/font.h"
#include "menus/menu_flow.h"
#include "menus/menu_runtime.h"
#include "menus/menu_screens.h"
#include "player/player_data.h"
#include "sound/sound.h"

namespace tessaly::menus {

namespace {

constexpr int kStatCount = 4;
constexpr float kMaxScoreCountMs = 2500.0f;
constexpr float kTickMs = 100.0f;
constexpr float kPanelWidth = 550, kPanelHeight = 445;
constexpr float kRowsTop = kPanelHeight / 2 - 130, kRowGap = 60;
constexpr uint32_t kTitleColour = 0xFFFFFF9Bu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr const char* kModeTitles[3] = {"classicmode", "puzzlemode", "actionmode"};

uint32_t rgb(int r, int g, int b, int a = 255) { return base::Color32(r, g, b, a).argb; }

int statValue(int stat) {
    const game::GameState& g = game::g_game;
    switch (stat) {
        case 0: return g.levelScore;
        case 1: return g.maxCombo;
        case 2: return g.playTimeMs;
        default: return g.movesMade;
    }
}

const player::LevelRecord& levelRecord() {
    const int level = std::clamp(game::g_game.levelIndex, 0, player::kLevelCount - 1);
    return player::g_playerData.records[size_t(currentMode())][size_t(level)];
}

int recordValue(int stat) {
    const player::LevelRecord& r = levelRecord();
    switch (stat) {
        case 0: return r.score;
        case 1: return r.combo;
        case 2: return r.timeMs;
        default: return r.moves;
    }
}

const char* recordHolder(int stat) {
    const player::LevelRecord& r = levelRecord();
    switch (stat) {
        case 0: return r.scoreHolder;
        case 1: return r.comboHolder;
        case 2: return r.timeHolder;
        default: return r.movesHolder;
    }
}

// Time and moves are records when lower; a record of 0 holds nothing yet.
bool matchesRecord(int stat) {
    const int value = statValue(stat), record = recordValue(stat);
    if (stat < 2) return value >= record;
    return record > 0 && value <= record;
}

float statDurationMs(int stat) { return stat == 0 ? std::min(float(statValue(0)), kMaxScoreCountMs) : 0; }

void formatStat(char* out, size_t size, int stat, int value, bool record) {
    if (stat == 2) {
        const int seconds = value / 1000;
        std::snprintf(out, size, record ? "   %.2i:%.2i" : "%.2i:%.2i", seconds / 60, seconds % 60);
    } else {
        std::snprintf(out, size, record ? "   %i" : "%i", value);
    }
}

uint32_t pulsingColour() {
    const float s = 0.5f + 0.5f * std::sin(0.01f * g_menu.count.clockMs);
    return rgb(255, 200, 200, int(128 + 127 * s));
}

}  // namespace

int shownStatValue(int stat) {
    const LevelCompleteCount& c = g_menu.count;
    if (stat < c.stat) return statValue(stat);
    if (stat > c.stat) return 0;
    const float d = statDurationMs(stat);
    return d > 0 ? int(double(statValue(stat)) * std::min(1.0f, c.elapsedMs / d)) : 0;
}

void stepLevelComplete(float dtMs) {
    MenuState& m = g_menu;
    LevelCompleteCount& c = m.count;
    if (m.fadingIn) {
        c = {0, 0, 0, false, c.clockMs};
        return;
    }
    if (c.stat >= kStatCount) return;
    const float d = statDurationMs(c.stat);
    if (c.finishCount) c.elapsedMs = d;
    if (c.elapsedMs <= d) {
        c.tickMs += dtMs;
        if (c.stat == 0 && c.tickMs > kTickMs) {
            sound::playSoundAtRate("score.ogg", int(20000 + 25000 * (d > 0 ? c.elapsedMs / d : 1)));
            c.tickMs -= kTickMs;
        }
        c.elapsedMs += dtMs;
    }
    if (c.elapsedMs >= d) {
        c.finishCount = false;
        if (matchesRecord(c.stat)) {
            sound::playSound("wow.ogg");
            const int effect = fx::findParticleEffect(fx::g_particles, "scorewow");
            const float y = kRowsTop - kRowGap * float(c.stat);
            if (effect >= 0) fx::startEffect(effect, {-0.38f * kPanelWidth + 155, y, 0}, {-0.38f * kPanelWidth + 155, y, 0});
        }
        ++c.stat;
        if (c.stat < kStatCount) c.elapsedMs = 0;
    }
}

void levelCompleteHook(MenuNode& screen) {
    (void)screen;
    const MenuState& m = g_menu;
    const float w = kPanelWidth, h = kPanelHeight;
    const float alpha = 1 - m.fade * m.fade;
    drawPanel(-w / 2, h / 2, w / 2, -h / 2, alpha);
    drawMenuText(0, h / 2 - 67, 19, kTitleColour, menuText("stats"), true);
    static constexpr const char* kLabels[4] = {"yourscore", "yourcombo", "yourtime", "yourmoves"};
    static constexpr const char* kBestLabels[4] = {"bestscore", "bestcombo", "besttime", "bestmoves"};
    for (int stat = 0; stat < kStatCount; ++stat) {
        const float y = kRowsTop - kRowGap * float(stat);
        const char* label = stat == 1 && currentMode() == 1 ? menuText("maxcombo") : menuText(kLabels[stat]);
        const bool held = stat < m.count.stat && matchesRecord(stat);
        const float leftX = -0.38f * w;
        drawMenuText(leftX, y, 13, kWhite, label, false);
        char value[32];
        formatStat(value, sizeof value, stat, shownStatValue(stat), false);
        drawMenuText(leftX + gfx::textWidth(label, 13) + 12, y, 17, held ? pulsingColour() : kWhite, value, false);

        const float rightX = 0.09f * w;
        drawMenuText(rightX, y, 11, kWhite, menuText(kBestLabels[stat]), false);
        char best[32];
        formatStat(best, sizeof best, stat, held ? shownStatValue(stat) : recordValue(stat), true);
        drawMenuText(rightX, y - 20, 14, held ? pulsingColour() : kWhite, best, false);
        char by[64];
        data::formatText(by, sizeof by, menuText("by"), {data::FormatArg(recordHolder(stat))});
        drawMenuText(rightX, y - 40, 11, rgb(255, 255, 100), by, false);
    }
    drawButton(0, -h / 2 + 55, 170, 64, 19, "OK");
}

void hiscoreHook(MenuNode& screen) {
    const MenuState& m = g_menu;
    const float alpha = 1 - m.fade * m.fade;
    drawPanel(-235, 225, 235, -225, alpha);
    drawMenuText(-70, 165, 21, kTitleColour, screen.text, true);
    const int table = std::clamp(m.shownTable, 0, 2);
    drawMenuText(110, 165, 17, kWhite, menuText(kModeTitles[table]), true);
    const player::ProfileRecord* p = player::currentProfile(player::g_playerData);
    const auto& rows = player::g_playerData.hiscores[size_t(table)];
    float y = 115;
    for (int i = 0; i < player::kHiscoreRanks; ++i, y -= 25) {
        const player::HiscoreEntry& e = rows[size_t(i)];
        const bool mine = p && e.name[0] && std::strcmp(e.name, p->name) == 0;
        const uint32_t colour = mine ? highlightArgb() : kWhite;
        drawMenuText(-164.5f, y, 12, colour, e.name, false);
        char score[16];
        std::snprintf(score, sizeof score, "%i", e.score);
        drawMenuText(94, y, 12, colour, score, false);
    }
    const float buttonY = y - 30 + 25;
    drawButton(0, buttonY, 170, 64, 19, "OK");
    addWidget(WidgetKind::LeftArrow, -150 - 25, buttonY + 25, -150 + 25, buttonY - 25);
    addWidget(WidgetKind::RightArrow, 150 - 25, buttonY + 25, 150 + 25, buttonY - 25);
    const uint32_t white = rgb(255, 255, 255, int(255 * alpha));
    drawAtlasCell(14, -150, buttonY, 50.0f / 64, white);
    drawAtlasCell(15, 150, buttonY, 50.0f / 64, white);
}

}  // namespace tessaly::menus
