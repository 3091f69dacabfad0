// The level map's path ("trajectory1.spl"): parsed, then sampled along its
// whole length and beyond both ends.
#include <memory>
#include <string>

#include "menus/level_map.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto path = std::make_unique<menus::SplinePath>();
    std::string error;
    if (menus::parseSplinePath(data, size, *path, error)) {
        for (int i = -2; i <= 34; ++i) (void)menus::pathPoint(*path, path->length * float(i) / 32.0f);
    }
    return 0;
}
