// The engine's folders are layers: each may include only the folders below
// it, and only the platform layer may include the libraries of the outside
// world (SDL, OpenGL, the audio codecs). The build states the same through
// the libraries' dependencies (src/CMakeLists.txt); this test reads every
// include line of src/ so that a wrong include is caught with its file and
// line, whatever the build happens to let through (system headers such as
// <GL/...> or <vorbis/...> are reachable from anywhere).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessaly::base {
namespace {

namespace fs = std::filesystem;

// What each folder may include besides itself.
const std::map<std::string, std::set<std::string>>& allowedIncludes() {
    static const std::map<std::string, std::set<std::string>> allowed = {
        {"base", {}},
        {"platform", {"base"}},
        {"data", {"base", "platform"}},
        {"gfx", {"base", "platform", "data"}},
        {"sound", {"base", "platform", "data"}},
        {"fx", {"base", "platform", "data", "gfx"}},
        {"game", {"base", "platform", "data", "gfx", "sound", "fx"}},
        {"player", {"base", "platform", "data", "gfx", "sound", "fx", "game"}},
        {"menus", {"base", "platform", "data", "gfx", "sound", "fx", "game", "player"}},
        {"shell", {"base", "platform", "data", "gfx", "sound", "fx", "game", "player", "menus"}},
    };
    return allowed;
}

// System headers only the platform layer may see.
constexpr const char* kPlatformOnlyHeaders[] = {"SDL", "GL/", "vorbis/", "libopenmpt/", "png.h"};

struct Include {
    std::string file;
    int line;
    std::string target;  // what stands between the quotes or brackets
    bool quoted;
};

std::vector<Include> includesOf(const fs::path& path, const std::string& name) {
    std::vector<Include> out;
    std::ifstream in(path);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        const size_t hash = text.find_first_not_of(" \t");
        if (hash == std::string::npos || text.compare(hash, 8, "#include") != 0) continue;
        const size_t open = text.find_first_of("\"<", hash + 8);
        if (open == std::string::npos) continue;
        const size_t close = text.find(text[open] == '"' ? '"' : '>', open + 1);
        if (close == std::string::npos) continue;
        out.push_back({name, line, text.substr(open + 1, close - open - 1), text[open] == '"'});
    }
    return out;
}

TEST(Layers, EveryFolderIncludesOnlyTheFoldersBelowIt) {
    const fs::path src = fs::path(TESSALY_SOURCE_DIR) / "src";
    std::vector<std::string> faults;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        const fs::path relative = fs::relative(entry.path(), src);
        if (relative.begin() == relative.end() || std::next(relative.begin()) == relative.end())
            continue;  // main.cpp, the entry point, stands above every layer
        const std::string folder = relative.begin()->string();
        const auto allowed = allowedIncludes().find(folder);
        if (allowed == allowedIncludes().end()) {
            faults.push_back(relative.string() + ": folder " + folder +
                             " is no known layer; add it to src/CMakeLists.txt and to this test");
            continue;
        }
        ++files;
        for (const Include& inc : includesOf(entry.path(), relative.string())) {
            const std::string where = inc.file + ":" + std::to_string(inc.line) + " includes " + inc.target;
            if (inc.quoted) {
                const size_t slash = inc.target.find('/');
                if (slash == std::string::npos) continue;
                const std::string target = inc.target.substr(0, slash);
                if (target != folder && !allowed->second.contains(target))
                    faults.push_back(where + ": " + folder + " may not include " + target +
                                     " (move the shared piece down a layer, or pass it in from above)");
            } else if (folder != "platform") {
                for (const char* header : kPlatformOnlyHeaders)
                    if (inc.target.rfind(header, 0) == 0)
                        faults.push_back(where + ": only platform/ may include the outside "
                                                 "libraries; add a seam to platform/");
            }
        }
    }
    EXPECT_GT(files, 0) << "the source folder was not found at " << src;
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

}  // namespace
}  // namespace tessaly::base
