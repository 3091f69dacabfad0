// The data registry: every file the game reads from the data folder goes
// through it. A name is looked up in memory first (pack entries and files
// already read); only if it is absent is the loose file read from disk and
// registered too. Names match without regard to case (ASCII and the
// Windows-1251 Cyrillic letters).
//
// Loose files are read from the data folder, or from the subfolder made
// current with ScopedFolder ("levels", "Sounds", "effects", "settings"). The
// process working directory is never changed.
//
// Pack files ("targa.dat", "jpeg.dat", "texts.dat") hold entries of: a name
// of 1..63 bytes and a NUL, a 32-bit little-endian length L, and L data bytes
// XOR-ed with the name repeated. A pack entry released by its caller is gone:
// the next request for that name reads the loose file.
//
// Capacity: kMaxDataEntries names; registering more is refused with a clear
// fatal message, since a data set that large is a build fault. Names longer
// than kMaxDataNameLength are refused (an optional load returns null, a
// required one stops with the usual message).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly::data {

constexpr int kMaxDataEntries = 1024;     // the data set registers a few hundred
constexpr int kMaxDataNameLength = 127;   // longer names are refused
constexpr int kMaxPackNameLength = 63;
constexpr int kMaxPacks = 8;              // three ship; a further pack is ignored with a message

struct DataEntry {
    char name[kMaxDataNameLength + 1] = {};  // upper-cased by normalizeName
    int32_t size = 0;                        // 0 for the entry holding a whole pack
    uint8_t* data = nullptr;
    bool owned = false;                      // frees data on release
};

// Upper-cases a-z and 0xE0..0xFF in place.
void normalizeName(char* name);

struct DataRegistry {
    std::array<std::unique_ptr<DataEntry>, kMaxDataEntries> entries;
    int count = 0;
    // The pack buffers, kept for the whole run: pack entries point into them.
    std::array<std::unique_ptr<uint8_t[]>, kMaxPacks> packs;
    int packCount = 0;
    std::string dataFolder = ".";   // root of the data set
    std::string subfolder;          // current subfolder, empty for the root

    DataEntry* find(std::string_view name);
    // Registers a block and reports its size to the loading progress
    // (base::reportLoadProgress).
    DataEntry* add(std::string_view name, int32_t size, uint8_t* data, bool owned);
    // The whole file by name, from memory or from disk. fatal: a missing file
    // ends the process with "Can't load %s...\nThe data folder looked in:
    // %s\nProgram will now stop."
    // (caption "Loading Error", exit code 1); otherwise null.
    uint8_t* load(std::string_view name, int32_t* outSize, bool fatal);
    bool release(const uint8_t* data);
    // Reads a pack and registers its entries. A missing pack is skipped; a
    // malformed one is read up to its first bad entry, which is reported on
    // stderr. Returns the number of entries registered.
    int loadPack(std::string_view packName);
    // Registers the entries of a pack held in memory (takes the buffer).
    int loadPackFromMemory(std::string_view packName, std::unique_ptr<uint8_t[]> bytes,
                           int32_t size);
    // Frees every entry and pack buffer.
    void clear();
    ~DataRegistry() { clear(); }

    // Path of a loose file in the current folder.
    std::string loosePath(std::string_view name) const;
};

inline DataRegistry g_registry;

// The process-wide registry, in the words the loaders use.
inline uint8_t* loadDataFile(std::string_view name, int32_t* outSize, bool fatal) {
    return g_registry.load(name, outSize, fatal);
}
inline bool releaseDataEntry(const uint8_t* data) { return g_registry.release(data); }
inline DataEntry* findDataEntry(std::string_view name) { return g_registry.find(name); }

// Writes a player file through a temporary file and a rename, so a failed
// write never leaves a half-written file. Relative to the current folder.
bool writeDataFile(std::string_view name, const uint8_t* data, int32_t size);

// Makes a subfolder of the data folder current for loose reads and writes
// while it lives ("levels", "Sounds", ...); restores the previous one after.
class ScopedFolder final {
public:
    explicit ScopedFolder(std::string_view folder, DataRegistry& registry = g_registry);
    ~ScopedFolder();
    ScopedFolder(const ScopedFolder&) = delete;
    ScopedFolder& operator=(const ScopedFolder&) = delete;

private:
    DataRegistry& m_registry;
    std::string m_previous;
};

}  // namespace tessaly::data
