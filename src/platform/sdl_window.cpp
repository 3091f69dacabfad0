// The main window on SDL2: window and OpenGL context, the device on it, event
// translation and the cursor. Sections: window | events | cursor.
#include <SDL.h>

#include <memory>
#include <string>

#include "platform/gl/gl_device.h"
#include "platform/keys.h"
#include "platform/sdl_events.h"
#include "platform/window.h"

namespace tessaly::platform {

namespace {

// Everything the one main window owns.
struct WindowRecord {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    std::unique_ptr<GlDevice> device;
    CursorState cursor;
    std::string error;
};

WindowRecord g_window;

Letterbox windowLetterbox() {
    int w = kLogicalWidth, h = kLogicalHeight;
    if (g_window.window) SDL_GetWindowSize(g_window.window, &w, &h);
    return computeLetterbox(w, h);
}

}  // namespace

// ---------------------------------------------------------------------------
// Window

bool openWindow(const WindowOptions& options) {
    if (g_window.window) return true;
    g_window.error.clear();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        g_window.error = std::string("no video: ") + SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Depth and stencil live in the device's own offscreen picture.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    g_window.window = SDL_CreateWindow(options.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                       kLogicalWidth, kLogicalHeight, flags);
    if (!g_window.window) {
        g_window.error = std::string("no window: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    SDL_SetWindowMinimumSize(g_window.window, kLogicalWidth / 4, kLogicalHeight / 4);
    g_window.context = SDL_GL_CreateContext(g_window.window);
    if (!g_window.context) {
        g_window.error = std::string("no OpenGL 3.3 core context: ") + SDL_GetError();
        closeWindow();
        return false;
    }
    SDL_GL_MakeCurrent(g_window.window, g_window.context);
    g_window.device = GlDevice::create(g_window.window, &g_window.error);
    if (!g_window.device) {
        closeWindow();
        return false;
    }
    // Keys come as key presses only; no text input or on-screen keyboard.
    SDL_StopTextInput();
    SDL_ShowWindow(g_window.window);
    SDL_RaiseWindow(g_window.window);
    g_window.cursor = CursorState{};
    return true;
}

void closeWindow() {
    g_window.device.reset();
    if (g_window.context) SDL_GL_DeleteContext(g_window.context);
    g_window.context = nullptr;
    if (g_window.window) {
        SDL_DestroyWindow(g_window.window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    g_window.window = nullptr;
}

bool windowOpen() { return g_window.window != nullptr; }

Device* windowDevice() { return g_window.device.get(); }

const char* windowError() { return g_window.error.c_str(); }

void setFullscreen(bool fullscreen) {
    if (g_window.window)
        SDL_SetWindowFullscreen(g_window.window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool setVsync(bool on) {
    if (!g_window.context) return false;
    return SDL_GL_SetSwapInterval(on ? 1 : 0) == 0;
}

int displayRefreshHz() {
    if (!g_window.window) return 0;
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(g_window.window, &mode) != 0) return 0;
    return mode.refresh_rate;
}

std::string graphicsRenderer() { return g_window.device ? g_window.device->rendererText() : "none"; }

void raiseWindow() {
    if (!g_window.window) return;
    if (SDL_GetWindowFlags(g_window.window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(g_window.window);
    SDL_RaiseWindow(g_window.window);
}

// ---------------------------------------------------------------------------
// Events

bool translateSdlEvent(const SDL_Event& event, const Letterbox& box, Event& out,
                       CursorState& cursor) {
    auto moveCursor = [&](int wx, int wy) {
        windowToLogical(box, float(wx), float(wy), &cursor.x, &cursor.y);
    };
    out = Event{};
    switch (event.type) {
    case SDL_QUIT:
        out.type = EventType::Close;
        return true;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: out.type = EventType::Activate; return true;
        // A minimised or hidden window counts as inactive: nobody sees its frames.
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN: out.type = EventType::Deactivate; return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED: out.type = EventType::Resize; return true;
        default: return false;
        }
    case SDL_KEYDOWN:
        out.key = virtualKeyFromSdlKeycode(event.key.keysym.sym);
        out.type = EventType::KeyDown;
        return out.key != 0;
    case SDL_MOUSEMOTION:
        moveCursor(event.motion.x, event.motion.y);
        out.type = EventType::MouseMove;
        return true;
    case SDL_MOUSEBUTTONDOWN:
        moveCursor(event.button.x, event.button.y);
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            out.type = event.button.clicks >= 2 && event.button.clicks % 2 == 0
                           ? EventType::LeftDoubleClick
                           : EventType::LeftDown;
            return true;
        case SDL_BUTTON_RIGHT: out.type = EventType::RightDown; return true;
        case SDL_BUTTON_MIDDLE: out.type = EventType::MiddleDown; return true;
        default: return false;
        }
    case SDL_MOUSEBUTTONUP:
        moveCursor(event.button.x, event.button.y);
        switch (event.button.button) {
        case SDL_BUTTON_LEFT: out.type = EventType::LeftUp; return true;
        case SDL_BUTTON_RIGHT: out.type = EventType::RightUp; return true;
        default: return false;
        }
    default:
        return false;
    }
}

bool pollEvent(Event& out) {
    if (takeRaiseRequest()) {
        out = Event{EventType::Raise};
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (translateSdlEvent(event, windowLetterbox(), out, g_window.cursor)) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Cursor

void cursorPosition(float* x, float* y) {
    *x = g_window.cursor.x;
    *y = g_window.cursor.y;
}

void setCursorPosition(float x, float y) {
    g_window.cursor.x = x;
    g_window.cursor.y = y;
    // Move the real pointer only while it is over our window: warping a
    // pointer the player is using elsewhere would be rude.
    if (g_window.window && SDL_GetMouseFocus() == g_window.window) {
        float wx = 0, wy = 0;
        logicalToWindow(windowLetterbox(), x, y, &wx, &wy);
        SDL_WarpMouseInWindow(g_window.window, int(wx), int(wy));
    }
}

void showSystemCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace tessaly::platform
