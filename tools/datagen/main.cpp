// Entry point of the data-set generator; see datagen.h.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "datagen.h"
#include "generators.h"
#include "image_io.h"

namespace datagen {

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

Bytes normalizeLineEnds(const Bytes& text) {
    Bytes out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out.push_back('\r');
            out.push_back('\n');
        } else if (c == '\n') {
            out.push_back('\r');
            out.push_back('\n');
        } else {
            out.push_back(c);
        }
    }
    if (out.size() < 2 || out[out.size() - 2] != '\r' || out.back() != '\n') {
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}

void Output::claimName(const std::string& name) {
    // The game folds a-z and the Windows-1251 letters 0xE0..0xFF.
    std::string key = name;
    for (char& c : key) {
        const auto b = uint8_t(c);
        if ((b >= 'a' && b <= 'z') || b >= 0xE0) c = char(b - 32);
    }
    if (!m_names.insert(key).second) throw std::runtime_error("data file emitted twice: " + name);
}

void Output::preview(const std::string& name, const Bytes& bytes) {
    if (m_options.previewDir.empty()) return;
    const auto extension = std::filesystem::path(name).extension().string();
    if (extension != ".tga" && extension != ".jpg") return;
    const bool alphaTail = std::filesystem::path(name).filename().string().rfind("_a_", 0) == 0;
    Image image;
    if (!decodeForPreview(bytes, alphaTail, image))
        throw std::runtime_error("generated picture does not decode: " + name);
    std::string flat = name;
    std::replace(flat.begin(), flat.end(), '/', '_');
    writeFile(m_options.previewDir / (flat + ".png"), writePreviewPng(image));
}

void Output::writeLoose(const std::string& relativePath, const Bytes& bytes) {
    claimName(relativePath);
    writeFile(m_options.outDir / relativePath, bytes);
    preview(relativePath, bytes);
}

void Output::addToPack(const std::string& pack, const std::string& name, const Bytes& bytes) {
    if (pack != "targa.dat" && pack != "jpeg.dat" && pack != "texts.dat")
        throw std::runtime_error("unknown pack " + pack + " for " + name);
    if (name.empty() || name.size() > kMaxPackEntryName || name.find('/') != std::string::npos)
        throw std::runtime_error("bad pack entry name \"" + name + "\"");
    claimName(name);
    m_packs[pack].emplace_back(name, bytes);
    preview(name, bytes);
}

void Output::writePacks() {
    for (const auto& [pack, entries] : m_packs) {
        claimName(pack);
        writeFile(m_options.outDir / pack, encodePack(entries));
    }
}

}  // namespace datagen

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: tessaly-datagen --assets DIR --out DIR [--font TTF] [--preview DIR] "
                 "[--only NAME,NAME...]\n"
                 "       tessaly-datagen --icons DIR   (the desktop icons, into a hicolor theme folder)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    datagen::Options options;
    std::string only;
    if (argc == 3 && !std::strcmp(argv[1], "--icons")) {
        try {
            datagen::writeIcons(argv[2]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "datagen: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return usage();
        if (!std::strcmp(argv[i], "--assets")) options.assetsDir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--out")) options.outDir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--font")) options.fontPath = argv[i + 1];
        else if (!std::strcmp(argv[i], "--preview")) options.previewDir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--only")) only = "," + std::string(argv[i + 1]) + ",";
        else return usage();
    }
    if (options.assetsDir.empty() || options.outDir.empty()) return usage();
    if (options.fontPath.empty())
        options.fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

    try {
        std::filesystem::create_directories(options.outDir);
        datagen::Output out(options);
        for (const datagen::Generator& g : datagen::kGenerators) {
            if (!only.empty() && only.find("," + std::string(g.name) + ",") == std::string::npos)
                continue;
            const auto start = std::chrono::steady_clock::now();
            g.run(out);
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            std::printf("datagen: %-16s %5lld ms\n", g.name, static_cast<long long>(ms.count()));
        }
        out.writePacks();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
