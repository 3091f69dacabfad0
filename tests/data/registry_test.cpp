#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "base/loading.h"
#include "data/registry.h"
#include "support/test_support.h"

namespace tessaly::data {
namespace {

using test::Bytes;
using test::packBytes;
using test::toBytes;

std::string normalized(std::string s) {
    normalizeName(s.data());
    return s;
}

std::string blockText(const uint8_t* data, int32_t size) {
    return std::string(reinterpret_cast<const char*>(data), size_t(size));
}

// The block of a name as loaded, or "(null)".
std::string loaded(std::string_view name) {
    int32_t size = 0;
    const uint8_t* data = loadDataFile(name, &size, false);
    return data ? blockText(data, size) : "(null)";
}

TEST(NormalizeName, UpperCasesAsciiAndCyrillicLettersOnly) {
    EXPECT_EQ(normalized("bal00.tga"), "BAL00.TGA");
    EXPECT_EQ(normalized("Mixed_Case-9.Dat"), "MIXED_CASE-9.DAT");
    EXPECT_EQ(normalized("\xE0\xEF\xFF"), "\xC0\xCF\xDF");  // a, p, ya in Windows-1251
    EXPECT_EQ(normalized("\xC0\xDF\xB8{}`"), "\xC0\xDF\xB8{}`");
}

class Registry : public test::DataFolderTest {
protected:
    DataRegistry& reg = g_registry;
};

TEST_F(Registry, LooseFilesAreReadOnceAndServedFromMemory) {
    m_folder.write("menu.txt", "hello");
    const int64_t bytesBefore = base::g_loading.loadedBytes;
    int32_t size = -1;
    uint8_t* first = loadDataFile("menu.txt", &size, false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(blockText(first, size), "hello");
    EXPECT_EQ(base::g_loading.loadedBytes - bytesBefore, 5);  // registering reports its size

    // Any letter case finds the registered block without touching the disk.
    std::filesystem::remove(m_folder.path() / "menu.txt");
    EXPECT_EQ(loadDataFile("MENU.Txt", &size, false), first);
    EXPECT_EQ(findDataEntry("Menu.TXT")->size, 5);

    EXPECT_TRUE(releaseDataEntry(first));
    EXPECT_FALSE(releaseDataEntry(first));
    EXPECT_EQ(loadDataFile("menu.txt", &size, false), nullptr);
    EXPECT_EQ(reg.count, 0);
}

TEST_F(Registry, LooseFileNamesMatchWithoutRegardToCase) {
    m_folder.write("Sounds/Ball.OGG", "ogg");
    m_folder.write("empty.lvl", "");
    ScopedFolder sounds("Sounds");
    int32_t size = -1;
    uint8_t* data = loadDataFile("ball.ogg", &size, false);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(blockText(data, size), "ogg");
    {
        ScopedFolder root("");
        uint8_t* empty = loadDataFile("empty.lvl", &size, false);
        EXPECT_NE(empty, nullptr);  // an empty file still has a block of its own
        EXPECT_EQ(size, 0);
    }
    EXPECT_EQ(reg.subfolder, "Sounds");
}

TEST_F(Registry, MissingOrOverlongNamesLoadAsNull) {
    EXPECT_EQ(loadDataFile("absent.txt", nullptr, false), nullptr);
    const std::string longName(kMaxDataNameLength + 1, 'a');
    m_folder.write(longName.substr(0, 100), "x");  // no file system takes 128, but the name is refused first
    EXPECT_EQ(loadDataFile(longName, nullptr, false), nullptr);
    EXPECT_EQ(findDataEntry(longName), nullptr);
    uint8_t* owned = new uint8_t[1];
    EXPECT_EQ(reg.add(longName, 1, owned, true), nullptr);  // refused, and the block freed
    EXPECT_NE(reg.add(std::string(kMaxDataNameLength, 'b'), 0, nullptr, false), nullptr);
}

TEST_F(Registry, RequiredFileMissingStopsTheProgram) {
    // The message names the folder it looked in.
    const std::string folder = std::filesystem::absolute(m_folder.path()).lexically_normal().string();
    EXPECT_EXIT(loadDataFile("nothere.dat", nullptr, true), testing::ExitedWithCode(1),
                "Can't load nothere.dat...\nThe data folder looked in: " + folder + "\nProgram will now stop.");
    EXPECT_EXIT(loadDataFile(std::string(200, 'q'), nullptr, true), testing::ExitedWithCode(1),
                "Can't load q+");
}

TEST_F(Registry, MoreEntriesThanTheTableHoldsStopTheProgram) {
    for (int i = 0; i < kMaxDataEntries; ++i)
        ASSERT_NE(reg.add("f" + std::to_string(i), 0, nullptr, false), nullptr);
    EXPECT_EXIT(reg.add("one.more", 0, nullptr, false), testing::ExitedWithCode(1),
                "Too many data files.*ONE.MORE");
}

TEST_F(Registry, PackEntriesAreUnscrambledAndServedOnce) {
    const Bytes pack = packBytes({{"strings.txt", toBytes("a=1\r\n")},
                                  {"Empty.bin", {}},
                                  {"bal00.tga", toBytes("TGA-DATA-LONGER-THAN-ITS-NAME")}});
    m_folder.write("targa.dat", pack);
    m_folder.write("bal00.tga", "from disk");
    const int64_t bytesBefore = base::g_loading.loadedBytes;
    EXPECT_EQ(reg.loadPack("targa.dat"), 3);
    EXPECT_EQ(reg.count, 4);  // the pack itself and its three entries
    EXPECT_EQ(base::g_loading.loadedBytes - bytesBefore, 5 + 0 + 29);

    int32_t size = -1;
    uint8_t* ball = loadDataFile("BAL00.TGA", &size, true);
    EXPECT_EQ(blockText(ball, size), "TGA-DATA-LONGER-THAN-ITS-NAME");
    EXPECT_NE(loadDataFile("empty.bin", &size, true), nullptr);
    EXPECT_EQ(size, 0);

    // The pack's own entry serves the raw pack with size 0.
    uint8_t* raw = loadDataFile("targa.dat", &size, true);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(std::memcmp(raw, "strings.txt", 12), 0);

    // Released, a pack entry is looked for on disk.
    EXPECT_TRUE(releaseDataEntry(ball));
    uint8_t* again = loadDataFile("bal00.tga", &size, true);
    EXPECT_EQ(blockText(again, size), "from disk");

    // Releasing the pack's own entry keeps the buffer its entries live in.
    EXPECT_TRUE(releaseDataEntry(raw));
    EXPECT_EQ(loaded("strings.txt"), "a=1\r\n");
}

TEST_F(Registry, FirstRegisteredPackWinsAndMissingPacksAreSkipped) {
    m_folder.write("targa.dat", packBytes({{"same.txt", toBytes("first")}}));
    m_folder.write("texts.dat", packBytes({{"SAME.TXT", toBytes("second")}}));
    EXPECT_EQ(reg.loadPack("targa.dat"), 1);
    EXPECT_EQ(reg.loadPack("jpeg.dat"), 0);
    EXPECT_EQ(reg.loadPack("texts.dat"), 1);
    EXPECT_EQ(loaded("same.txt"), "first");
}

TEST_F(Registry, DamagedPacksKeepTheEntriesBeforeTheFault) {
    const Bytes good = packBytes({{"one.txt", toBytes("1")}, {"two.txt", toBytes("22")}});
    const int goodSize = int(good.size());
    auto with = [&](const Bytes& tail) {
        Bytes b = good;
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    Bytes longName(70, 'n');  // no NUL within 64 bytes
    longName.push_back(0);
    struct Case {
        const char* what;
        Bytes pack;
        const char* message;
    };
    const Case cases[] = {
        {"empty name", with({0, 1, 0, 0, 0, 'x'}), "empty name"},
        {"name over 63 bytes", with(longName), "longer than 63"},
        {"name cut by the end", with(toBytes("abc")), "name runs past the end"},
        {"length cut by the end", with({'a', 0, 1, 0}), "length runs past the end"},
        {"data past the end", with({'a', 0, 10, 0, 0, 0, 'x', 'y'}), "data runs past the end"},
        {"huge length", with({'a', 0, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}), "data runs past the end"},
    };
    for (const Case& c : cases) {
        reg.clear();
        const int size = int(c.pack.size());
        auto buffer = std::make_unique<uint8_t[]>(size_t(size));
        std::memcpy(buffer.get(), c.pack.data(), size_t(size));
        testing::internal::CaptureStderr();
        const int registered = reg.loadPackFromMemory("broken.dat", std::move(buffer), size);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(registered, 2) << c.what;
        EXPECT_NE(err.find("broken.dat"), std::string::npos) << c.what << ": " << err;
        EXPECT_NE(err.find("offset " + std::to_string(goodSize)), std::string::npos) << c.what << ": " << err;
        EXPECT_NE(err.find(c.message), std::string::npos) << c.what << ": " << err;
        EXPECT_EQ(loaded("two.txt"), "22") << c.what;
    }
}

TEST_F(Registry, WriteReplacesTheFileThroughATemporary) {
    m_folder.write("settings/profiles.dat", "old contents");
    ScopedFolder settings("settings");
    const Bytes fresh = toBytes("new");
    EXPECT_TRUE(writeDataFile("profiles.dat", fresh.data(), int32_t(fresh.size())));
    EXPECT_EQ(m_folder.read("settings/profiles.dat"), fresh);
    EXPECT_FALSE(std::filesystem::exists(m_folder.path() / "settings/profiles.dat.tmp"));
    EXPECT_TRUE(writeDataFile("empty.dat", nullptr, 0));
    EXPECT_TRUE(m_folder.read("settings/empty.dat").empty());

    // A folder that does not exist, or a name that climbs out of the folder,
    // fails without touching anything.
    EXPECT_FALSE(writeDataFile("nofolder/x.dat", fresh.data(), 3));
    EXPECT_FALSE(writeDataFile("../escape.dat", fresh.data(), 3));
    EXPECT_FALSE(std::filesystem::exists(m_folder.path() / "escape.dat"));
    EXPECT_EQ(m_folder.read("settings/profiles.dat"), fresh);
}

}  // namespace
}  // namespace tessaly::data
