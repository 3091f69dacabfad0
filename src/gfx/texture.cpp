#include "gfx/texture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/copy_text.h"
#include "base/lookups.h"
#include "data/registry.h"
#include "platform/window.h"

namespace tessaly::gfx {

namespace {

constexpr size_t kMaxTextureNameLength = sizeof(TextureEntry::name) - 1;

bool isTgaName(std::string_view name) {
    return name.find(".tga") != std::string_view::npos || name.find(".TGA") != std::string_view::npos;
}

// "_a_" + the name up to its first dot + ".jpg": bal00.tga gives _a_bal00.jpg.
// Built in a buffer of the caller's, since textures are looked up by name
// every frame; a stem too long for the buffer is cut (no such name exists).
struct CompanionName {
    char text[kMaxTextureNameLength + 1];
    size_t length;
    std::string_view view() const { return {text, length}; }
};
CompanionName companionName(std::string_view name) {
    CompanionName c{};
    const std::string_view stem = name.substr(0, std::min(name.find('.'), kMaxTextureNameLength - 7));
    std::memcpy(c.text, "_a_", 3);
    if (!stem.empty()) std::memcpy(c.text + 3, stem.data(), stem.size());
    std::memcpy(c.text + 3 + stem.size(), ".jpg", 4);
    c.length = 7 + stem.size();
    c.text[c.length] = 0;
    return c;
}

// Length of the JPEG part of a picture with alpha: up to and including the
// first FF D9 (end of image); the whole block when there is none.
int jpegPartLength(const uint8_t* bytes, int size) {
    for (int i = 0; i + 1 < size; ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) return i + 2;
    return size;
}

[[noreturn]] void couldntLoad(std::string_view name) {
    const std::string text = "Couldn't load texture: " + std::string(name);
    platform::fatalError(text, "Loading error", 1);
}

void couldntCreate(std::string_view name) {
    platform::showMessage("Couldn't create texture: " + std::string(name), "Init error");
}

// A new entry with a device texture of the given size; null when the table
// is full, the name does not fit or the device refuses.
TextureEntry* newEntry(TextureManager& m, std::string_view name, int width, int height) {
    if (m.count >= kMaxTextures || name.size() > kMaxTextureNameLength) return nullptr;
    const platform::TextureId id = m.device->createTexture(width, height);
    if (id == 0) return nullptr;
    auto entry = std::make_unique<TextureEntry>();
    base::copyText(entry->name, name);
    entry->width = width;
    entry->height = height;
    entry->texture = id;
    TextureEntry* result = entry.get();
    m.entries[size_t(m.count++)] = std::move(entry);
    return result;
}

// Copies the top-left width x height of a picture into the texture
// unscaled; a smaller picture fills only its own part.
void upload(platform::Device& device, const TextureEntry& e, const Image& image, int width, int height) {
    const int w = std::min(width, image.width), h = std::min(height, image.height);
    if (w > 0 && h > 0) device.updateTexture(e.texture, 0, 0, w, h, image.pixels.data(), image.width * 4);
}

}  // namespace

TextureEntry* TextureManager::find(std::string_view name) {
    for (int i = 0; i < count; ++i)
        if (std::string_view(entries[size_t(i)]->name) == name) return entries[size_t(i)].get();
    return nullptr;
}

TextureEntry* TextureManager::load(std::string_view name, bool fatal) {
    if (TextureEntry* e = find(name)) return e;
    if (isTgaName(name)) {
        // The companion is cached under its own name; a second request finds
        // it there rather than reading it again (a pack entry is gone once
        // read, so reading again would fall through to the bare name).
        const CompanionName companion = companionName(name);
        if (TextureEntry* e = find(companion.view())) return e;
        if (TextureEntry* e = loadAlphaCompanion(companion.view())) return e;
    }
    int32_t size = 0;
    const uint8_t* bytes = data::loadDataFile(name, &size, false);
    Image image;
    TextureEntry* e = nullptr;
    if (bytes && decodeImage(bytes, size, image)) e = newEntry(*this, name, image.width, image.height);
    if (!e) {
        if (fatal) couldntLoad(name);
        base::noteLookupMiss(base::LookupKind::Texture, name);
        return nullptr;
    }
    upload(*device, *e, image, image.width, image.height);
    e->hasAlpha = isTgaName(name);
    return e;
}

TextureEntry* TextureManager::loadAlphaCompanion(std::string_view name) {
    int32_t size = 0;
    const uint8_t* bytes = data::loadDataFile(name, &size, false);
    if (!bytes) return nullptr;
    const int jpegLength = jpegPartLength(bytes, size);
    Image image;
    TextureEntry* e = nullptr;
    if (decodeJpeg(bytes, jpegLength, image)) e = newEntry(*this, name, image.width, image.height);
    if (e) {
        // Alpha byte k goes to texel k in memory order; a short alpha part
        // leaves the rest opaque, a long one is cut at the texel count.
        const size_t texels = size_t(image.width) * size_t(image.height);
        const size_t alphas = std::min(size_t(size - jpegLength), texels);
        for (size_t k = 0; k < alphas; ++k) image.pixels[k * 4 + 3] = bytes[size_t(jpegLength) + k];
        upload(*device, *e, image, image.width, image.height);
        e->hasAlpha = true;
    }
    data::releaseDataEntry(bytes);
    return e;
}

TextureEntry* TextureManager::loadImage(std::string_view name, int width, int height) {
    if (TextureEntry* e = find(name)) return e;
    const int textureWidth = nextPowerOfTwo(width), textureHeight = nextPowerOfTwo(height);
    if (width <= 0 || height <= 0 || textureWidth == 0 || textureHeight == 0) {
        // Above 1024 there is no texture to put the picture in.
        couldntCreate(name);
        return nullptr;
    }
    int32_t size = 0;
    const uint8_t* bytes = data::loadDataFile(name, &size, true);
    Image image;
    const bool decoded = decodeImage(bytes, size, image);
    TextureEntry* e = create(name, textureWidth, textureHeight, kFormatA8R8G8B8, false);
    if (e && decoded) upload(*device, *e, image, width, height);
    if (e && !decoded)
        std::fprintf(stderr, "Picture %.*s could not be decoded; it stays empty\n", int(name.size()),
                     name.data());
    data::releaseDataEntry(bytes);
    return e;
}

TextureEntry* TextureManager::loadImageWithAlpha(std::string_view name, int width, int height) {
    int32_t size = 0;
    const uint8_t* bytes = data::loadDataFile(name, &size, false);
    if (!bytes) return nullptr;
    const int textureWidth = nextPowerOfTwo(width), textureHeight = nextPowerOfTwo(height);
    TextureEntry* e = nullptr;
    if (width > 0 && height > 0 && textureWidth > 0 && textureHeight > 0)
        e = create(name, textureWidth, textureHeight, kFormatA8R8G8B8, false);
    else
        couldntCreate(name);
    if (e) {
        const int jpegLength = jpegPartLength(bytes, size);
        Image image;
        if (decodeJpeg(bytes, jpegLength, image)) {
            // The picture is width x height whatever the JPEG's own size;
            // alpha byte k belongs to picture texel (k mod width, k / width).
            Image picture;
            picture.width = width;
            picture.height = height;
            picture.pixels.assign(size_t(width) * size_t(height) * 4, 0);
            const int w = std::min(width, image.width), h = std::min(height, image.height);
            for (int r = 0; r < h; ++r)
                std::memcpy(&picture.pixels[size_t(r) * size_t(width) * 4],
                            &image.pixels[size_t(r) * size_t(image.width) * 4], size_t(w) * 4);
            const size_t alphas =
                std::min(size_t(size - jpegLength), size_t(width) * size_t(height));
            for (size_t k = 0; k < alphas; ++k)
                picture.pixels[k * 4 + 3] = bytes[size_t(jpegLength) + k];
            upload(*device, *e, picture, width, height);
        } else {
            std::fprintf(stderr, "Picture %.*s could not be decoded; it stays empty\n",
                         int(name.size()), name.data());
        }
    }
    data::releaseDataEntry(bytes);
    return e;
}

TextureEntry* TextureManager::create(std::string_view name, int width, int height, int format,
                                     bool renderTarget) {
    if (TextureEntry* e = find(name)) return e;
    TextureEntry* e = width > 0 && height > 0 ? newEntry(*this, name, width, height) : nullptr;
    if (!e) {
        couldntCreate(name);
        return nullptr;
    }
    e->format = format;
    e->isRenderTarget = renderTarget;
    return e;
}

void TextureManager::remove(TextureEntry* entry) {
    for (int i = 0; i < count; ++i) {
        if (entries[size_t(i)].get() != entry) continue;
        if (entry->texture) device->destroyTexture(entry->texture);
        for (int j = i + 1; j < count; ++j) entries[size_t(j - 1)] = std::move(entries[size_t(j)]);
        entries[size_t(--count)].reset();
        return;
    }
}

void TextureManager::releaseRenderTargets() {
    for (int i = 0; i < count; ++i) {
        TextureEntry& e = *entries[size_t(i)];
        if (!e.isRenderTarget || !e.texture) continue;
        device->destroyTexture(e.texture);
        e.texture = 0;
    }
}

void TextureManager::restoreRenderTargets() {
    for (int i = 0; i < count; ++i) {
        TextureEntry& e = *entries[size_t(i)];
        if (!e.isRenderTarget || e.texture) continue;
        e.texture = device->createTexture(e.width, device->height() >= 512 ? e.height : 256);
    }
}

void TextureManager::clear() {
    while (count > 0) remove(entries[size_t(count - 1)].get());
}

}  // namespace tessaly::gfx
