// Checks on the default data set as the build generates it (Data/ next to
// the binaries), read back through the game's own registry, text table and
// picture decoders; and the pack writer against the game's pack reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../../tools/datagen/pack_format.h"
#include "data/registry.h"
#include "data/text.h"
#include "gfx/texture.h"
#include "tools/data_set_fixture.h"

namespace tessaly {
namespace {

// Printable codes of the game's character set (Windows-1251): 0x20..0x7E
// and 0x80..0xFF except the unassigned 0x98.
bool printable(int code) { return (code >= 0x20 && code < 0x7F) || (code >= 0x80 && code != 0x98); }

// The generated data set, read the way start-up reads it.
class GeneratedData : public test::GeneratedDataSet {};

TEST_F(GeneratedData, PacksHoldWhatIsReadOnceAndLooseFilesWhatIsReadEarly) {
    const struct {
        const char* pack;
        std::vector<const char*> names;
    } expected[] = {
        {"targa.dat", {"font.tga", "particles.tga"}},
        {"jpeg.dat", {"podsvet.jpg"}},
        {"texts.dat", {"strings.txt", "tips.txt", "menu.txt", "menutext.txt", "font.dat"}},
    };
    for (const auto& e : expected) {
        EXPECT_GT(m_packEntries[e.pack], 0) << e.pack;
        for (const char* name : e.names) {
            const data::DataEntry* entry = m_registry->find(name);
            ASSERT_NE(entry, nullptr) << name << " missing from " << e.pack;
            EXPECT_FALSE(entry->owned) << name << " should come from a pack";
            EXPECT_GT(entry->size, 0) << name;
        }
    }
    // Read before the packs exist, so they must be loose files.
    for (const char* name : {"loadscreen.jpg", "loadbar.jpg"}) {
        EXPECT_EQ(m_registry->find(name), nullptr) << name << " must not be packed";
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(TESSALY_DATA_DIR) / name)) << name;
    }
    // A packed name that also exists loose would hide the loose file for the
    // first read and not for the second.
    for (int i = 0; i < m_registry->count; ++i) {
        const data::DataEntry& entry = *m_registry->entries[size_t(i)];
        if (entry.size == 0 && !entry.owned && std::string(entry.name).ends_with(".DAT")) continue;
        for (const auto& file : std::filesystem::directory_iterator(TESSALY_DATA_DIR)) {
            std::string loose = file.path().filename().string();
            data::normalizeName(loose.data());
            EXPECT_NE(loose, entry.name) << "packed and loose at once";
        }
    }
}

TEST_F(GeneratedData, TextTablesUseCrLfAndReadBackThroughTheGameParser) {
    data::TextTable table;
    for (const char* file : {"strings.txt", "tips.txt"}) {
        const std::string text = block(file);
        ASSERT_GE(text.size(), 2u) << file;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << file << " must end with CR LF";
        int loneLineEnds = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ++loneLineEnds;
            if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) ++loneLineEnds;
        }
        EXPECT_EQ(loneLineEnds, 0) << file << ": every line ends with CR LF";
        table.parse(text.data(), int(text.size()));
    }
    const struct {
        const char* key;
        const char* text;
    } starters[] = {{"continue", "Continue"}, {"classic", "Classic"}, {"puzzle", "Puzzle"},
                    {"action", "Action"},     {"score", "Score"},     {"level", "Level"},
                    {"lives", "Lives"},       {"menu", "Menu"}};
    for (const auto& s : starters) {
        ASSERT_NE(table.find(s.key), nullptr) << s.key;
        EXPECT_STREQ(table.find(s.key), s.text);
    }
    ASSERT_NE(table.find("balltip"), nullptr);
    EXPECT_TRUE(std::string(table.find("balltip")).ends_with("\r\n"));
}

TEST_F(GeneratedData, FontHasAGlyphAndAWidthForEveryPrintableCode) {
    const std::string dat = block("font.dat");
    ASSERT_EQ(dat.size(), 516u);
    const int n = int(uint8_t(dat[0])) | int(uint8_t(dat[1])) << 8 | int(uint8_t(dat[2])) << 16 |
                  int(uint8_t(dat[3])) << 24;
    ASSERT_EQ(n, 16);
    const gfx::Image font = picture("font.tga");
    ASSERT_EQ(font.width, 512);
    ASSERT_EQ(font.height, 512);
    const int cellSize = 512 / n;
    for (int code = 0; code < 256; ++code) {
        const int width = uint8_t(dat[4 + size_t(code)]);
        const int cell = uint8_t(dat[260 + size_t(code)]);
        ASSERT_LT(cell, n * n);
        // Ink anywhere in the cell, and never on its outer rows (the
        // texture filter would carry it into the cell above or below).
        int ink = 0, edgeInk = 0;
        for (int y = 0; y < cellSize; ++y) {
            for (int x = 0; x < cellSize; ++x) {
                const uint8_t alpha =
                    font.pixels[((size_t(cell / n * cellSize + y) * 512) + size_t(cell % n * cellSize + x)) * 4 + 3];
                ink += alpha > 0;
                if (y == 0 || y == cellSize - 1) edgeInk += alpha > 0;
            }
        }
        EXPECT_EQ(edgeInk, 0) << "code " << code;
        if (!printable(code)) {
            EXPECT_EQ(width, 0) << "code " << code;
            EXPECT_EQ(ink, 0) << "code " << code;
            continue;
        }
        EXPECT_GT(width, 0) << "code " << code;
        EXPECT_LE(width, cellSize + 8) << "code " << code;
        const bool blank = code == 0x20 || code == 0xA0;  // space, no-break space
        EXPECT_EQ(ink > 0, !blank) << "code " << code;
    }
}

