// Little-endian fields in and out of a byte buffer, for the game's binary
// files (saved games, settings, player files). Both directions have the
// same member names, so one field list, written as a template over the
// direction, serves saving and loading and the order can't drift apart:
//
//   template <typename IO, typename R> void transfer(IO& io, R& r) {
//       io.i32(r.count);
//       io.f32(r.speed);
//       io.bytes(r.name, sizeof r.name);
//   }
//
// The caller sizes the buffer (writing) or checks its size (reading) first;
// these only move bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessaly::base {

struct ByteWriter {
    uint8_t* out;
    size_t pos = 0;

    void u8(const uint8_t& v) { out[pos++] = v; }
    void boolean(const bool& v) { out[pos++] = v ? 1 : 0; }
    void i32(const int32_t& v) { u32(uint32_t(v)); }
    void u32(const uint32_t& v) {
        for (int i = 0; i < 4; ++i) out[pos++] = uint8_t(v >> (8 * i));
    }
    void f32(const float& v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void bytes(const void* v, size_t n) {
        std::memcpy(out + pos, v, n);
        pos += n;
    }
    void zeros(size_t n) {
        std::memset(out + pos, 0, n);
        pos += n;
    }
};

struct ByteReader {
    const uint8_t* in;
    size_t pos = 0;

    void u8(uint8_t& v) { v = in[pos++]; }
    void boolean(bool& v) { v = in[pos++] != 0; }
    void i32(int32_t& v) {
        uint32_t u;
        u32(u);
        v = int32_t(u);
    }
    void u32(uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(in[pos++]) << (8 * i);
    }
    void f32(float& v) {
        uint32_t bits;
        u32(bits);
        std::memcpy(&v, &bits, 4);
    }
    void bytes(void* v, size_t n) {
        std::memcpy(v, in + pos, n);
        pos += n;
    }
    void zeros(size_t n) { pos += n; }
};

}  // namespace tessaly::base
