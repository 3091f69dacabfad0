#include "platform/letterbox.h"

#include <algorithm>
#include <cmath>

namespace tessaly::platform {

Letterbox computeLetterbox(int windowWidth, int windowHeight) {
    Letterbox box;
    if (windowWidth <= 0 || windowHeight <= 0) {
        box.x = box.y = box.width = box.height = 0;
        return box;
    }
    const double scale = std::min(double(windowWidth) / kLogicalWidth,
                                  double(windowHeight) / kLogicalHeight);
    box.width = std::clamp(int(std::lround(kLogicalWidth * scale)), 1, windowWidth);
    box.height = std::clamp(int(std::lround(kLogicalHeight * scale)), 1, windowHeight);
    box.x = (windowWidth - box.width) / 2;
    box.y = (windowHeight - box.height) / 2;
    return box;
}

void windowToLogical(const Letterbox& box, float wx, float wy, float* lx, float* ly) {
    // An empty box (minimised window) has no picture to map into.
    const float w = box.width > 0 ? float(box.width) : float(kLogicalWidth);
    const float h = box.height > 0 ? float(box.height) : float(kLogicalHeight);
    *lx = (wx - float(box.x)) * kLogicalWidth / w;
    *ly = (wy - float(box.y)) * kLogicalHeight / h;
}

void logicalToWindow(const Letterbox& box, float lx, float ly, float* wx, float* wy) {
    *wx = float(box.x) + lx * float(box.width) / kLogicalWidth;
    *wy = float(box.y) + ly * float(box.height) / kLogicalHeight;
}

}  // namespace tessaly::platform
