#include "game/play_host.h"

#include <algorithm>
#include <string>

#include "data/text.h"
#include "fx/floating_text.h"
#include "fx/particles.h"
#include "fx/sparks.h"
#include "game/panel.h"
#include "game/play_screen.h"
#include "gfx/message_line.h"

namespace tessaly::game {

namespace {

constexpr int kStagesInGame = kLevelCount / kLevelsPerStage;
constexpr int kAimSparkBurst = 0;     // a ring of five stars where the ball is sent
// Sparks that glow (additive), so they read on the light board and on the
// dark panel alike.
constexpr int kTrailSparkPreset = 0;  // white twinkles circling off behind the flying ball
constexpr int kBarSparkPreset = 17;   // coloured sparks thrown off the level bar's leading edge

}  // namespace

LevelAdvance advancePlayer(DefaultPlayer& player, int mode) {
    LevelAdvance advance;
    const int current = player.levelByMode[mode];
    const int next = std::min(current + 1, kLevelCount - 1);
    player.bestLevel[mode] = std::max(player.bestLevel[mode], next);
    int stage = current / kLevelsPerStage;
    int inStage = current % kLevelsPerStage + 1;
    if (inStage == kLevelsPerStage) {
        inStage = 0;
        ++stage;
        advance.stageCompleted = true;
        if (stage >= kStagesInGame) {
            stage = 0;
            advance.gamePassed = true;
        }
    }
    player.levelByMode[mode] = stage * kLevelsPerStage + inStage;
    return advance;
}

void DefaultPlayer::setCurrentLevel(int mode, int level) {
    levelByMode[mode] = level;
    bestLevel[mode] = std::max(bestLevel[mode], level);
}

bool DefaultPlayer::tipShown(Tip tip) {
    const int i = int(tip);
    return i < 0 || i >= kTipCount || tipsShown[i];
}

void DefaultPlayer::markTipShown(Tip tip) {
    const int i = int(tip);
    if (i >= 0 && i < kTipCount) tipsShown[i] = true;
}

bool DefaultPlayer::takeShowHelp(int mode) {
    const bool was = showHelp[mode];
    showHelp[mode] = false;
    return was;
}

LevelAdvance DefaultPlayer::recordLevelComplete(int mode, const LevelResult& result) {
    (void)result;  // no records are kept for a player that is never saved
    return advancePlayer(*this, mode);
}

void DefaultPlayer::resetProgress(int mode) {
    livesByMode[mode] = kStartLives;
    scoreByMode[mode] = 0;
    levelByMode[mode] -= levelByMode[mode] % kLevelsPerStage;
}

int PlayHost::lives() { return m_player->lives(mode()); }
void PlayHost::addLife() { m_player->setLives(mode(), lives() + 1); }
void PlayHost::takeLife() { m_player->setLives(mode(), lives() - 1); }
void PlayHost::setLives(int count) { m_player->setLives(mode(), count); }
int PlayHost::totalScore() { return m_player->score(mode()); }
void PlayHost::addToTotalScore(int points) { m_player->setScore(mode(), totalScore() + points); }
bool PlayHost::tipShown(Tip tip) { return m_player->tipShown(tip); }
void PlayHost::markTipShown(Tip tip) { m_player->markTipShown(tip); }

int PlayHost::furthestLevel() {
    int furthest = 0;
    for (int m = 0; m < kModeCount; ++m) furthest = std::max(furthest, m_player->progress(m));
    return furthest;
}

int PlayHost::currentStage() { return m_player->currentLevel(mode()) / kLevelsPerStage; }

LevelAdvance PlayHost::recordLevelComplete(const LevelResult& result) {
    return m_player->recordLevelComplete(mode(), result);
}

void PlayHost::dropSavedGame() { m_player->dropSavedGame(mode()); }
void PlayHost::saveProfiles() { m_player->save(); }
bool PlayHost::takeShowHelpFlag() { return m_player->takeShowHelp(mode()); }

void PlayHost::openScreen(std::string_view name) {
    if (g_playHooks.openScreen) g_playHooks.openScreen(name);
}

void PlayHost::leavePlay(std::string_view menuScreen, int preselectMode) {
    if (g_playHooks.leavePlay) {
        g_playHooks.leavePlay(menuScreen, preselectMode);
        return;
    }
    // Without the menus play goes on at the player's new position.
    playCurrentLevel(*this);
}

bool PlayHost::gameScreenCurrent() { return screenIsCurrent ? screenIsCurrent() : true; }

bool PlayHost::overlayOpen() {
    return g_playHooks.menuOpen && g_playHooks.menuOpen();
}

void PlayHost::playEffect(std::string_view name, base::Vec2 at, int kind) {
    (void)kind;
    fx::startEffectByName(name, at.x, at.y);
    if (name == "chain1") addChainSnap(m_view, at);
    if (name == "hammer") m_view.strike = {at, 0};
}

void PlayHost::floatingText(std::string_view text, TextSource source, base::Vec2 at, float size,
                            float durationMs) {
    if (source == TextSource::Key) {
        const char* shown = data::findText(text);
        if (!shown) return;
        fx::addFloatingText(shown, at.x, at.y, size, durationMs);
        return;
    }
    fx::addFloatingText(text, at.x, at.y, size, durationMs);
}

void PlayHost::scorePopup(base::Vec2 at, int points) { addScorePopup(m_view, at, points); }

void PlayHost::showMessage(std::string_view key) {
    if (const char* text = data::findText(key)) gfx::showMessage(text);
}

void PlayHost::showTip(std::string_view name, base::Vec2 at, float durationMs, CellRef cell) {
    queueTip(m_view.tips, firstTimeTip(name, at, durationMs, cell));
}

bool PlayHost::tipOpen() { return tipIsOpen(m_view.tips); }

void PlayHost::aimMarker(base::Vec2 at) { fx::sparkBurstAt(at.x, at.y, kAimSparkBurst); }

void PlayHost::flightTrail(base::Vec2 at) { fx::spawnSpark(at.x, at.y, kTrailSparkPreset); }

void PlayHost::bonusFlash(int kind, base::Vec2 at) {
    const char* effect = kind == kSuperbomb ? "addbomb2" : kind == kDiamond ? "adddiamond" : "addbomb1";
    fx::startEffectByName(effect, at.x, at.y);
}

void PlayHost::levelBarSparkle() {
    const base::Vec2 edge = levelBarEdge(m_game.barShown);
    fx::spawnSpark(edge.x, edge.y, kBarSparkPreset);
}

void PlayHost::setScene(int variant) { m_view.scene = std::clamp(variant, 0, kSceneCount - 1); }

void PlayHost::advanceScene(int variant) { setScene(variant); }

// ---------------------------------------------------------------------------

void addScorePopup(PlayView& view, base::Vec2 at, int points) {
    view.popups[size_t(view.nextPopup)] = {at, points, 0};
    view.nextPopup = (view.nextPopup + 1) % kMaxScorePopups;
}

void addChainSnap(PlayView& view, base::Vec2 at) {
    view.snaps[size_t(view.nextSnap)] = {at, kChainSnapMs};
    view.nextSnap = (view.nextSnap + 1) % kMaxChainSnaps;
}

}  // namespace tessaly::game
