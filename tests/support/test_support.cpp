#include "support/test_support.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>

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
