// tessaly-fxview: the effect viewer. Loads the data set and shows, on the
// game's 800 x 600 screen, any of the feedback effects: a described particle
// effect, a spark burst or preset, a lightning bolt, a letter banner, a
// floating text, the message line or a tooltip balloon. R or Space replays,
// Esc quits. With --fixed-step, --frames and --screenshot it runs headless
// and repeatably, which is how effects are reviewed and checked in tests.
//
// The game's own options (--data, --fixed-step, --seed, --frames,
// --screenshot, ...) are parsed by the shell's parser; the viewer's options
// are listed in kUsage.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "base/frame_clock.h"
#include "base/math.h"
#include "base/random.h"
#include "data/registry.h"
#include "data/text.h"
#include "fx/balloon.h"
#include "fx/floating_text.h"
#include "fx/particles.h"
#include "fx/sparks.h"
#include "gfx/banners.h"
#include "gfx/bolts.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/message_line.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"
#include "platform/device.h"
#include "platform/letterbox.h"
#include "platform/png_file.h"
#include "platform/window.h"
#include "shell/options.h"

namespace {

using namespace tessaly;

constexpr int kExitBadOptions = 2;
constexpr int kExitOutputFailed = 3;
constexpr int kKeyEscape = 27, kKeySpace = 32, kKeyR = 82;

const char* const kUsage =
    "tessaly-fxview: shows the game's feedback effects on an 800 x 600 screen.\n"
    "R or Space replays, Esc quits.\n"
    "\n"
    "What to show (any combination):\n"
    "  --effect NAME        a particle effect from Data/effects\n"
    "  --sparks KIND        a spark burst of kind 0..4 (kind 4 runs from --at to --to)\n"
    "  --spark PRESET       one spark of preset 0..17, every 50 ms\n"
    "  --bolt               a lightning bolt from --at to --to\n"
    "  --banner TEXT        a letter banner\n"
    "  --text TEXT          a floating text\n"
    "  --message TEXT       the message line\n"
    "  --balloon TEXT       a tooltip balloon pointing at --at (--angle, --continue)\n"
    "  --tip TEXT           a tip balloon pointing at --at\n"
    "Where and how:\n"
    "  --at X,Y             start point / anchor in screen units (default 0,0)\n"
    "  --to X,Y             end point (default 200,0)\n"
    "  --size S             text size of banners and floating texts (default 32)\n"
    "  --angle DEG          balloon arrow angle (default: automatic)\n"
    "  --continue           the balloon gets its continue button\n"
    "  --replay MS          replay every MS milliseconds (default: on a key only)\n"
    "  --gallery            the fifteen effects the game starts, side by side\n"
    "  --list               print the effect names and quit\n"
    "Run options of the game: --data DIR, --fixed-step MS, --seed N, --frames N,\n"
    "  --screenshot FRAME:FILE.png (repeatable), --windowed (always on).\n";

struct ViewerOptions {
    std::string effect;
    int sparkBurstKind = -1;
    int sparkPreset = -1;
    bool bolt = false;
    std::string banner, text, message, balloon, tip;
    base::Vec2 at = {0, 0};
    base::Vec2 to = {200, 0};
    float size = 32;
    float angle = fx::kAutomaticArrowAngle;
    bool continueButton = false;
    float replayMs = 0;
    bool gallery = false;
    bool list = false;
};

// The effects the game starts by name, for --gallery: five columns, three
// rows.
const char* const kGameEffects[] = {
    "ball1", "ball2", "bomb1", "bomb2", "dbomb1", "dbomb2", "diamond1", "diamond2",
    "addbomb2", "chain1", "chain2", "square1", "square2", "hammer", "scorewow",
};

base::Vec2 galleryPosition(int i) { return {-320.0f + 160.0f * float(i % 5), 170.0f - 190.0f * float(i / 5)}; }

bool parsePoint(const char* text, base::Vec2& out) {
    char* end = nullptr;
    const float x = std::strtof(text, &end);
    if (end == text || *end != ',') return false;
    const char* second = end + 1;
    const float y = std::strtof(second, &end);
    if (end == second || *end != 0) return false;
    out = {x, y};
    return true;
}

bool parseNumber(const char* text, float& out) {
    char* end = nullptr;
    out = std::strtof(text, &end);
    return end != text && *end == 0;
}

// Takes the viewer's own options out of argv; the rest goes to the shell's
// parser. False with a reason on a malformed value.
bool parseViewerOptions(int argc, char** argv, ViewerOptions& v, std::vector<const char*>& rest,
                        std::string& error) {
    rest.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* s = nullptr;
        float f = 0;
        if (arg == "--effect" || arg == "--banner" || arg == "--text" || arg == "--message" ||
            arg == "--balloon" || arg == "--tip") {
            if (!value(s)) return false;
            std::string& target = arg == "--effect"    ? v.effect
                                  : arg == "--banner"  ? v.banner
                                  : arg == "--text"    ? v.text
                                  : arg == "--message" ? v.message
                                  : arg == "--balloon" ? v.balloon
                                                       : v.tip;
            target = s;
        } else if (arg == "--sparks" || arg == "--spark" || arg == "--size" || arg == "--angle" ||
                   arg == "--replay") {
            if (!value(s)) return false;
            if (!parseNumber(s, f)) {
                error = arg + ": not a number: " + s;
                return false;
            }
            if (arg == "--sparks") v.sparkBurstKind = int(f);
            else if (arg == "--spark") v.sparkPreset = int(f);
            else if (arg == "--size") v.size = f;
            else if (arg == "--angle") v.angle = f;
            else v.replayMs = f;
        } else if (arg == "--at" || arg == "--to") {
            if (!value(s)) return false;
            if (!parsePoint(s, arg == "--at" ? v.at : v.to)) {
                error = arg + ": expected X,Y, got " + s;
                return false;
            }
        } else if (arg == "--bolt") {
            v.bolt = true;
        } else if (arg == "--continue") {
            v.continueButton = true;
        } else if (arg == "--gallery") {
            v.gallery = true;
        } else if (arg == "--list") {
            v.list = true;
        } else {
            rest.push_back(argv[i]);
        }
    }
    return true;
}

