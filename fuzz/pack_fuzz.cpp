// Pack files: a pack image is registered from memory, then every entry it
// gave is looked up, read and released as the loaders do.
#include <cstring>
#include <memory>

#include "data/registry.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    data::DataRegistry& r = data::g_registry;
    r.clear();
    auto bytes = std::make_unique<uint8_t[]>(size + 1);
    if (size) std::memcpy(bytes.get(), data, size);
    r.loadPackFromMemory("fuzz.dat", std::move(bytes), int32_t(size));
    // Copy the names first: releasing an entry moves the table.
    char names[16][data::kMaxDataNameLength + 1];
    const int n = r.count < 16 ? r.count : 16;
    for (int i = 0; i < n; ++i) std::memcpy(names[i], r.entries[size_t(i)]->name, sizeof names[i]);
    for (int i = 0; i < n; ++i) {
        int32_t length = -1;
        const uint8_t* entry = r.load(names[i], &length, false);
        if (entry && length > 0) {
            volatile uint8_t sum = 0;
            sum = sum + entry[0] + entry[length - 1];
        }
        if (entry && i % 2 == 1) r.release(entry);
    }
    r.clear();
    return 0;
}
