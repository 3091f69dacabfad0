// The particle effects: copies assets/effects/*.par into Data/effects/ with
// CR LF line ends, checking each file on the way so that an authoring slip
// fails the build instead of silently reading as zero in the game:
//  - every line is key=value with a key the game reads;
//  - "rot=" stands above "drot=" and "rotdev=" above "drotdev=" (the game's
//    plain key search would otherwise read the spin as the rotation);
//  - names (file names and "externeffect" values) fit 31 characters, and
//    every chained effect exists;
//  - the effects the game starts by name are all present.
// Effects stay loose: the game enumerates the "effects" folder on disk.
#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "datagen.h"

namespace datagen {
namespace {

const char* const kKeys[] = {
    "externeffect1", "externeffect2", "externeffect3", "externeffect4", "externeffect5",
    "externeffect6", "externeffect7", "externeffect8", "parfrequency", "color0", "color0dev",
    "color1", "color1dev", "radius0", "radius0dev", "radius1", "radius1dev", "partime",
    "partimedev", "positiondev", "speed", "speeddev", "gravity", "gravitydev", "blendtype",
    "numparticle", "rot", "rotdev", "drot", "drotdev", "effecttime", "polarpar", "polarpardev",
    "lissparx", "lisspary", "simetria", "simetriapar", "polar", "polardev", "lissx", "lissy",
};

const char* const kGameEffects[] = {
    "ball1", "ball2", "bomb1", "bomb2", "dbomb1", "dbomb2", "diamond1", "diamond2",
    "addbomb2", "chain1", "chain2", "square1", "square2", "hammer", "scorewow",
};

constexpr size_t kMaxName = 31;

struct Effect {
    std::string name;
    std::vector<std::string> chained;
};

[[noreturn]] void fail(const std::string& file, const std::string& what) {
    throw std::runtime_error("effects: " + file + ": " + what);
}

// Position of the line "key=..." (at the start of a line), or npos.
size_t lineOf(const std::string& text, const std::string& key) {
    for (size_t p = 0; p < text.size();) {
        if (text.compare(p, key.size() + 1, key + "=") == 0) return p;
        const size_t next = text.find('\n', p);
        if (next == std::string::npos) break;
        p = next + 1;
    }
    return std::string::npos;
}

Effect check(const std::string& file, const std::string& text) {
    Effect effect;
    effect.name = file.substr(0, file.find('.'));
    if (effect.name.empty() || effect.name.size() > kMaxName) fail(file, "name must be 1..31 characters");

    std::set<std::string> seen;
    size_t p = 0;
    while (p < text.size()) {
        size_t end = text.find("\r\n", p);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(p, end - p);
        p = end + 2;
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) fail(file, "line without \"=\": " + line);
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys))
            fail(file, "unknown key \"" + key + "\"");
        if (!seen.insert(key).second) fail(file, "key \"" + key + "\" given twice");
        if (key.rfind("externeffect", 0) == 0) {
            if (value.size() > kMaxName) fail(file, "chained name longer than 31 characters");
            if (!value.empty()) effect.chained.push_back(value);
        }
    }
    for (const auto& [first, second] : {std::pair<const char*, const char*>{"rot", "drot"}, {"rotdev", "drotdev"}}) {
        const size_t a = lineOf(text, first), b = lineOf(text, second);
        if (b != std::string::npos && (a == std::string::npos || b < a))
            fail(file, std::string("\"") + first + "=\" must stand above \"" + second +
                           "=\" (write it, even as 0, so the spin is not read as the rotation)");
    }
    return effect;
}

}  // namespace

void copyEffects(Output& out) {
    const auto folder = out.options().assetsDir / "effects";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".par") files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    std::vector<Effect> effects;
    std::set<std::string> names;
    for (const auto& path : files) {
        const Bytes bytes = normalizeLineEnds(readFile(path));
        const std::string file = path.filename().string();
        effects.push_back(check(file, std::string(bytes.begin(), bytes.end())));
        names.insert(effects.back().name);
        out.writeLoose("effects/" + file, bytes);
    }
    if (effects.size() > 256) throw std::runtime_error("effects: more than 256 effects");
    for (const Effect& e : effects)
        for (const std::string& chained : e.chained)
            if (!names.count(chained)) fail(e.name + ".par", "chains the missing effect \"" + chained + "\"");
    for (const char* name : kGameEffects)
        if (!names.count(name)) throw std::runtime_error(std::string("effects: missing ") + name + ".par");
}

}  // namespace datagen

