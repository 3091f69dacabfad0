#include "data/registry.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/loading.h"
#include "platform/window.h"

namespace tessaly::data {

namespace {

namespace fs = std::filesystem;  // path parts only; files go through base/files.h

// Copies and normalizes a name; false when it does not fit the name field.
bool normalizedCopy(std::string_view name, char (&out)[kMaxDataNameLength + 1]) {
    if (name.size() > size_t(kMaxDataNameLength)) return false;
    std::memcpy(out, name.data(), name.size());
    out[name.size()] = '\0';
    normalizeName(out);
    return true;
}

// The message names the folder it looked in, made absolute, so that a
// player who started the game from elsewhere sees where the data should be.
[[noreturn]] void cantLoad(std::string_view name, const std::string& dataFolder) {
    std::error_code error;
    fs::path folder = fs::absolute(fs::path(dataFolder), error);
    if (error) folder = fs::path(dataFolder);
    const std::string where = folder.lexically_normal().string();
    constexpr int kMaxFolderShown = 400;  // a longer path is cut, the message still fits its box
    char text[kMaxDataNameLength + kMaxFolderShown + 96];
    std::snprintf(text, sizeof text, "Can't load %.*s...\nThe data folder looked in: %.*s\nProgram will now stop.",
                  int(std::min(name.size(), size_t(kMaxDataNameLength + 1))), name.data(),
                  int(std::min(where.size(), size_t(kMaxFolderShown))), where.c_str());
    platform::fatalError(text, "Loading Error", 1);
}

void freeEntry(std::unique_ptr<DataEntry>& entry) {
    if (entry && entry->owned) delete[] entry->data;
    entry.reset();
}

// Reads a whole loose file; data files never exceed the registry's 32-bit
// sizes, and nothing of the data set comes near the seam's limit.
bool readLooseFile(const std::string& path, std::unique_ptr<uint8_t[]>& bytes, int32_t& size) {
    base::FileBytes file;
    if (base::readWholeFile(path, base::kDefaultReadLimit, file) != base::FileStatus::Ok) return false;
    bytes = std::move(file.data);
    size = int32_t(file.size);
    return true;
}

// The loose file of a name: the exact name first; failing that, a file of
// the folder whose name differs only in letter case, as the names in the
// data files were written for a case-blind file system.
std::string findLooseFile(const std::string& exact) {
    if (base::fileExists(exact)) return exact;
    const size_t slash = exact.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : exact.substr(0, slash);
    char wanted[kMaxDataNameLength + 1];
    if (!normalizedCopy(std::string_view(exact).substr(slash == std::string::npos ? 0 : slash + 1), wanted))
        return exact;
    std::vector<std::string> names;
    base::listFolder(folder, names);
    for (const std::string& name : names) {
        char candidate[kMaxDataNameLength + 1];
        if (normalizedCopy(name, candidate) && std::strcmp(candidate, wanted) == 0) return folder + "/" + name;
    }
    return exact;
}

}  // namespace

void normalizeName(char* name) {
    for (unsigned char* p = reinterpret_cast<unsigned char*>(name); *p; ++p)
        if ((*p >= 'a' && *p <= 'z') || *p >= 0xE0) *p = static_cast<unsigned char>(*p - 32);
}

DataEntry* DataRegistry::find(std::string_view name) {
    char wanted[kMaxDataNameLength + 1];
    if (!normalizedCopy(name, wanted)) return nullptr;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(entries[size_t(i)]->name, wanted) == 0) return entries[size_t(i)].get();
    return nullptr;
}

DataEntry* DataRegistry::add(std::string_view name, int32_t size, uint8_t* data, bool owned) {
    auto entry = std::make_unique<DataEntry>();
    if (!normalizedCopy(name, entry->name)) {
        std::fprintf(stderr, "Data file name longer than %d characters refused: %.*s\n",
                     kMaxDataNameLength, int(name.size()), name.data());
        if (owned) delete[] data;
        return nullptr;
    }
    if (count >= kMaxDataEntries) {
        // The data set is built by our own tools; this many files means the
        // build is broken, and going on would lose files silently.
        char text[kMaxDataNameLength + 160];
        std::snprintf(text, sizeof text,
                      "Too many data files: %s would be number %d, the limit is %d.\n"
                      "Program will now stop.",
                      entry->name, count + 1, kMaxDataEntries);
        platform::fatalError(text, "Loading Error", 1);
    }
    entry->size = size;
    entry->data = data;
    entry->owned = owned;
    DataEntry* result = entry.get();
    entries[size_t(count++)] = std::move(entry);
    base::reportLoadProgress(size);
    return result;
}

std::string DataRegistry::loosePath(std::string_view name) const {
    fs::path path(dataFolder);
    if (!subfolder.empty()) path /= subfolder;
    path /= fs::path(name);
    return path.string();
}

