#include "menus/menu_flow.h"

#include <algorithm>
#include <cstring>

#include "base/copy_text.h"
#include "data/registry.h"
#include "fx/scene.h"
#include "game/flow.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "menus/help_demo.h"
#include "menus/menu_runtime.h"
#include "menus/menu_screens.h"
#include "player/player_data.h"
#include "player/profile_seat.h"
#include "player/saved_games.h"
#include "sound/sound.h"

namespace tessaly::menus {

namespace {

constexpr int kMenuTune = 2;      // the title's tune goes on through the menus
constexpr int kModeScreenTune = 6;
constexpr const char* kModeScreens[3] = {"mode1", "mode2", "mode3"};
constexpr float kStageTextMs = 4000.0f;  // the next stage's name over the board

player::PlayerData& players() { return player::g_playerData; }
player::ProfileRecord* profile() { return player::currentProfile(players()); }

bool is(const MenuNode* node, std::string_view name) { return node && name == node->name; }
bool isModeScreen(const MenuNode* node) {
    return is(node, "mode1") || is(node, "mode2") || is(node, "mode3");
}
bool playing() { return g_menuShell.gameScreenCurrent && g_menuShell.gameScreenCurrent(); }

MenuNode* highlightedItem() {
    MenuState& m = g_menu;
    if (!m.current || m.highlighted < 0 || m.highlighted >= int(m.current->childCount)) return nullptr;
    return m.current->children[m.highlighted];
}

// The player's values go through the seat play uses: the current profile,
// or the in-memory player of a run without one.
game::PlayerSeat& seat() { return game::g_playHost.player(); }
int livesInMode(int mode) { return seat().lives(mode); }

// No menu over the board any more, and the game screen current.
void showGame() {
    MenuState& m = g_menu;
    m.current = nullptr;
    m.hidden = false;
    m.fadingIn = m.fadingOut = false;
    m.activationPending = m.backPending = false;
    if (!playing() && g_menuShell.showGameScreen) g_menuShell.showGameScreen();
}

// Hands a level of the current mode to play. The menus close first: a new
// level may open a screen of its own over the board (the help screen).
void startLevel(int levelIndex) {
    showGame();
    game::startPlay(game::Mode(currentMode()), std::clamp(levelIndex, 0, game::kLevelCount - 1));
}

void restartLevel() {
    showGame();
    game::playCurrentLevel(game::g_playHost);
}

// "oknextlevel" after a finished stage: the new land, and the stage's name
// over the paused board; the next click returns to the mode screen.
void goOnAfterStage() {
    game::GameState& g = game::g_game;
    showGame();
    fx::requestBackdropChange(seat().currentLevel(currentMode()));
    game::pauseGame(g);
    if (g.gamePassed) return;
    const int stage = profile() ? profile()->stage[currentMode()] : 0;
    char key[24];
    std::snprintf(key, sizeof key, "stagename%i", stage + 1);
    game::g_playHost.floatingText("nextstage", game::TextSource::Key, {0, 30}, 18, kStageTextMs);
    game::g_playHost.floatingText(key, game::TextSource::Key, {0, -10}, 20, kStageTextMs);
}

// After a finished level: the menu screen with the mode's screen, or "main"
// with the next mode highlighted once every stage is done.
void returnToModeScreen(std::string_view screen, int highlight) {
    switchToMenu();
    g_menu.current = nullptr;
    g_menu.fadingIn = g_menu.fadingOut = false;
    if (screen == "main") {
        g_menu.backgroundView = 0;
        openScreen("main");
        g_menu.highlighted = highlight;
    } else {
        g_menu.backgroundView = 1;
        openScreen(screen);
    }
}

void saveAndLeaveToMain() {
    g_menu.highlighted = 0;
    const player::SaveConditions facts{playing(), false};
    if (player::saveRunningGame(players(), game::g_game, facts)) {
        player::saveAllPlayerData(players());
        showMessageBox(menuText("savemsg"), true);
        return;
    }
    switchToMenu();
    openScreen("main");
}

void answerYes() {
    MenuState& m = g_menu;
    MenuNode* parent = m.current ? m.current->parent : nullptr;
    const int mode = currentMode();
    if (is(m.current, "loadgamequest")) {
        showGame();
        player::restoreSavedGame(players(), game::g_playHost, mode);
    } else if (is(parent, "main")) {
        if (g_menuShell.quit) g_menuShell.quit();
    } else if (is(parent, "profiles")) {
        player::removePlayer(players(), m.rememberedPlayer);
        player::installPlayerSeat();
        m.rememberedPlayer = std::max(0, m.rememberedPlayer - 1);
        if (players().count == 0) {
            m.hoveredWidget = 0;
            m.rememberedPlayer = 0;
            openScreen("newprofile");
        } else {
            goBack();
        }
    } else if (isModeScreen(parent)) {
        seat().setScore(mode, 0);
        startLevel(m.selectedEntry);
    } else if (is(parent, "gameplay")) {
        if (livesInMode(mode) <= 0) {
            game::giveUp(game::g_game);
            showGame();
        } else {
            game::g_playHost.takeLife();
            restartLevel();
        }
    } else if (is(parent, "defeat")) {
        game::g_playHost.takeLife();
        player::ProgressAdvance advance;
        if (player::ProfileRecord* p = profile()) advance = player::advanceProgress(*p, mode);
        if (advance.stageCompleted) {
            game::g_game.completeTimer = -1;
            game::g_game.defeatTimer = 0;
            game::g_game.stageCompleted = true;
            game::g_game.gamePassed = advance.allStagesCompleted;
            goOnAfterStage();
        } else {
            restartLevel();
        }
    }
}

}  // namespace

int currentMode() {
    const player::ProfileRecord* p = profile();
    return std::clamp(p ? int(p->mode) : game::modeNumber(game::g_game.mode), 0, 2);
}

bool allLevelsOpen() { return g_allLevelsOpen; }
bool levelMarksShown() { return isModeScreen(g_menu.current); }
int currentProgress() {
    return seat().progress(currentMode());
}

void openPlayerList() {
    g_menu.rememberedPlayer = players().settings.currentPlayer;
    openScreen("profiles");
}

void switchToMenu() {
    if (g_menuShell.showMenuScreen) g_menuShell.showMenuScreen();
}

void resumePlay() { showGame(); }

void startLevelAndPlay(int levelIndex) { startLevel(levelIndex); }

void openFirstMenu() {
    resetMenus();
    openScreen(players().count > 0 ? "main" : "newprofile");
}

void activateItem() {
    MenuState& m = g_menu;
    MenuNode* item = highlightedItem();
    if (!item) return;
    MenuNode* screen = m.current;
    const std::string_view name = item->name;
    const int mode = currentMode();
    player::ProfileRecord* p = profile();

    if (name == "resume game") {
        resumePlay();
    } else if (name == "skip level") {
        if (livesInMode(mode) > 0) showMessageBox(menuText("skipquest"), false);
        else showMessageBox(menuText("noskiplevel"), true);
    } else if (name == "restart level") {
        if (is(screen, "gameplay"))
            showMessageBox(menuText(livesInMode(mode) > 0 ? "restartquest" : "nomorelives"),
                           livesInMode(mode) <= 0);
        else
            restartLevel();
    } else if (name == "selectprofile") {
        if (m.hoveredWidget >= 0 && m.hoveredWidget < players().count) {
            player::selectPlayer(players(), m.hoveredWidget);
            player::installPlayerSeat();
        }
        openScreen("main");
    } else if (name == "rename") {
        const int index = std::clamp(m.hoveredWidget, 0, std::max(0, players().count - 1));
        base::copyText(m.edit, players().count > 0 ? players().profiles[size_t(index)].name : "");
        m.rememberedPlayer = index;
        if (MenuNode* rename = findNode("rename")) rename->parent = screen;
        openScreen("rename");
    } else if (name == "okrename") {
        if (m.edit[0] && player::renamePlayer(players(), m.rememberedPlayer, m.edit)) {
            player::saveAllPlayerData(players());
            openScreen("profiles");
        } else {
            openScreen(screen);
        }
    } else if (name == "remove") {
        m.rememberedPlayer = std::clamp(m.hoveredWidget, 0, std::max(0, players().count - 1));
        showMessageBox(menuText("removeplayer"), false);
    } else if (name == "oknewprofile") {
        if (player::createPlayer(players(), m.edit)) {
            player::installPlayerSeat();
            player::saveAllPlayerData(players());
            openScreen("main");
        } else {
            openScreen(screen);
        }
    } else if (name == "okcontinuegame") {
        resumePlay();
    } else if (name == "main") {
        if (is(screen, "defeat")) {
            switchToMenu();
            openScreen("main");
        } else {
            saveAndLeaveToMain();
        }
    } else if (name == "relax") {
        game::resumeGame(game::g_game);
    } else if (name == "oknextlevel") {
        if (game::g_game.stageCompleted) {
            goOnAfterStage();
        } else {
            returnToModeScreen(kModeScreens[mode], mode);
        }
    } else if (name == "ok") {
        if (is(screen, "helpscreen")) {
            if (playing()) {
                stopHelpDemo();
                resumePlay();
            } else {
                goBack();
            }
        } else if (screen && (is(screen->parent, "new game") || is(screen->parent, "defeat"))) {
            goBack();
        } else {
            switchToMenu();
            openScreen("main");
        }
    } else if (name == "back" || name == "cancel") {
        if (is(screen, "hiscore") && playing()) {
            m.backgroundView = 0;
            switchToMenu();
        }
        goBack();
    } else if (name == "no") {
        if (is(screen, "loadgamequest")) {
            player::abandonSavedGame(players(), mode);
            openScreen(kModeScreens[mode]);
        } else {
            goBack();
        }
    } else if (name == "yes") {
        answerYes();
    } else if (name == "mode1" || name == "mode2" || name == "mode3") {
        const int chosen = name[4] - '1';
        if (livesInMode(mode) < 0) seat().resetProgress(mode);
        if (p) p->mode = chosen;
        else game::g_game.mode = game::Mode(chosen);  // a run without a profile
        if (player::hasSavedGame(players(), chosen)) {
            openScreen("loadgamequest");
        } else {
            item->parent = screen;
            openScreen(item);
        }
    } else if (name == "exit") {
        showMessageBox(menuText("quit"), false);
    } else if (name == "start") {
        const int current = seat().currentLevel(mode);
        if (m.selectedEntry == current) {
            startLevel(current);
        } else if (seat().score(mode) > 0) {
            showMessageBox(menuText("zeroscore"), false);
        } else {
            const int level = m.hoveredWidget >= 0 ? m.hoveredWidget : m.selectedEntry;
            seat().setCurrentLevel(mode, level);
            startLevel(level);
        }
    } else if (name == "apply") {
        players().settings.fullscreen = m.pendingFullscreen;
        if (g_menuShell.applyFullscreen) g_menuShell.applyFullscreen(m.pendingFullscreen != 0);
        goBack();
    } else if (name == "default") {
        openScreen(screen);
    } else {
        if (name != "credits") item->parent = screen;
        openScreen(item);
    }
}

void goBack() {
    MenuState& m = g_menu;
    MenuNode* screen = m.current;
    if (!screen) return;
    if (is(screen, "main")) {
        m.current = nullptr;
        m.hidden = true;
        return;
    }
    if (is(screen, "gameplay")) {
        resumePlay();
        return;
    }
    if (is(screen->parent, "gameplay")) {
        if (is(screen, "helpscreen")) stopHelpDemo();
        resumePlay();
        return;
    }
    if (is(screen, "hiscore") && playing()) {
        switchToMenu();
        m.current = nullptr;
        openScreen("main");
        return;
    }
    if (is(screen, "helpscreen") && playing()) {
        stopHelpDemo();
        resumePlay();
        return;
    }
    if (is(screen, "options")) player::saveAllPlayerData(players());
    if (is(screen, "helpscreen")) stopHelpDemo();
    if (is(screen, "monsters") || is(screen, "bonuses") || is(screen, "history")) m.backgroundView = 0;
    MenuNode* parent = screen->parent;
    if (!parent) parent = findNode("main");  // a screen nobody listed: back to the main menu
    if (!parent) return;
    openScreen(parent);
    m.highlighted = std::max(0, childIndex(*parent, screen->name));
}

void onScreenEnter(MenuNode& screen) {
    MenuState& m = g_menu;
    const std::string_view name = screen.name;
    m.textEntry = false;
    if (name == "main") {
        sound::requestTune(kMenuTune);
        m.backgroundView = 0;
    } else if (name == "helpscreen") {
        startHelpDemo();
    } else if (name == "options") {
        m.pendingFullscreen = uint8_t(players().settings.fullscreen ? 1 : 0);
        m.customPointer = players().settings.customPointer;
    } else if (isModeScreen(&screen)) {
        sound::requestTune(kModeScreenTune);
        players().hiscorePending = false;
        m.backgroundView = 1;
        m.selectedEntry = m.hoveredWidget = seat().currentLevel(currentMode());
    } else if (name == "profiles") {
        m.hoveredWidget = m.rememberedPlayer;
    } else if (name == "rename") {
        m.textEntry = true;
        m.caret = 0;
        m.editLength = int(std::strlen(m.edit));
    } else if (name == "newprofile") {
        m.backgroundView = 0;
        m.textEntry = true;
        m.caret = 0;
        m.editLength = 0;
        m.edit[0] = 0;
    } else if (name == "credits") {
        sound::requestTune(kMenuTune);
        m.creditsMs = 0;
        m.backgroundView = 4;
    } else if (name == "hiscore") {
        m.shownTable = currentMode();
        if (players().hiscorePending) player::insertHiscore(players(), currentMode());
    }
}

void stepScreen(float dtMs) {
    const MenuNode* screen = g_menu.current;
    if (is(screen, "levelcomplete")) stepLevelComplete(dtMs);
    else if (is(screen, "credits")) stepCredits(dtMs);
    else if (is(screen, "helpscreen")) stepHelpDemo(dtMs);
    if (g_menu.backgroundView == 1) stepLevelMap(g_menu.selectedEntry);
}

MapView currentMapView(float clockMs) {
    MapView view;
    view.clockMs = clockMs;
    view.progress = currentProgress();
    view.fullyOpen = allLevelsOpen() || view.progress >= kMapLevels - 1;
    view.selected = g_menu.selectedEntry;
    view.currentLevel = seat().currentLevel(currentMode());
    return view;
}

// ---------------------------------------------------------------------------
// Play's seam

namespace {

void openOverPlay(std::string_view name) {
    if (name == "hiscore") players().hiscorePending = true;
    g_menu.fadingIn = g_menu.fadingOut = false;
    g_menu.hidden = false;
    if (MenuNode* node = findNode(name)) {
        // Escape from the in-game screens comes back to play.
        if (name == "gameplay" || name == "helpscreen") node->parent = findNode("gameplay");
        if (name == "gameplay") node->parent = nullptr;
        openScreen(node);
    }
}

}  // namespace

void loadMenus() {
    resetMenus();
    loadMenu(screenHooks());
    game::g_playHooks.openScreen = &openOverPlay;
    game::g_playHooks.menuOpen = [] { return menuShown(); };
    game::g_playHooks.leavePlay = [](std::string_view screen, int preselect) { returnToModeScreen(screen, preselect); };
    game::g_playHooks.menuKeyDown = &menuKeyDown;
    game::g_playHooks.menuLeftButtonDown = &menuButtonDown;
    game::g_playHooks.drawMenus = &drawMenus;
    connectTipDemonstration();
}

}  // namespace tessaly::menus
