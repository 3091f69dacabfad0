// Sections: state dump contributors | start-up | loading | loop | shutdown.
#include "shell/app.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "base/frame_clock.h"
#include "base/loading.h"
#include "base/math.h"
#include "base/random.h"
#include "data/registry.h"
#include "data/text.h"
#include "fx/mesh.h"
#include "fx/particles.h"
#include "fx/scene.h"
#include "game/autoplay.h"
#include "game/flow.h"
#include "game/play_screen.h"
#include "game/play_textures.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"
#include "menus/menu_flow.h"
#include "menus/menu_runtime.h"
#include "platform/keys.h"
#include "platform/device.h"
#include "platform/letterbox.h"
#include "platform/png_file.h"
#include "platform/window.h"
#include "player/player_data.h"
#include "player/player_dump.h"
#include "player/profile_seat.h"
#include "player/saved_games.h"
#include "shell/frame_loop.h"
#include "shell/game_screen.h"
#include "shell/menu_screen.h"
#include "shell/hooks.h"
#include "shell/input_script.h"
#include "shell/options.h"
#include "shell/screen.h"
#include "shell/state_dump.h"
#include "shell/title_screen.h"
#include "sound/sound.h"

namespace tessaly::shell {

namespace {

constexpr const char* kInstanceName = "Tessaly game";
constexpr int kExitBadOptions = 2;
constexpr int kExitOutputFailed = 3;

// ---------------------------------------------------------------------------
// State dump contributors

void dumpShell(base::JsonWriter& json) {
    json.field("appActive", g_shell.appActive);
    json.field("statsOverlay", g_shell.statsOverlay);
    json.field("cheatKeys", g_shell.cheatKeys);
    json.field("allLevelsSelectable", g_shell.allLevelsSelectable);
    json.field("frameStepMs", base::g_frame.frameStepMs);
    json.field("animationClockMs", base::g_frame.animationClockMs);
    json.field("fps", g_loop.fps.text);
    json.field("refreshHz", g_loop.pacer.refreshHz);
    json.field("swapWaits", g_loop.pacer.swapWaits);
    json.field("raiseRequests", g_shell.raiseRequests);
    json.field("language", data::textLanguage());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    json.field("peakMemoryKb", int64_t(usage.ru_maxrss));
    float x = 0, y = 0;
    gfx::screenToWorldCursor(&x, &y);
    json.field("cursorX", x);
    json.field("cursorY", y);
}

void dumpLoading(base::JsonWriter& json) {
    json.field("loadedBytes", int64_t(base::g_loading.loadedBytes));
    json.field("reports", base::g_loading.reports);
    json.field("framesDrawn", g_loop.loadingFrames);
}

void dumpTitle(base::JsonWriter& json) {
    json.field("titleClockMs", g_titleScreen.titleClockMs());
    json.field("fadeClockMs", g_titleScreen.fadeClockMs());
    json.field("musicStarted", g_titleScreen.musicStarted());
    json.field("progress", g_titleScreen.progress());
}

// For --verbose and the measuring scripts: the wall-clock time of a moment of
// start-up, which a script subtracts from the time it started the game.
void reportTime(const char* moment) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "Tessaly: %s at %lld.%06ld\n", moment, (long long)now.tv_sec, now.tv_nsec / 1000);
}

// CPU time of the main thread so far, ms: the game's own work and the
// driver's work on this thread. The software renderer's own threads are
// left out: they wait by spinning when the machine is busy, which would
// count someone else's load as ours.
double mainThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// The built-in player's runs watch the cost of every frame.
void noteFrameCpu(double ms) {
    game::Autoplay& a = game::g_autoplay;
    a.maxFrameCpuMs = std::max(a.maxFrameCpuMs, float(ms));
    if (ms > game::kSlowFrameCpuMs) ++a.slowFrames;
}

// The folder holding the executable, so Data/ is found wherever the game is
// started from.
std::string executableFolder() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = '\0';
    std::string folder(path);
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

// Data/ next to the executable (a build tree, an unpacked game), else where
// an installation puts it: ../share/tessaly/Data from the executable.
std::string defaultDataFolder() {
    const std::string folder = executableFolder();
    const std::string beside = folder + "/Data";
    if (::access(beside.c_str(), F_OK) == 0) return beside;
    const std::string installed = folder + "/../share/tessaly/Data";
    return ::access(installed.c_str(), F_OK) == 0 ? installed : beside;
}

