#include "gfx/message_line.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/copy_text.h"
#include "base/math.h"
#include "gfx/font.h"

namespace tessaly::gfx {

void showMessage(MessageLine& m, std::string_view text) {
    if (m.timerMs <= 0) m.timerMs = kMessageStartMs;
    base::copyText(m.text, text);
}

MessageFrame advanceMessageLine(MessageLine& m, float stepMs) {
    MessageFrame f;
    float& t = m.timerMs;
    if (t < 0) return f;
    // The middle phase runs at 0.3 x speed so the message rests a while.
    t -= (t < 500 || t > 1000) ? stepMs : 0.3f * stepMs;

    f.visible = true;
    f.alpha = int(std::sin(t * base::kPi / 1500) * 127 + 127);
    if (t < 500) {
        f.y = -270 - (500 - t) * 0.1f;
        f.size = 21.58f;
    } else if (t > 1000) {
        f.y = -270 - (t - 1000) * 0.1f;
        f.size = (std::sin(t * base::kPi / 1500) * 12 + 6) * 1.3f;
    } else {
        f.y = -270;
        f.size = std::sin((t - 500) * 2 * base::kPi / 125) + 21.58f;
    }
    return f;
}

void drawMessageLine(const MessageLine& m) {
    const MessageFrame& f = m.shown;
    if (!f.visible) return;
    setTextColor(255, 255, 255, std::clamp(f.alpha, 0, 255));
    drawTextCentred(0, f.y, f.size, m.text);
    setTextColor(255, 255, 255, 255);
}

}  // namespace tessaly::gfx
