// The texture manager: one named cache of device textures. A texture is asked
// for by file name and comes back as a TextureEntry that stays valid until it
// is removed; asking again returns the same entry (names compare exactly).
//
// Three kinds of picture:
//  - texture files: ".tga" (with alpha) and ".jpg" at their own size;
//  - alpha companions: for "x.tga" the manager first tries "_a_x.jpg", a JPEG
//    followed by one alpha byte per texel, cached under the companion name;
//  - image textures: a picture of given pixel size placed unscaled in the
//    top-left corner of a power-of-two texture (backgrounds, title art).
//
// Capacity: kMaxTextures entries; creating more shows "Couldn't create
// texture: %s" and returns null (a required texture file then stops the
// program with "Couldn't load texture: %s"). Pictures larger than 1024 in
// either direction have no image texture and are refused the same way.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/device.h"
#include "platform/null/null_device.h"

namespace tessaly::gfx {

constexpr int kMaxTextures = 1023;
constexpr int kFormatA8R8G8B8 = 21;  // pixel format id of every texture we create

struct TextureEntry {
    char name[128] = {};
    int width = 0;                     // texels, level 0
    int height = 0;
    platform::TextureId texture = 0;
    bool hasAlpha = false;             // ".tga" names and alpha companions
    bool isRenderTarget = false;
    int format = kFormatA8R8G8B8;
};

// A decoded picture: A8R8G8B8 texels (bytes B, G, R, A), rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4
};

// Decoders for files held in memory. Return false on anything that does not
// decode; never read past `size`.
bool decodeTga(const uint8_t* bytes, int size, Image& out);
bool decodeJpeg(const uint8_t* bytes, int size, Image& out);
// By content: JPEG when it starts with FF D8, otherwise TGA.
bool decodeImage(const uint8_t* bytes, int size, Image& out);

// Smallest of 2, 4, ..., 1024 that is at least n; 0 above 1024.
int nextPowerOfTwo(int n);

struct TextureManager {
    std::array<std::unique_ptr<TextureEntry>, kMaxTextures> entries;
    int count = 0;
    platform::Device* device = &platform::g_idleDevice;  // set with gfx::installDevice

    TextureEntry* find(std::string_view name);
    TextureEntry* load(std::string_view name, bool fatal);
    // "_a_x.jpg": JPEG part then one alpha byte per texel; null when absent
    // or undecodable. Releases the data entry.
    TextureEntry* loadAlphaCompanion(std::string_view name);
    TextureEntry* loadImage(std::string_view name, int width, int height);
    TextureEntry* loadImageWithAlpha(std::string_view name, int width, int height);
    TextureEntry* create(std::string_view name, int width, int height, int format, bool renderTarget);
    void remove(TextureEntry* entry);
    void releaseRenderTargets();
    void restoreRenderTargets();
    void clear();  // removes every entry (tests, shutdown)
};

inline TextureManager g_textures;

inline TextureEntry* loadTexture(std::string_view name, bool fatal = true) {
    return g_textures.load(name, fatal);
}
inline TextureEntry* loadImageTexture(std::string_view name, int width, int height) {
    return g_textures.loadImage(name, width, height);
}
inline TextureEntry* loadImageTextureWithAlpha(std::string_view name, int width, int height) {
    return g_textures.loadImageWithAlpha(name, width, height);
}
inline void removeTexture(TextureEntry* entry) { g_textures.remove(entry); }

}  // namespace tessaly::gfx