// Screenshots of the frames asked for on the command line.
struct ScreenshotTaker {
    const std::vector<ScreenshotRequest>* requests = nullptr;
    std::vector<uint8_t> pixels;  // one 800 x 600 RGBA picture, sized once
    bool failed = false;

    void take(int64_t frame) {
        for (const ScreenshotRequest& shot : *requests) {
            if (shot.frame != frame) continue;
            platform::Device* device = gfx::g_draw.device;
            std::string error;
            if (!device->readPixels(pixels.data())) {
                error = "no picture to read";
            } else if (platform::writePng(shot.path, pixels.data(), platform::kLogicalWidth,
                                          platform::kLogicalHeight, &error)) {
                continue;
            }
            std::fprintf(stderr, "Screenshot %s: %s\n", shot.path.c_str(), error.c_str());
            failed = true;
        }
    }
};

// The built-in player's action for this frame, delivered like a person's:
// the pointer moved, then the button or key events.
// The built-in player's answers to the title and the menus: whatever leads
// back to play in the mode it plays, through the real key path.
struct MenuAutoplay {
    float waitMs = 0;
    int mode = -1;                             // the mode to choose; -1 the one of the game
};
MenuAutoplay g_menuAutoplay;

constexpr float kMenuAutoplayPauseMs = 150.0f;
constexpr const char kAutoplayName[] = "AUTO";

bool answerMenusForAutoplay() {
    using platform::EventType;
    const menus::MenuState& m = menus::g_menu;
    const bool onMenus = currentScreen() == &g_menuScreen || currentScreen() == &g_titleScreen;
    if (!onMenus && !menus::menuShown()) return false;
    MenuAutoplay& a = g_menuAutoplay;
    if (a.waitMs > 0) {
        a.waitMs -= base::g_frame.frameStepMs;
        return true;
    }
    if (menus::fadeRunning()) return true;
    a.waitMs = kMenuAutoplayPauseMs;
    auto key = [](int k) { dispatchEvent(platform::Event{EventType::KeyDown, k}); };
    if (!m.current) {
        key(platform::VkEnter);  // the title, or the hidden main menu
        return true;
    }
    const std::string_view screen = m.current->name;
    if (screen == "newprofile" && m.editLength < int(sizeof kAutoplayName) - 1) {
        key(kAutoplayName[m.editLength]);
    } else if (screen == "main" &&
               m.highlighted != (a.mode >= 0 ? a.mode : game::modeNumber(game::g_game.mode))) {
        key(platform::VkDown);
    } else if (m.highlighted < 0) {
        key(platform::VkEscape);
    } else {
        key(platform::VkEnter);
    }
    return true;
}