// Starts (or restarts) everything that plays once.
void replay(const ViewerOptions& v) {
    fx::clearParticles();
    fx::resetSparks();
    fx::clearFloatingTexts();
    if (!v.effect.empty()) fx::startEffectByName(v.effect, v.at.x, v.at.y);
    if (v.gallery) {
        // Started a frame apart in the game too; here the chain limiter must
        // not cut the later ones short, so each gets a fresh run.
        for (int i = 0; i < int(std::size(kGameEffects)); ++i) {
            fx::g_particles.chainCount = 0;
            const base::Vec2 p = galleryPosition(i);
            fx::startEffectByName(kGameEffects[i], p.x, p.y);
        }
    }
    if (v.sparkBurstKind >= 0) fx::sparkBurst(v.at.x, v.at.y, v.to.x, v.to.y, v.sparkBurstKind);
    if (!v.banner.empty()) gfx::addBanner(v.banner, v.at.x, v.at.y, v.size);
    if (!v.text.empty()) fx::addFloatingText(v.text, v.at.x, v.at.y, v.size, 1500);
    if (!v.message.empty()) gfx::showMessage(v.message);
    // The balloon restarts its appear animation when its text is new.
    fx::g_balloon.previousText[0] = 0;
}

// The effects are drawn over a dark warm backdrop with a faint grid, so
// additive and transparent effects both read.
void drawBackdrop() {
    platform::Device* device = gfx::g_draw.device;
    device->clear(platform::ClearColor | platform::ClearDepth, 0xFF1E1612u, 1, 0);
    gfx::begin2D();
    gfx::setTexture(gfx::loadTexture("white.jpg"));
    for (int x = -400; x <= 400; x += 50)
        gfx::drawRect(float(x) - 0.5f, 300, float(x) + 0.5f, -300, 0, 0, 1, 1, 0x18FFFFFFu, 99);
    for (int y = -300; y <= 300; y += 50)
        gfx::drawRect(-400, float(y) + 0.5f, 400, float(y) - 0.5f, 0, 0, 1, 1, 0x18FFFFFFu, 99);
}

// The viewer's step: what the frame shows is queued and advanced here,
// then drawFrame only draws it.
void stepFrame(const ViewerOptions& v, float sparkClockMs, float dtMs) {
    gfx::clearBolts();
    if (v.bolt)
        gfx::addBolt({v.at.x, v.at.y, 0}, {v.to.x, v.to.y, 0}, 12, 2.5f, 14, 9, 0xF0FFFFFFu, 0x906090FFu);
    fx::stepParticles(dtMs);
    if (v.sparkPreset >= 0 && std::fmod(sparkClockMs, 50.0f) < dtMs) fx::spawnSpark(v.at.x, v.at.y, v.sparkPreset);
    fx::stepSparks(dtMs);
    fx::stepFloatingTexts(dtMs);
    gfx::stepBanners(dtMs);
    gfx::stepMessageLine(dtMs);
    if (!v.balloon.empty()) {
        if (v.continueButton)
            fx::showBalloonWithContinue(v.at.x, v.at.y, v.balloon, 300, true, v.angle, true);
        else
            fx::showBalloon(v.at.x, v.at.y, v.balloon, 300, true, v.angle, true);
    }
    if (!v.tip.empty()) fx::showTipBalloon(v.at.x, v.at.y, v.tip, "", 300, 0);
    fx::stepBalloon(dtMs);
}

void drawFrame(const ViewerOptions& v) {
    drawBackdrop();

    // Particles and bolts are 3D drawing: the camera looks down +z at the
    // screen plane from 50 units away, with x right and y up.
    platform::Device* device = gfx::g_draw.device;
    gfx::g_camera.setIdentity();
    gfx::g_camera.translate(0, 0, 50);
    device->setTransform(platform::TransformKind::View, gfx::g_camera.view);
    gfx::drawBolts();
    fx::drawParticles();

    // Everything else is 2D.
    gfx::begin2D();
    if (v.gallery)
        for (int i = 0; i < int(std::size(kGameEffects)); ++i) {
            const base::Vec2 p = galleryPosition(i);
            gfx::setTextColor(200, 190, 170, 255);
            gfx::drawTextCentred(p.x, p.y - 80, 11, kGameEffects[i]);
        }
    gfx::setTextColor(255, 255, 255, 255);
    fx::drawSparks();
    fx::drawFloatingTexts();
    gfx::drawBanners();
    gfx::drawMessageLine();
    fx::drawBalloon();
}

