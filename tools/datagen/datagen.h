// The data-set generator: builds the default Data/ folder from the authored
// sources in assets/ and from art, sound and music generated here.
//
// Each part of the data set is a Generator registered at static
// initialisation (see REGISTER_GENERATOR); main() runs them in order of
// their `order` value, then writes the pack files. A generator emits files
// through the Output: loose files at a path below Data/, or entries of one of
// the three packs ("targa.dat", "jpeg.dat", "texts.dat").
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace datagen {

using Bytes = std::vector<uint8_t>;

struct Options {
    std::filesystem::path assetsDir;  // the repository's assets/
    std::filesystem::path outDir;     // the Data/ folder to fill
    std::filesystem::path fontPath;   // DejaVuSans.ttf
};

class Output {
public:
    explicit Output(const Options& options) : m_options(options) {}

    // A loose file at `relativePath` below Data/ ("loadscreen.jpg",
    // "levels/pack1_01.lvl", "Sounds/ball.ogg").
    void writeLoose(const std::string& relativePath, const Bytes& bytes);
    // An entry of a pack; `pack` is "targa.dat", "jpeg.dat" or "texts.dat".
    void addToPack(const std::string& pack, const std::string& name, const Bytes& bytes);
    // Writes the packs collected so far.
    void writePacks();

    const Options& options() const { return m_options; }

private:
    const Options& m_options;
    std::map<std::string, std::vector<std::pair<std::string, Bytes>>> m_packs;
};

// The pack format, the exact inverse of the game's reader: per entry the
// name (1..63 bytes) and a NUL, the 32-bit little-endian length, and the
// data XOR-ed with the name repeated.
Bytes encodePack(const std::vector<std::pair<std::string, Bytes>>& entries);

struct Generator {
    const char* name;
    int order;  // lower runs first
    void (*run)(Output& out);
};

std::vector<Generator>& generators();

struct Registration {
    Registration(const char* name, int order, void (*run)(Output&)) {
        generators().push_back({name, order, run});
    }
};

#define DATAGEN_CONCAT2(a, b) a##b
#define DATAGEN_CONCAT(a, b) DATAGEN_CONCAT2(a, b)
#define REGISTER_GENERATOR(name, order, fn) \
    static ::datagen::Registration DATAGEN_CONCAT(s_registration_, __LINE__)(name, order, fn)

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace datagen
