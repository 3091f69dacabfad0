// PNG files of RGBA pictures, for screenshots of the running game and for
// tests that read them back. libpng underneath; nothing of it shows here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::platform {

// Writes width x height RGBA pixels, top row first. False (with the reason in
// *error when given) if the file cannot be written.
bool writePng(const std::string& path, const uint8_t* rgba, int width, int height,
              std::string* error = nullptr);

// Reads any PNG as RGBA, top row first. False on a missing or malformed file.
bool readPng(const std::string& path, std::vector<uint8_t>& rgba, int* width, int* height,
             std::string* error = nullptr);

}  // namespace tessaly::platform
