// Shared helpers for the engine's tests:
//  - TempFolder: a fresh folder under the system temp folder, removed with
//    everything in it when the object goes;
//  - packBytes: builds a pack image the way the data generator writes it;
//  - makeTga / makeJpeg: small pictures in memory;
//  - DataFolderTest: a fixture that points the process-wide data registry at
//    a TempFolder and empties it before and after each test;
//  - NullDeviceTest: DataFolderTest plus a NullDevice installed as the device
//    of the drawing code and the texture manager, with a clean text state.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/null/null_device.h"

namespace tessaly::test {

using Bytes = std::vector<uint8_t>;

class TempFolder final {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Writes a file below the folder, creating subfolders as needed.
    void write(const std::string& relativePath, const Bytes& bytes) const;
    void write(const std::string& relativePath, const std::string& text) const;
    Bytes read(const std::string& relativePath) const;

private:
    std::filesystem::path m_path;
};

Bytes toBytes(const std::string& text);

// An uncompressed 32-bit TGA of texels given as B, G, R, A rows, top row
// first; stored bottom-up unless topFirst.
Bytes makeTga(int width, int height, const Bytes& bgra, bool topFirst = true);
// A baseline JPEG of one colour (quality 95).
Bytes makeJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b);

// A pack image: per entry the name and a NUL, the 32-bit little-endian
// length, and the data XOR-ed with the name repeated.
Bytes packBytes(const std::vector<std::pair<std::string, Bytes>>& entries);

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TempFolder m_folder;
};

class NullDeviceTest : public DataFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::NullDevice m_device;
};

}  // namespace tessaly::test
