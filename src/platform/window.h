// The window, its input and the process-level services of the platform:
// the one main window with its OpenGL device, input events in the screens'
// terms, the cursor, the monotonic clock, the single-instance lock and the
// fatal message box. Implemented on SDL2; nothing here exposes SDL.
//
// The 800 x 600 picture is scaled into the window with its aspect kept
// (black bars); cursor positions are mapped through the same letterbox.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly::platform {

class Device;

struct WindowOptions {
    bool fullscreen = false;   // desktop-sized borderless window
    const char* title = "Tessaly";
};

// Opens the window and its device. False when no window or no OpenGL 3.3
// context could be had (the caller shows its message).
bool openWindow(const WindowOptions& options);
void closeWindow();
bool windowOpen();
Device* windowDevice();
void setFullscreen(bool fullscreen);
// Why the last openWindow failed, for the message on stderr.
const char* windowError();
// Asks the driver to wait for the display refresh when presenting. False
// when it does not honour the request (the caller then paces frames itself).
bool setVsync(bool on);
// The refresh rate of the display the window is on, in Hz; 0 when unknown.
int displayRefreshHz();
// The OpenGL renderer and version, for --verbose.
std::string graphicsRenderer();
// Brings the window to the front, restoring it when minimised.
void raiseWindow();

enum class EventType : uint8_t {
    KeyDown,          // key: Windows virtual-key number
    LeftDown, LeftUp, LeftDoubleClick,
    RightDown, RightUp, MiddleDown,
    MouseMove,
    Activate, Deactivate,
    Close,            // the window's close button
    Resize,
    Raise,            // a second copy asked this one to come to the front
};

struct Event {
    EventType type;
    int key = 0;
};

// Next pending event; false when the queue is empty.
bool pollEvent(Event& out);

// The cursor in logical pixels of the 800 x 600 picture (x right, y down).
void cursorPosition(float* x, float* y);
// Moves the cursor (logical pixels); also used by scripted input.
void setCursorPosition(float x, float y);
void showSystemCursor(bool show);

// Monotonic milliseconds since an arbitrary start.
uint32_t milliseconds();
void sleepMs(uint32_t ms);
// The same clock in microseconds, and a sleep of at least `us`.
uint64_t microseconds();
void sleepUs(uint64_t us);
// Milliseconds since the system started: varies from run to run, for
// seeding the random generator when no seed is given.
uint32_t systemUptimeMs();

// True when this process holds the single-instance lock named `name`; false
// when another running copy holds it. The holder writes its process number
// into the lock file and from then on turns a "come to the front" request
// into a Raise event.
bool acquireSingleInstanceLock(std::string_view name);
// Asks the copy holding the lock to come to the front. False when no running
// copy could be asked.
bool askRunningCopyToRaise(std::string_view name);
// True once after a running copy was asked to come to the front.
bool takeRaiseRequest();
// The lock file behind it: "<runtime folder>/<name, lower-case, dashes>.lock",
// the runtime folder being $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp.
std::string singleInstanceLockPath(std::string_view name);

// True when messages can be shown in a window (a real video driver and an X
// or Wayland display); false when running headless.
bool displayAvailable();

// Shows a message box (or, without a display, prints to stderr).
void showMessage(std::string_view text, std::string_view caption);
// Shows the message and ends the process with exitCode.
[[noreturn]] void fatalError(std::string_view text, std::string_view caption, int exitCode);

}  // namespace tessaly::platform
