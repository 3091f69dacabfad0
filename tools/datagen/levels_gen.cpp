// The levels: copies assets/levels/*.lvl into Data/levels/ byte for byte.
// Levels stay loose files because the game reads them again every time a
// level or a help page starts. The copy fails the build when a level the
// game asks for is missing, when a file has a line not ended by CR LF, or
// when it lacks the "colors=" or "level=" key, so that an authoring slip
// shows here rather than as a level that won't start.
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "datagen.h"

namespace datagen {
namespace {

constexpr int kTutorialLevels = 4;
constexpr int kPackLevels = 66;
constexpr int kHelpLevels = 8;

[[noreturn]] void fail(const std::string& file, const std::string& what) {
    throw std::runtime_error("levels: " + file + ": " + what);
}

void check(const std::string& file, const Bytes& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) fail(file, "a line ends without CR LF");
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) fail(file, "a lone CR");
    }
    if (text.find("level=") == std::string::npos) fail(file, "no level= grid");
    const bool help = file.rfind("help", 0) == 0;
    if (!help) {
        const size_t colors = text.find("colors=");
        if (colors == std::string::npos) fail(file, "no colors= key");
        if (std::atoi(text.c_str() + colors + 7) <= 0) fail(file, "colors= is 0");
    }
}

std::vector<std::string> expectedNames() {
    std::vector<std::string> names;
    char name[32];
    for (int i = 1; i <= kTutorialLevels; ++i) {
        std::snprintf(name, sizeof name, "tut1_%.2i.lvl", i);
        names.push_back(name);
    }
    for (int i = 1; i <= kPackLevels; ++i) {
        std::snprintf(name, sizeof name, "pack1_%.2i.lvl", i);
        names.push_back(name);
    }
    for (int i = 1; i <= kHelpLevels; ++i) {
        std::snprintf(name, sizeof name, "help%i.lvl", i);
        names.push_back(name);
    }
    return names;
}

}  // namespace

void copyLevels(Output& out) {
    const auto folder = out.options().assetsDir / "levels";
    std::vector<std::string> files;
    if (std::filesystem::is_directory(folder))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() == ".lvl")
                files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    for (const std::string& name : expectedNames())
        if (!std::binary_search(files.begin(), files.end(), name)) fail(name, "missing");
    for (const std::string& name : files) {
        const Bytes bytes = readFile(folder / name);
        check(name, bytes);
        out.writeLoose("levels/" + name, bytes);
    }
}

}  // namespace datagen

