// Picture decoders for files held in memory: TGA through stb_image (built
// here, TGA only, with no file access), JPEG through libjpeg with an error
// manager that jumps back instead of ending the process. Both refuse
// pictures above kMaxImageSide so that a damaged header cannot ask for
// gigabytes, and treat any corrupt-data warning as a failure.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "gfx/texture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 8192
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace tessaly::gfx {

namespace {

constexpr int kMaxImageSide = 8192;  // far above any picture of the game

struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1); }

// Counts warnings (premature end, corrupt data) without printing them.
void jpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0) ++cinfo->err->num_warnings;
}

// The libjpeg work, kept free of C++ objects with destructors so that the
// jump back from an error skips none. Fills `out`, which outlives it.
bool decodeJpegInto(const uint8_t* bytes, int size, Image& out) {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jpegFail;
    errors.pub.emit_message = jpegMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;  // the texel layout, alpha 255
    if (cinfo.image_width > kMaxImageSide || cinfo.image_height > kMaxImageSide) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.pixels.assign(size_t(out.width) * size_t(out.height) * 4, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.pixels.data() + size_t(cinfo.output_scanline) * size_t(out.width) * 4;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    const bool clean = errors.pub.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    return clean;
}

// True when the TGA's pixel data is all there. stb_image reads zeros past
// the end of a cut file instead of failing, so the length is checked here:
// directly for raw pictures, by walking the packets of run-length ones.
bool tgaComplete(const uint8_t* b, int size) {
    const int idLength = b[0], colorMapType = b[1], type = b[2];
    const int mapLength = b[5] | b[6] << 8, mapEntryBits = b[7];
    const int64_t width = b[12] | b[13] << 8, height = b[14] | b[15] << 8;
    const int pixelBytes = (b[16] + 7) / 8;
    int64_t at = 18 + idLength + (colorMapType ? int64_t(mapLength) * ((mapEntryBits + 7) / 8) : 0);
    const int64_t pixels = width * height;
    if (type == 1 || type == 2 || type == 3) return at + pixels * pixelBytes <= size;
    if (type != 9 && type != 10 && type != 11) return true;  // stb refuses these itself
    for (int64_t done = 0; done < pixels;) {
        if (at >= size) return false;
        const int packet = b[at++];
        const int count = (packet & 0x7F) + 1;
        at += (packet & 0x80) ? pixelBytes : int64_t(count) * pixelBytes;
        done += count;
    }
    return at <= size;
}

}  // namespace

bool decodeJpeg(const uint8_t* bytes, int size, Image& out) {
    out = Image{};
    if (!bytes || size < 4) return false;
    if (!decodeJpegInto(bytes, size, out)) {
        out = Image{};
        return false;
    }
    return true;
}

bool decodeTga(const uint8_t* bytes, int size, Image& out) {
    out = Image{};
    if (!bytes || size <= 18) return false;  // shorter than a TGA header and one texel
    if (!tgaComplete(bytes, size)) return false;
    int w = 0, h = 0, components = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes, size, &w, &h, &components, 4);
    if (!rgba) return false;
    out.width = w;
    out.height = h;
    out.pixels.resize(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < out.pixels.size(); i += 4) {
        out.pixels[i + 0] = rgba[i + 2];
        out.pixels[i + 1] = rgba[i + 1];
        out.pixels[i + 2] = rgba[i + 0];
        out.pixels[i + 3] = rgba[i + 3];
    }
    stbi_image_free(rgba);
    return true;
}

bool decodeImage(const uint8_t* bytes, int size, Image& out) {
    if (bytes && size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return decodeJpeg(bytes, size, out);
    return decodeTga(bytes, size, out);
}

int nextPowerOfTwo(int n) {
    for (int p = 2; p <= 1024; p *= 2)
        if (p >= n) return p;
    return 0;
}

}  // namespace tessaly::gfx
