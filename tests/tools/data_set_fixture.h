// A fixture over the generated default data set (Data/ next to the
// binaries): a registry of its own with the three packs loaded the way
// start-up loads them, and helpers that read blocks and pictures back
// through the game's own registry and decoders.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "data/registry.h"
#include "gfx/texture.h"

namespace tessaly::test {

class GeneratedDataSet : public ::testing::Test {
protected:
    void SetUp() override {
        m_registry = std::make_unique<data::DataRegistry>();
        m_registry->dataFolder = TESSALY_DATA_DIR;
        for (const char* pack : {"targa.dat", "jpeg.dat", "texts.dat"})
            m_packEntries[pack] = m_registry->loadPack(pack);
    }

    std::string block(std::string_view name) {
        int32_t size = 0;
        const uint8_t* data = m_registry->load(name, &size, false);
        return data ? std::string(reinterpret_cast<const char*>(data), size_t(size)) : std::string();
    }

    // True when the name is served from a pack.
    bool packed(std::string_view name) {
        const data::DataEntry* entry = m_registry->find(name);
        return entry && !entry->owned;
    }

    // Loads and decodes; an empty picture when missing or undecodable.
    gfx::Image picture(std::string_view name) {
        int32_t size = 0;
        const uint8_t* data = m_registry->load(name, &size, false);
        gfx::Image image;
        if (!data || !gfx::decodeImage(data, size, image)) image = {};
        return image;
    }

    std::unique_ptr<data::DataRegistry> m_registry;
    std::map<std::string, int> m_packEntries;  // entries registered per pack
};

// The brightest colour channel within `border` texels of a picture's edge.
// A picture added onto the screen must be black there, or it shows as a
// faint rectangle.
inline int brightestEdge(const gfx::Image& image, int border = 2) {
    int brightest = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (x >= border && y >= border && x < image.width - border && y < image.height - border)
                continue;
            const uint8_t* p = &image.pixels[(size_t(y) * size_t(image.width) + size_t(x)) * 4];
            brightest = std::max({brightest, int(p[0]), int(p[1]), int(p[2])});
        }
    }
    return brightest;
}

}  // namespace tessaly::test
