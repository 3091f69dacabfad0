// Entry point of the data-set generator; see datagen.h.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "datagen.h"

namespace datagen {

std::vector<Generator>& generators() {
    static std::vector<Generator> list;
    return list;
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void Output::writeLoose(const std::string& relativePath, const Bytes& bytes) {
    writeFile(m_options.outDir / relativePath, bytes);
}

void Output::addToPack(const std::string& pack, const std::string& name, const Bytes& bytes) {
    if (name.empty() || name.size() > 63) throw std::runtime_error("bad pack entry name " + name);
    m_packs[pack].emplace_back(name, bytes);
}

Bytes encodePack(const std::vector<std::pair<std::string, Bytes>>& entries) {
    Bytes out;
    for (const auto& [name, data] : entries) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        const uint32_t length = uint32_t(data.size());
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(length >> (8 * i)));
        for (size_t i = 0; i < data.size(); ++i) out.push_back(data[i] ^ uint8_t(name[i % name.size()]));
    }
    return out;
}

void Output::writePacks() {
    for (const auto& [pack, entries] : m_packs) writeLoose(pack, encodePack(entries));
}

}  // namespace datagen

int main(int argc, char** argv) {
    datagen::Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--assets")) options.assetsDir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--out")) options.outDir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--font")) options.fontPath = argv[i + 1];
    }
    if (options.assetsDir.empty() || options.outDir.empty()) {
        std::fprintf(stderr, "usage: tessaly-datagen --assets DIR --out DIR [--font TTF]\n");
        return 2;
    }
    auto& list = datagen::generators();
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a.order < b.order; });
    try {
        std::filesystem::create_directories(options.outDir);
        datagen::Output out(options);
        for (const auto& g : list) {
            std::printf("datagen: %s\n", g.name);
            g.run(out);
        }
        out.writePacks();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