bool takeScreenshots(const std::vector<shell::ScreenshotRequest>& shots, int64_t frame,
                     std::vector<uint8_t>& pixels) {
    bool ok = true;
    for (const auto& shot : shots) {
        if (shot.frame != frame) continue;
        std::string error;
        if (!gfx::g_draw.device->readPixels(pixels.data())) error = "no picture to read";
        else if (platform::writePng(shot.path, pixels.data(), platform::kLogicalWidth,
                                    platform::kLogicalHeight, &error))
            continue;
        std::fprintf(stderr, "tessaly-fxview: screenshot %s: %s\n", shot.path.c_str(), error.c_str());
        ok = false;
    }
    return ok;
}

std::string executableFolder(const char* argv0) {
    std::string path = argv0;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
    ViewerOptions viewer;
    std::vector<const char*> rest;
    std::string error;
    if (!parseViewerOptions(argc, argv, viewer, rest, error)) {
        std::fprintf(stderr, "tessaly-fxview: %s\n\n%s", error.c_str(), kUsage);
        return kExitBadOptions;
    }
    shell::Options options;
    if (!shell::parseOptions(int(rest.size()), rest.data(), options, error)) {
        std::fprintf(stderr, "tessaly-fxview: %s\n\n%s", error.c_str(), kUsage);
        return kExitBadOptions;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    base::buildSqrtTables();
    base::seedRandom(options.hasSeed ? options.seed : platform::systemUptimeMs());
    data::g_registry.dataFolder = options.dataDir.empty() ? executableFolder(argv[0]) + "/Data" : options.dataDir;
    if (!platform::openWindow({false, "Tessaly effect viewer"})) {
        std::fprintf(stderr, "tessaly-fxview: %s\n", platform::windowError());
        return 1;
    }
    platform::Device* device = platform::windowDevice();
    gfx::g_draw.device = device;
    gfx::g_textures.device = device;
    gfx::setPerspectiveFromClient(platform::kLogicalWidth, platform::kLogicalHeight);

    data::g_registry.loadPack("targa.dat");
    data::g_registry.loadPack("jpeg.dat");
    data::g_registry.loadPack("texts.dat");
    data::loadTextTable("strings.txt");
    gfx::loadFont("font");
    gfx::loadSpriteSheet();
    fx::loadParticleEffects();

    if (viewer.list) {
        for (int i = 0; i < fx::g_particles.effectCount; ++i) std::printf("%s\n", fx::g_particles.effects[i].name);
        platform::closeWindow();
        return 0;
    }
    if (!viewer.effect.empty() && fx::findParticleEffect(fx::g_particles, viewer.effect) < 0) {
        std::fprintf(stderr, "tessaly-fxview: no effect named \"%s\" (see --list)\n", viewer.effect.c_str());
        platform::closeWindow();
        return kExitBadOptions;
    }

    std::vector<uint8_t> pixels(size_t(platform::kLogicalWidth) * platform::kLogicalHeight * 4);
    bool screenshotsOk = true;
    replay(viewer);
    float sinceReplayMs = 0, sparkClockMs = 0;
    uint32_t last = platform::milliseconds();
    bool quit = false;
    for (int64_t frame = 1; !quit; ++frame) {
        platform::Event event;
        while (platform::pollEvent(event)) {
            if (event.type == platform::EventType::Close) quit = true;
            if (event.type == platform::EventType::KeyDown) {
                if (event.key == kKeyEscape) quit = true;
                if (event.key == kKeyR || event.key == kKeySpace) replay(viewer), sinceReplayMs = 0;
            }
        }
        float step;
        if (options.fixedStepMs > 0) {
            step = float(options.fixedStepMs);
        } else {
            const uint32_t now = platform::milliseconds();
            step = float(now - last);
            last = now;
            if (step < 1) platform::sleepMs(1), step = 1;
        }
        base::g_frame.frameDeltaMs = uint32_t(step);
        base::g_frame.frameStepMs = step;

        if (viewer.replayMs > 0 && sinceReplayMs >= viewer.replayMs) replay(viewer), sinceReplayMs = 0;
        stepFrame(viewer, sparkClockMs, step);
        drawFrame(viewer);
        device->present();
        screenshotsOk = takeScreenshots(options.screenshots, frame, pixels) && screenshotsOk;

        base::g_frame.animationClockMs += step;
        ++base::g_frame.frameNumber;
        sinceReplayMs += step;
        sparkClockMs += step;
        if (options.frames > 0 && frame >= options.frames) quit = true;
    }
    platform::closeWindow();
    return screenshotsOk ? 0 : kExitOutputFailed;
}
