#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/keys.h"
#include "platform/letterbox.h"
#include "platform/sdl_events.h"

namespace tessaly::platform {
namespace {

TEST(VirtualKeys, SdlKeysMapToWindowsNumbers) {
    struct Case {
        SDL_Keycode sdl;
        int vk;
    } cases[] = {
        {SDLK_a, 65}, {SDLK_m, 77}, {SDLK_z, 90},
        {SDLK_0, 48}, {SDLK_5, 53}, {SDLK_9, 57},
        {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13},
        {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32}, {SDLK_BACKSPACE, 8}, {SDLK_DELETE, 46},
        {SDLK_HOME, 36}, {SDLK_END, 35},
        {SDLK_LEFT, 37}, {SDLK_UP, 38}, {SDLK_RIGHT, 39}, {SDLK_DOWN, 40},
        {SDLK_F1, 112}, {SDLK_F12, 123}, {SDLK_KP_0, 96}, {SDLK_KP_9, 105},
        {SDLK_LSHIFT, 16}, {SDLK_RCTRL, 17},
        // Keys without a number are not passed on.
        {SDLK_CAPSLOCK, 0}, {SDLK_MINUS, 0}, {SDLK_UNKNOWN, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(virtualKeyFromSdlKeycode(c.sdl), c.vk) << SDL_GetKeyName(c.sdl);
}

TEST(Letterbox, KeepsTheAspectAndCentres) {
    struct Case {
        int w, h;
        Letterbox expected;
    } cases[] = {
        {800, 600, {0, 0, 800, 600}},
        {1600, 1200, {0, 0, 1600, 1200}},
        {1920, 1080, {240, 0, 1440, 1080}},  // bars left and right
        {800, 1000, {0, 200, 800, 600}},     // bars above and below
        {1001, 600, {100, 0, 800, 600}},     // odd remainder goes right
        {0, 0, {0, 0, 0, 0}},                // minimised
    };
    for (const Case& c : cases) {
        const Letterbox b = computeLetterbox(c.w, c.h);
        EXPECT_EQ(b.x, c.expected.x) << c.w << "x" << c.h;
        EXPECT_EQ(b.y, c.expected.y) << c.w << "x" << c.h;
        EXPECT_EQ(b.width, c.expected.width) << c.w << "x" << c.h;
        EXPECT_EQ(b.height, c.expected.height) << c.w << "x" << c.h;
    }
}

TEST(Letterbox, CursorMapsThroughTheBarsBothWays) {
    const Letterbox box = computeLetterbox(1920, 1080);  // picture at x 240..1680, scale 1.8
    struct Case {
        float wx, wy, lx, ly;
    } cases[] = {
        {240, 0, 0, 0},             // top-left of the picture
        {1680, 1080, 800, 600},     // bottom-right
        {960, 540, 400, 300},       // centre
        {0, 540, -133.333f, 300},   // on the left bar: outside the picture
    };
    for (const Case& c : cases) {
        float lx = 0, ly = 0;
        windowToLogical(box, c.wx, c.wy, &lx, &ly);
        EXPECT_NEAR(lx, c.lx, 0.01f);
        EXPECT_NEAR(ly, c.ly, 0.01f);
        float wx = 0, wy = 0;
        logicalToWindow(box, lx, ly, &wx, &wy);
        EXPECT_NEAR(wx, c.wx, 0.01f);
        EXPECT_NEAR(wy, c.wy, 0.01f);
    }
    // A minimised window maps without dividing by zero.
    float lx = -1, ly = -1;
    windowToLogical(computeLetterbox(0, 0), 10, 10, &lx, &ly);
    EXPECT_TRUE(std::isfinite(lx) && std::isfinite(ly));
}

SDL_Event buttonEvent(Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

TEST(SdlEvents, MouseButtonsAndDoubleClicks) {
    const Letterbox box = computeLetterbox(1600, 1200);  // scale 2
    struct Case {
        SDL_Event sdl;
        bool passed;
        EventType type;
    } cases[] = {
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10, 20), true, EventType::LeftDown},
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 10, 20), true, EventType::LeftDoubleClick},
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 10, 20), true, EventType::LeftDown},
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 4, 10, 20), true, EventType::LeftDoubleClick},
        {buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2, 10, 20), true, EventType::LeftUp},
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, 10, 20), true, EventType::RightDown},
        {buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 10, 20), true, EventType::RightUp},
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 10, 20), true, EventType::MiddleDown},
        {buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 10, 20), false, EventType::MiddleDown},
        {buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 10, 20), false, EventType::MiddleDown},
    };
    for (const Case& c : cases) {
        CursorState cursor;
        Event out;
        EXPECT_EQ(translateSdlEvent(c.sdl, box, out, cursor), c.passed);
        if (c.passed) {
            EXPECT_EQ(out.type, c.type);
        }
        // Every button event moves the cursor there, through the letterbox.
        EXPECT_FLOAT_EQ(cursor.x, 5.0f);
        EXPECT_FLOAT_EQ(cursor.y, 10.0f);
    }
}

TEST(SdlEvents, KeysWindowAndQuit) {
    const Letterbox box;
    CursorState cursor;
    Event out;
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_q;
    ASSERT_TRUE(translateSdlEvent(e, box, out, cursor));
    EXPECT_EQ(out.type, EventType::KeyDown);
    EXPECT_EQ(out.key, 'Q');
    e.key.keysym.sym = SDLK_CAPSLOCK;
    EXPECT_FALSE(translateSdlEvent(e, box, out, cursor));
    e.type = SDL_KEYUP;
    e.key.keysym.sym = SDLK_q;
    EXPECT_FALSE(translateSdlEvent(e, box, out, cursor));

    struct Case {
        Uint8 windowEvent;
        bool passed;
        EventType type;
    } cases[] = {
        {SDL_WINDOWEVENT_FOCUS_GAINED, true, EventType::Activate},
        {SDL_WINDOWEVENT_FOCUS_LOST, true, EventType::Deactivate},
        {SDL_WINDOWEVENT_MINIMIZED, true, EventType::Deactivate},
        {SDL_WINDOWEVENT_HIDDEN, true, EventType::Deactivate},
        {SDL_WINDOWEVENT_SIZE_CHANGED, true, EventType::Resize},
        {SDL_WINDOWEVENT_MOVED, false, EventType::Resize},
    };
    for (const Case& c : cases) {
        SDL_Event w{};
        w.type = SDL_WINDOWEVENT;
        w.window.event = c.windowEvent;
        EXPECT_EQ(translateSdlEvent(w, box, out, cursor), c.passed);
        if (c.passed) {
            EXPECT_EQ(out.type, c.type);
        }
    }
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_TRUE(translateSdlEvent(quit, box, out, cursor));
    EXPECT_EQ(out.type, EventType::Close);
}

}  // namespace
}  // namespace tessaly::platform