void deliverAutoplay() {
    using platform::EventType;
    if (answerMenusForAutoplay()) return;
    if (currentScreen() != &g_gameScreen) return;
    const game::AutoplayAction a =
        game::nextAutoplayAction(game::g_autoplay, game::g_playHost, base::g_frame.frameStepMs);
    auto send = [](EventType type, int key = 0) { dispatchEvent(platform::Event{type, key}); };
    using Kind = game::AutoplayAction::Kind;
    if (a.kind == Kind::None) return;
    if (a.kind == Kind::Key) {
        send(EventType::KeyDown, a.key);
        return;
    }
    gfx::worldToScreenCursor(a.at.x, a.at.y);
    send(EventType::MouseMove);
    switch (a.kind) {
        case Kind::Click:
            send(EventType::LeftDown);
            send(EventType::LeftUp);
            break;
        case Kind::DoubleClick:
            send(EventType::LeftDown);
            send(EventType::LeftUp);
            send(EventType::LeftDoubleClick);
            send(EventType::LeftUp);
            break;
        case Kind::RightClick:
            send(EventType::RightDown);
            send(EventType::RightUp);
            break;
        default: break;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Loading

void loadResources(bool hasSeed, unsigned seed, std::string_view language) {
    // 1. The random generator: a given seed replays a run exactly. The sound
    // files decode on a second thread meanwhile (unless they already do);
    // step 6 takes them.
    base::seedRandom(hasSeed ? seed : platform::systemUptimeMs());
    sound::startDecodingSounds();
    // 2. The packs; a missing one is skipped, its files are read loose.
    data::g_registry.loadPack("targa.dat");
    data::g_registry.loadPack("jpeg.dat");
    data::g_registry.loadPack("texts.dat");
    // 3. The text tables, in the player's language when the data set has it
    // (the menu texts follow in step 5).
    data::useTextLanguage(language);
    data::loadTextTables();
    // 4. Players and records (the defaults need the text tables).
    player::loadPlayerFiles(player::g_playerData);
    player::installPlayerSeat();
    // 5. The menu tree and its textures.
    menus::loadMenus();
    // 6. Gameplay textures, the font, landscapes; sounds and music.
    game::loadPlayTextures();
    fx::loadSceneDefinitions();
    fx::selectBackdrop(0);
    gfx::loadFont("font");
    sound::initSound();
    sound::loadSounds();
    sound::setVolumes(player::g_playerData.settings.effectsVolume, player::g_playerData.settings.musicVolume);
    // 7. The level map.
    menus::loadLevelMap();
    // 8. The title pictures (cached since the first loading frame).
    g_titleScreen.loadResources();
    // 9. Particle effects.
    fx::loadParticleEffects();
    // 10. The spark sprite sheet.
    gfx::loadSpriteSheet();
    // 11. The title becomes current, without onEnter.
    g_screens.current = &g_titleScreen;
}

// ---------------------------------------------------------------------------
// Start-up, loop and shutdown

int runGame(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tessaly: %s\n\n%s", error.c_str(), optionsHelp());
        return kExitBadOptions;
    }
    if (options.help) {
        std::fputs(optionsHelp(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(versionText(), stdout);
        return 0;
    }
    InputScript script;
    if (!options.inputScript.empty() && !loadInputScript(options.inputScript, script, error)) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitBadOptions;
    }

    // A second copy leaves at once, without a window, and asks the running
    // one to come to the front.
    if (!platform::acquireSingleInstanceLock(kInstanceName)) {
        std::fputs("Tessaly is already running\n", stderr);
        platform::askRunningCopyToRaise(kInstanceName);
        return 0;
    }

    base::buildSqrtTables();
    g_shell.tickSuspended = true;
    data::g_registry.dataFolder = options.dataDir.empty() ? defaultDataFolder() : options.dataDir;
    // The sounds decode while the window opens and the rest loads.
    sound::startDecodingSounds();
    // The player-data folder, and the settings in it before the window opens.
    player::PlayerData& players = player::g_playerData;
    players.folder = options.userDir.empty() ? player::defaultPlayerFolder() : options.userDir;
    if (players.folder.empty())
        std::fprintf(stderr, "Tessaly: no folder for player data (HOME is not set); nothing will be saved\n");
    player::readSettings(players);
    game::g_cheatSaveFolder = players.folder;
    game::g_game.ballSpeed = players.settings.ballSpeed;
    base::g_stateDump.add("player", &player::dumpPlayerData);
    base::g_stateDump.add("shell", &dumpShell);
    base::g_stateDump.add("loading", &dumpLoading);
    base::g_stateDump.add("title", &dumpTitle);
    base::g_stateDump.add("scene", &fx::dumpScene);
    connectGameScreen();
    connectMenus();
    // Closing the window during play keeps the game for later.
    g_hooks.saveGameOnClose = [] {
        const player::SaveConditions facts{currentScreen() == &g_gameScreen, false};
        player::saveRunningGame(player::g_playerData, game::g_game, facts);
    };

    // Only the full-screen choice is remembered between runs, every other
    // display value starts afresh; --windowed overrides it for this run only.
    const bool fullscreen = players.settings.fullscreen && !options.windowed;
    if (!platform::openWindow({fullscreen, "Tessaly"})) {
        std::fprintf(stderr, "%s\n", platform::windowError());
        platform::showMessage("Can't init OpenGL", "Initialization failed");
        return 1;
    }
    if (options.verbose) reportTime("window shown");
    platform::Device* device = platform::windowDevice();
    gfx::installDevice(device);
    device->setBrightness(0.5f);
    readDisplayRefresh();
    // Loading frames come at most once per refresh; waiting for the display
    // on each as well would stretch loading.
    platform::setVsync(false);
    gfx::setPerspectiveFromClient(platform::kLogicalWidth, platform::kLogicalHeight);

    // The loading screen, then everything else with loading frames as files
    // come in, and the full bar at the end.
    base::g_loading.drawFrame = &drawLoadingFrameAtRefresh;
    g_titleScreen.loadResources();
    drawLoadingFrame();
    const std::string language = data::chooseLanguageFromEnvironment(options.language);
    loadResources(options.hasSeed, options.seed, language);
    if (data::textLanguage() != language && (options.verbose || !options.language.empty()))
        std::fprintf(stderr, "Tessaly: no texts in the language '%s'; English is shown\n", language.c_str());
    drawLoadingFrame();
    // Files read later (levels, backdrops) must not flash the loading screen
    // over the game.
    base::g_loading.drawFrame = nullptr;

    // Play at once, for play-testing and the tests, instead of the title.
    if (options.startsPlay()) {
        const auto mode = game::Mode(options.mode >= 0 ? options.mode : 0);
        if (!game::startPlay(mode, options.level >= 0 ? options.level : 0)) {
            std::fprintf(stderr, "tessaly: level %i can't be loaded\n", options.level);
            platform::closeWindow();
            return kExitBadOptions;
        }
        g_screens.current = &g_gameScreen;
        g_gameScreen.onEnter();
    }

    // The built-in player starts on the title and goes through the menus
    // unless play was started above.
    game::g_autoplay.enabled = options.autoplay;
    g_menuAutoplay.mode = options.startsPlay() ? -1 : options.mode;

    ScreenshotTaker screenshots;
    screenshots.requests = &options.screenshots;
    if (!options.screenshots.empty())
        screenshots.pixels.resize(size_t(platform::kLogicalWidth) * platform::kLogicalHeight * 4);
    screenshots.take(kLoadingScreenshotFrame);

    // The loop.
    g_loop.fixedStepMs = options.fixedStepMs;
    const bool fixed = options.fixedStepMs > 0;
    // The loop paces itself where vertical sync is ignored or refused.
    if (!fixed && platform::setVsync(true)) probeSwap(*device);
    if (options.verbose) {
        std::fprintf(stderr, "Tessaly: %s; vertical sync %s; frames paced to %i Hz\n",
                     platform::graphicsRenderer().c_str(),
                     fixed ? "unused (fixed step)" : g_loop.pacer.swapWaits ? "working" : "not working",
                     g_loop.pacer.refreshHz);
    }
    bool titleFrameReported = false;
    restartFrameClock();
    while (!g_shell.quitRequested) {
        platform::Event event;
        while (platform::pollEvent(event)) {
            // A fixed-step run repeats exactly: window focus does not pause it.
            if (fixed && (event.type == platform::EventType::Activate ||
                          event.type == platform::EventType::Deactivate))
                continue;
            dispatchEvent(event);
        }
        deliverScriptedInput(script, int64_t(base::g_frame.frameNumber) + 1);
        const double cpuBefore = options.autoplay ? mainThreadCpuMs() : 0;
        if (options.autoplay) deliverAutoplay();
        if (g_shell.quitRequested) break;
        runFrame();
        if (options.autoplay) noteFrameCpu(mainThreadCpuMs() - cpuBefore);
        if (options.verbose && !titleFrameReported && currentScreen() == &g_titleScreen) {
            reportTime("first title frame");
            titleFrameReported = true;
        }
        if (options.autoplay) game::checkPlayInvariants(game::g_autoplay, game::g_playHost);
        if (options.saveEachFrame) player::saveAllPlayerData(players);
        screenshots.take(int64_t(base::g_frame.frameNumber));
        if (options.frames > 0 && int64_t(base::g_frame.frameNumber) >= options.frames) requestQuit();
    }

    // Shutdown.
    bool outputFailed = screenshots.failed;
    if (!options.dumpState.empty() && !writeStateDump(options.dumpState, error)) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        outputFailed = true;
    }
    device->setBrightness(0.5f);
    sound::shutdownSound();
    data::freeTextTable();
    fx::releaseScene(fx::g_scene);
    fx::releaseMeshes();      // needs the device
    gfx::g_textures.clear();  // needs the device
    gfx::installDevice(nullptr);
    platform::closeWindow();
    player::saveAllPlayerData(players);
    platform::showSystemCursor(true);
    return outputFailed ? kExitOutputFailed : 0;
}

}  // namespace tessaly::shell