uint8_t* DataRegistry::load(std::string_view name, int32_t* outSize, bool fatal) {
    if (DataEntry* entry = find(name)) {
        if (outSize) *outSize = entry->size;
        return entry->data;
    }
    std::unique_ptr<uint8_t[]> bytes;
    int32_t size = 0;
    const bool fits = name.size() <= size_t(kMaxDataNameLength) && !name.empty();
    if (!fits && !fatal)
        std::fprintf(stderr, "Data file name longer than %d characters refused: %.*s\n",
                     kMaxDataNameLength, int(name.size()), name.data());
    if (!fits || !readLooseFile(findLooseFile(loosePath(name)), bytes, size)) {
        if (fatal) cantLoad(name, dataFolder);
        return nullptr;
    }
    DataEntry* entry = add(name, size, bytes.release(), true);
    if (!entry) return nullptr;  // cannot happen: the name fits
    if (outSize) *outSize = size;
    return entry->data;
}

bool DataRegistry::release(const uint8_t* data) {
    for (int i = 0; i < count; ++i) {
        if (entries[size_t(i)]->data != data) continue;
        freeEntry(entries[size_t(i)]);
        for (int j = i + 1; j < count; ++j) entries[size_t(j - 1)] = std::move(entries[size_t(j)]);
        --count;
        return true;
    }
    return false;
}

int DataRegistry::loadPack(std::string_view packName) {
    std::unique_ptr<uint8_t[]> bytes;
    int32_t size = 0;
    if (!readLooseFile(findLooseFile(loosePath(packName)), bytes, size)) return 0;
    return loadPackFromMemory(packName, std::move(bytes), size);
}

int DataRegistry::loadPackFromMemory(std::string_view packName, std::unique_ptr<uint8_t[]> bytes,
                                     int32_t size) {
    if (!bytes || size < 0) return 0;
    if (packCount >= kMaxPacks) {
        std::fprintf(stderr, "Pack %.*s ignored: more than %d packs loaded\n",
                     int(packName.size()), packName.data(), kMaxPacks);
        return 0;
    }
    // The registry keeps the pack buffer for the whole run, since the entries
    // point into it. Its own entry (size 0, so the progress bar does not
    // move) serves the raw pack; releasing that entry leaves the buffer.
    uint8_t* const buffer = bytes.get();
    packs[size_t(packCount++)] = std::move(bytes);
    add(packName, 0, buffer, false);

    int registered = 0;
    int32_t cursor = 0;
    while (cursor < size) {
        const int32_t left = size - cursor;
        const char* fault = nullptr;
        const uint8_t* name = buffer + cursor;
        const void* nul = std::memchr(name, 0, size_t(std::min<int32_t>(left, kMaxPackNameLength + 1)));
        const int32_t n = nul ? int32_t(static_cast<const uint8_t*>(nul) - name) : -1;
        uint32_t length = 0;
        if (n < 0)
            fault = left <= kMaxPackNameLength ? "name runs past the end" : "name longer than 63 bytes";
        else if (n == 0)
            fault = "empty name";
        else if (left - n - 1 < 4)
            fault = "length runs past the end";
        else {
            const uint8_t* l = name + n + 1;
            length = uint32_t(l[0]) | uint32_t(l[1]) << 8 | uint32_t(l[2]) << 16 | uint32_t(l[3]) << 24;
            if (length > uint32_t(left - n - 5)) fault = "data runs past the end";
        }
        if (fault) {
            std::fprintf(stderr,
                         "Pack %.*s is damaged at offset %d (%s); its remaining %d bytes are "
                         "ignored\n",
                         int(packName.size()), packName.data(), int(cursor), fault, int(left));
            break;
        }
        uint8_t* data = buffer + cursor + n + 5;
        for (uint32_t i = 0; i < length; ++i) data[i] ^= name[i % uint32_t(n)];
        if (add(std::string_view(reinterpret_cast<const char*>(name), size_t(n)), int32_t(length),
                data, false))
            ++registered;
        cursor += n + 5 + int32_t(length);
    }
    return registered;
}

void DataRegistry::clear() {
    for (int i = 0; i < count; ++i) freeEntry(entries[size_t(i)]);
    count = 0;
    for (auto& pack : packs) pack.reset();
    packCount = 0;
}

bool writeDataFile(std::string_view name, const uint8_t* data, int32_t size) {
    if (size < 0 || (size > 0 && !data) || name.empty()) return false;
    // Player files are plain names in their folder; a name that climbs out
    // of it (a player name with "../" in a saved-game name) is refused.
    const fs::path relative(name);
    if (relative.is_absolute()) return false;
    for (const fs::path& part : relative)
        if (part == "..") return false;

    const std::string target = g_registry.loosePath(name);
    return base::writeFileAtomic(target, data, size_t(size));
}

ScopedFolder::ScopedFolder(std::string_view folder, DataRegistry& registry)
    : m_registry(registry), m_previous(registry.subfolder) {
    m_registry.subfolder = std::string(folder);
}

ScopedFolder::~ScopedFolder() { m_registry.subfolder = m_previous; }

}  // namespace tessaly::data
