// The pack file format, written by the data-set generator and read by the
// game's data registry. Header-only so that tests can check the writer
// against the game's reader without linking the generator.
//
// A pack is a sequence of entries with no header, index or padding:
//   name (1..63 bytes) and a NUL byte,
//   the data length L as an unsigned 32-bit little-endian number,
//   L data bytes, byte i XOR-ed with byte (i mod n) of the name.
// Depends on nothing but the standard library.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace datagen {

using Bytes = std::vector<uint8_t>;
using PackEntries = std::vector<std::pair<std::string, Bytes>>;

constexpr size_t kMaxPackEntryName = 63;  // the reader's name buffer holds 64 bytes

// Throws std::invalid_argument on a name the reader could not take back
// (empty, longer than 63 bytes, or holding a NUL) or data of 4 GiB or more.
inline Bytes encodePack(const PackEntries& entries) {
    Bytes out;
    for (const auto& [name, data] : entries) {
        if (name.empty() || name.size() > kMaxPackEntryName ||
            name.find('\0') != std::string::npos) {
            throw std::invalid_argument("bad pack entry name \"" + name + "\"");
        }
        if (data.size() > 0xFFFFFFFFu) throw std::invalid_argument("pack entry too large: " + name);
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        const uint32_t length = uint32_t(data.size());
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(length >> (8 * i)));
        for (size_t i = 0; i < data.size(); ++i)
            out.push_back(uint8_t(data[i] ^ uint8_t(name[i % name.size()])));
    }
    return out;
}

}  // namespace datagen