TEST_F(GeneratedData, PicturesDecodeAtTheSizesTheGameDrawsThem) {
    const struct {
        const char* name;
        int width, height;
    } pictures[] = {{"loadscreen.jpg", 800, 600}, {"loadbar.jpg", 310, 48},
                    {"podsvet.jpg", 128, 64},     {"particles.tga", 512, 512}};
    for (const auto& p : pictures) {
        const gfx::Image image = picture(p.name);
        EXPECT_EQ(image.width, p.width) << p.name;
        EXPECT_EQ(image.height, p.height) << p.name;
    }
}

TEST_F(GeneratedData, TitlePictureKeepsTheBarStripDarkAndTheHighlightEdgesBlack) {
    // The bar and the white prompt are drawn over rows 543..591; a bright or
    // busy ground there would swallow them.
    const gfx::Image title = picture("loadscreen.jpg");
    ASSERT_EQ(title.width, 800);
    double sum = 0;
    int count = 0;
    for (int y = 530; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = &title.pixels[(size_t(y) * 800 + size_t(x)) * 4];
            sum += 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
            ++count;
        }
    }
    EXPECT_LT(sum / count, 80.0);

    // The highlight is added onto the screen: anything but black at its
    // edges would show as a faint rectangle behind every highlighted text.
    const gfx::Image glow = picture("podsvet.jpg");
    ASSERT_EQ(glow.width, 128);
    EXPECT_LE(test::brightestEdge(glow), 2);
    EXPECT_GT(glow.pixels[(32 * 128 + 64) * 4 + 2], 200);
}

TEST_F(GeneratedData, ParticleCellsAreFilledClearAtTheirEdgesAndSafeForAdditiveBlending) {
    const gfx::Image sheet = picture("particles.tga");
    ASSERT_EQ(sheet.width, 512);
    for (int cell = 0; cell < 64; ++cell) {
        const int left = cell % 8 * 64, top = cell / 8 * 64;
        int ink = 0, edgeInk = 0, tooBright = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const uint8_t* p = &sheet.pixels[(size_t(top + y) * 512 + size_t(left + x)) * 4];
                ink += p[3] > 0;
                if (x < 2 || y < 2 || x >= 62 || y >= 62) edgeInk += p[3] > 0;
                // Colour is stored times sqrt(alpha), so adding by colour
                // never lights up what alpha hides.
                const double limit = 255 * std::sqrt(p[3] / 255.0) + 1.5;
                for (int c = 0; c < 3; ++c) tooBright += p[c] > limit;
            }
        }
        EXPECT_GT(ink, 20) << "cell " << cell << " is empty";
        EXPECT_EQ(edgeInk, 0) << "cell " << cell << " touches its edge";
        EXPECT_EQ(tooBright, 0) << "cell " << cell;
    }
}

// The generator's pack writer against the game's pack reader.
TEST(PackWriter, EntriesReadBackExactly) {
    datagen::Bytes everyByte(256);
    for (int i = 0; i < 256; ++i) everyByte[size_t(i)] = uint8_t(i);
    const datagen::PackEntries entries = {
        {"a.txt", {'h', 'i'}},
        {"empty.dat", {}},
        {std::string(63, 'n'), everyByte},
        {"Mixe.tga", {'M', 'i', 'x', 'e', 'x'}},  // stored as NUL bytes: data is not text
    };
    const datagen::Bytes pack = datagen::encodePack(entries);

    data::DataRegistry registry;
    auto buffer = std::make_unique<uint8_t[]>(pack.size());
    std::copy(pack.begin(), pack.end(), buffer.get());
    ASSERT_EQ(registry.loadPackFromMemory("test.dat", std::move(buffer), int32_t(pack.size())), 4);
    for (const auto& [name, bytes] : entries) {
        const data::DataEntry* entry = registry.find(name);
        ASSERT_NE(entry, nullptr) << name;
        ASSERT_EQ(size_t(entry->size), bytes.size()) << name;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), entry->data)) << name;
    }
}

TEST(PackWriter, RefusesNamesTheReaderCouldNotTakeBack) {
    for (const std::string& name : {std::string(), std::string(64, 'x'), std::string("a\0b", 3)}) {
        EXPECT_THROW(datagen::encodePack({{name, {1, 2, 3}}}), std::invalid_argument)
            << "name of " << name.size() << " bytes";
    }
}

}  // namespace
}  // namespace tessaly
