#include "platform/png_file.h"

#include <png.h>

#include <cstring>

#include "base/files.h"

namespace tessaly::platform {

namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

}  // namespace

bool writePng(const std::string& path, const uint8_t* rgba, int width, int height,
              std::string* error) {
    if (width <= 0 || height <= 0) {
        setError(error, "empty picture");
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    // Encoded in memory, then written in one step, so a failed write leaves
    // no broken file where a reader expects a picture.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba, width * 4, nullptr)) {
        setError(error, std::string("cannot encode ") + path + ": " + image.message);
        return false;
    }
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba, width * 4, nullptr)) {
        setError(error, std::string("cannot encode ") + path + ": " + image.message);
        return false;
    }
    return base::writeFileAtomic(path, bytes.data(), size, error);
}

bool readPng(const std::string& path, std::vector<uint8_t>& rgba, int* width, int* height,
             std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        setError(error, std::string("cannot read ") + path + ": " + image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        setError(error, std::string("cannot read ") + path + ": " + image.message);
        png_image_free(&image);
        return false;
    }
    *width = int(image.width);
    *height = int(image.height);
    return true;
}

}  // namespace tessaly::platform
