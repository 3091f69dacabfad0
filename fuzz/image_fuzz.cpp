// TGA, JPEG and JPEG-with-alpha pictures through the texture loader, with
// the bytes registered in memory under the name each path reads. The first
// byte chooses the path (and the picture size the sized paths ask for).
#include <cstring>
#include <memory>
#include <vector>

#include "data/registry.h"
#include "fuzz_support.h"
#include "gfx/texture.h"

using namespace tessaly;

namespace {

// An empty folder for the loose-file fallback, so that a name the input
// does not provide is simply missing.
int prepare() {
    data::g_registry.dataFolder = "/nonexistent-tessaly-fuzz";
    return 0;
}
const int s_prepared = prepare();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)s_prepared;
    fuzz::Input in(data, size);
    const uint8_t choice = in.byte();
    const uint8_t sizeByte = in.byte();
    std::vector<uint8_t> bytes(in.data(), in.data() + in.size());
    bytes.push_back(0);  // a pointer of its own even when empty
    const int32_t length = int32_t(in.size());
    gfx::TextureManager& t = gfx::g_textures;
    data::DataRegistry& r = data::g_registry;
    // Picture sizes the sized loaders take: 1..1024 on each side.
    const int width = 1 << (sizeByte & 7), height = 1 + ((sizeByte >> 3) * 33) % 1024;
    switch (choice % 5) {
    case 0:  // "x.tga": TGA or JPEG by content, no companion
        r.add("pic.tga", length, bytes.data(), false);
        t.load("pic.tga", false);
        break;
    case 1:
        r.add("pic.jpg", length, bytes.data(), false);
        t.load("pic.jpg", false);
        break;
    case 2:  // the alpha companion of "x.tga": JPEG then one alpha byte per texel
        r.add("_a_pic.jpg", length, bytes.data(), false);
        t.load("pic.tga", false);
        break;
    case 3:
        r.add("pic.jpg", length, bytes.data(), false);
        t.loadImageWithAlpha("pic.jpg", width, height);
        break;
    case 4:
        r.add("pic.jpg", length, bytes.data(), false);
        t.loadImage("pic.jpg", width, height);
        break;
    }
    t.clear();
    r.clear();
    return 0;
}
