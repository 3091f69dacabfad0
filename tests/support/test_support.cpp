#include "support/test_support.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

#include "data/registry.h"

namespace tessaly::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tessaly-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void TempFolder::write(const std::string& relativePath, const Bytes& bytes) const {
    const fs::path p = m_path / relativePath;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void TempFolder::write(const std::string& relativePath, const std::string& text) const {
    write(relativePath, toBytes(text));
}

Bytes TempFolder::read(const std::string& relativePath) const {
    std::ifstream in(m_path / relativePath, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes toBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes packBytes(const std::vector<std::pair<std::string, Bytes>>& entries) {
    Bytes out;
    for (const auto& [name, data] : entries) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        const uint32_t n = uint32_t(data.size());
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(n >> (8 * i)));
        for (size_t i = 0; i < data.size(); ++i)
            out.push_back(uint8_t(data[i] ^ uint8_t(name[i % name.size()])));
    }
    return out;
}

Bytes makeTga(int width, int height, const Bytes& bgra, bool topFirst) {
    Bytes out(18, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = uint8_t(width), out[13] = uint8_t(width >> 8);
    out[14] = uint8_t(height), out[15] = uint8_t(height >> 8);
    out[16] = 32;
    out[17] = uint8_t(8 | (topFirst ? 0x20 : 0));  // 8 alpha bits, origin
    for (int row = 0; row < height; ++row) {
        const int source = topFirst ? row : height - 1 - row;
        const auto begin = bgra.begin() + std::ptrdiff_t(source) * width * 4;
        out.insert(out.end(), begin, begin + width * 4);
    }
    return out;
}

Bytes makeJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int x = 0; x < width; ++x) row[size_t(x) * 3] = r, row[size_t(x) * 3 + 1] = g, row[size_t(x) * 3 + 2] = b;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

void DataFolderTest::SetUp() {
    data::g_registry.clear();
    data::g_registry.dataFolder = m_folder.path().string();
    data::g_registry.subfolder.clear();
}

void DataFolderTest::TearDown() {
    data::g_registry.clear();
    data::g_registry.dataFolder.assign(1, '.');  // not = ".": GCC 12 warns falsely
    data::g_registry.subfolder.clear();
}

}  // namespace tessaly::test
