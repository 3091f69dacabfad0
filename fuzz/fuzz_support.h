// Small helpers shared by the fuzz targets: a reader that splits the
// fuzzer's bytes into choices and a remainder, and NUL-terminated copies
// for the parsers that read C strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tessaly::fuzz {

// Takes choices from the front of the input; the rest is the file.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t byte() {
        if (m_size == 0) return 0;
        --m_size;
        return *m_data++;
    }
    // The remaining bytes up to the first `separator` (dropped), or all.
    std::string_view until(uint8_t separator) {
        const void* at = std::memchr(m_data, separator, m_size);
        const size_t n = at ? size_t(static_cast<const uint8_t*>(at) - m_data) : m_size;
        const std::string_view part(reinterpret_cast<const char*>(m_data), n);
        const size_t used = at ? n + 1 : n;
        m_data += used;
        m_size -= used;
        return part;
    }
    const uint8_t* data() const { return m_data; }
    size_t size() const { return m_size; }
    std::string_view rest() const { return {reinterpret_cast<const char*>(m_data), m_size}; }

private:
    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace tessaly::fuzz
