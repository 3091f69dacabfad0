// The message line: one short message at the bottom centre of the screen
// that slides in, wobbles and slides out ("Cheat key enabled"). A message
// given while another is showing replaces its text without restarting the
// timer. Stepped by the screen with the frame step, then drawn.
//
// Timer phases (ms, counting down from 1400): above 1000 arriving, 500..1000
// wobbling at 0.3 x speed (about 1667 ms), below 500 leaving; below 0 idle.
// Depends on: fonts and text drawing.
#pragma once

#include <string_view>

namespace tessaly::gfx {

constexpr int kMessageLength = 127;        // longer messages are cut
constexpr float kMessageStartMs = 1400;

// Where and how big the message is drawn this frame, after advancing.
struct MessageFrame {
    bool visible = false;
    float y = 0;
    float size = 0;
    int alpha = 0;
};

struct MessageLine {
    char text[kMessageLength + 1] = {};
    float timerMs = 0;                     // at or below 0: idle
    MessageFrame shown;                    // this frame's picture, set by the step
};

inline MessageLine g_messageLine;

void showMessage(MessageLine& m, std::string_view text);
MessageFrame advanceMessageLine(MessageLine& m, float stepMs);
// The frame's step advances the line and keeps the frame to draw; drawing
// only reads.
inline void stepMessageLine(MessageLine& m, float stepMs) { m.shown = advanceMessageLine(m, stepMs); }
void drawMessageLine(const MessageLine& m);

inline void showMessage(std::string_view text) { showMessage(g_messageLine, text); }
inline void stepMessageLine(float stepMs) { stepMessageLine(g_messageLine, stepMs); }
inline void drawMessageLine() { drawMessageLine(g_messageLine); }

}  // namespace tessaly::gfx
