// Image writers; see image_io.h.
#include "image_io.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

// Third-party code: keep its warnings out of ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace datagen {

namespace {

void checkSize(const Image& image, const char* what) {
    if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535 ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 4) {
        throw std::runtime_error(std::string(what) + ": bad picture size");
    }
}

bool samePixel(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 4) == 0; }

// Run-length packets of one row: a run of 2..128 equal pixels becomes a
// repeat packet, anything else goes into raw packets of up to 128 pixels.
// Packets never cross a row, which every TGA reader accepts.
void encodeRleRow(const uint8_t* row, int width, Bytes& out) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 128 && samePixel(row + 4 * x, row + 4 * (x + run))) ++run;
        if (run >= 2) {
            out.push_back(uint8_t(0x80 | (run - 1)));
            out.insert(out.end(), row + 4 * x, row + 4 * x + 4);
            x += run;
            continue;
        }
        // Raw packet: extend until two equal neighbours start a run.
        int count = 1;
        while (x + count < width && count < 128 &&
               !(x + count + 1 < width &&
                 samePixel(row + 4 * (x + count), row + 4 * (x + count + 1)))) {
            ++count;
        }
        out.push_back(uint8_t(count - 1));
        out.insert(out.end(), row + 4 * x, row + 4 * (x + count));
        x += count;
    }
}

struct JpegErrorTrap {
    jpeg_error_mgr base;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void throwJpegError(j_common_ptr info) {
    auto* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    throw std::runtime_error(std::string("jpeg: ") + trap->message);
}

}  // namespace

Bytes writeTga(const Image& image, TgaCompression compression) {
    checkSize(image, "tga");
    Bytes out;
    out.reserve(18 + image.pixels.size() / (compression == TgaCompression::Rle ? 3 : 1));
    const uint8_t header[18] = {
        0,                                              // no image id
        0,                                              // no colour map
        uint8_t(compression == TgaCompression::Rle ? 10 : 2),  // true colour (RLE)
        0, 0, 0, 0, 0,                                  // colour map spec
        0, 0, 0, 0,                                     // x and y origin
        uint8_t(image.width), uint8_t(image.width >> 8),
        uint8_t(image.height), uint8_t(image.height >> 8),
        32,                                             // bits per pixel
        0x28,                                           // 8 alpha bits, top-left origin
    };
    out.insert(out.end(), header, header + 18);
    if (compression == TgaCompression::None) {
        out.insert(out.end(), image.pixels.begin(), image.pixels.end());
    } else {
        for (int y = 0; y < image.height; ++y) encodeRleRow(image.at(0, y), image.width, out);
    }
    return out;
}

Bytes writeJpeg(const Image& image, int quality) {
    checkSize(image, "jpeg");
    jpeg_compress_struct info{};
    JpegErrorTrap trap{};
    info.err = jpeg_std_error(&trap.base);
    trap.base.error_exit = [](j_common_ptr c) { throwJpegError(c); };

    unsigned char* buffer = nullptr;
    unsigned long bufferSize = 0;
    std::vector<JSAMPLE> row(size_t(image.width) * 3);
    Bytes out;
    try {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &bufferSize);
        info.image_width = JDIMENSION(image.width);
        info.image_height = JDIMENSION(image.height);
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
        info.optimize_coding = TRUE;
        // Full-resolution colour: the art has fine coloured edges (rims,
        // lettering) that 4:2:0 subsampling would smear.
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            const uint8_t* src = image.at(0, int(info.next_scanline));
            for (int x = 0; x < image.width; ++x) {
                row[size_t(x) * 3 + 0] = src[4 * x + 2];
                row[size_t(x) * 3 + 1] = src[4 * x + 1];
                row[size_t(x) * 3 + 2] = src[4 * x + 0];
            }
            JSAMPROW rows[1] = {row.data()};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        out.assign(buffer, buffer + bufferSize);
    } catch (...) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw;
    }
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

Bytes writeJpegWithAlpha(const Image& image, int quality) {
    Bytes out = writeJpeg(image, quality);
    // The game splits the file at the first FF D9 pair; the encoder never
    // emits one before the end marker (0xFF in coded data is stuffed), but a
    // split in the wrong place would silently shift every alpha value.
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == 0xFF && out[i + 1] == 0xD9) {
            if (i + 2 != out.size()) throw std::runtime_error("jpeg: end marker inside the data");
            break;
        }
    }
    out.reserve(out.size() + size_t(image.width) * size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) out.push_back(image.at(x, y)[3]);
    }
    return out;
}

bool decodeForPreview(const Bytes& bytes, bool withAlphaTail, Image& out) {
    size_t jpegSize = bytes.size();
    if (withAlphaTail) {
        for (size_t i = 0; i + 1 < bytes.size(); ++i) {
            if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) {
                jpegSize = i + 2;
                break;
            }
        }
    }
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), int(jpegSize), &w, &h, &channels, 4);
    if (!rgba) return false;
    out = Image(w, h);
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
        out.pixels[i * 4 + 0] = rgba[i * 4 + 2];
        out.pixels[i * 4 + 1] = rgba[i * 4 + 1];
        out.pixels[i * 4 + 2] = rgba[i * 4 + 0];
        out.pixels[i * 4 + 3] = rgba[i * 4 + 3];
    }
    stbi_image_free(rgba);
    if (withAlphaTail) {
        const size_t count = std::min(bytes.size() - jpegSize, size_t(w) * size_t(h));
        for (size_t i = 0; i < count; ++i) out.pixels[i * 4 + 3] = bytes[jpegSize + i];
    }
    return true;
}

Bytes writePreviewPng(const Image& image) {
    std::vector<uint8_t> rgb(size_t(image.width) * size_t(image.height) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.at(x, y);
            const int checker = ((x / 8) + (y / 8)) % 2 ? 72 : 56;
            const int a = p[3];
            uint8_t* q = &rgb[(size_t(y) * size_t(image.width) + size_t(x)) * 3];
            q[0] = uint8_t((p[2] * a + checker * (255 - a)) / 255);
            q[1] = uint8_t((p[1] * a + checker * (255 - a)) / 255);
            q[2] = uint8_t((p[0] * a + checker * (255 - a)) / 255);
        }
    }
    Bytes out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<Bytes*>(context);
            auto* first = static_cast<const uint8_t*>(data);
            bytes->insert(bytes->end(), first, first + size);
        },
        &out, image.width, image.height, 3, rgb.data(), image.width * 3);
    return out;
}

}  // namespace datagen
