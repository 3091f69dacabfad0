// Image writers of the data-set generator: the picture formats the game
// reads, produced from one in-memory picture type.
//
//  - writeTga: 32-bit TGA with straight alpha, top-left origin, uncompressed
//    (image type 2) or run-length encoded (type 10). Used for every picture
//    that needs alpha (sprites, balls, the font, panels).
//  - writeJpeg: baseline JPEG, alpha ignored. Used for opaque pictures
//    (backdrops, the title art, glows drawn with additive blending).
//  - writeJpegWithAlpha: the game's "_a_" form: the JPEG bytes (ending with
//    the FF D9 end marker) followed by one alpha byte per pixel, rows top
//    first. Used for big pictures that need alpha but would be too large as
//    TGA.
//
// Pixels are bytes B, G, R, A (the order of the game's textures), straight
// (not premultiplied) alpha, rows top first. paint.h turns a cairo surface
// (premultiplied) into this form.
//
// decodeForPreview reads back what the writers produce (through stb_image);
// it is only used for the PNG previews and self-checks, never by the game.
//
// Depends on libjpeg and stb_image / stb_image_write.
#pragma once

#include <cstdint>
#include <string>

#include "datagen.h"

namespace datagen {

struct Image {
    int width = 0;
    int height = 0;
    Bytes pixels;  // width * height * 4 bytes: B, G, R, A

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h) * 4, 0) {}

    uint8_t* at(int x, int y) { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
    const uint8_t* at(int x, int y) const {
        return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
    }
};

enum class TgaCompression { None, Rle };

// Throws std::runtime_error on an empty or oversized (above 65535) picture.
Bytes writeTga(const Image& image, TgaCompression compression = TgaCompression::Rle);
// quality 1..100; the game's art uses 90 unless a picture needs less.
Bytes writeJpeg(const Image& image, int quality = 90);
Bytes writeJpegWithAlpha(const Image& image, int quality = 90);

// Decodes TGA, JPEG or the "_a_" form back into an Image (the alpha part of
// an "_a_" file is applied when `withAlphaTail` is set). Returns false when
// the bytes do not decode.
bool decodeForPreview(const Bytes& bytes, bool withAlphaTail, Image& out);
// PNG of the picture composited over a grey checkerboard, so that a person
// can look at sprites with alpha in any image viewer.
Bytes writePreviewPng(const Image& image);

}  // namespace datagen
