// The landscapes' authored sources and binary files: reading gameobjs.txt
// and the scene sources, writing level%i.lev, and the small mesh set.
//
// Sections: kinds, definitions, scenes, mesh set.
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <set>
#include <sstream>
#include <stdexcept>

#include "lands.h"

namespace datagen::lands {

// ---------------------------------------------------------------------------
// Kinds: the game tests the definition's name for these words in this order.

Kind kindOf(std::string_view name) {
    if (name.find("sky") != std::string_view::npos) return Kind::Sky;
    if (name.find("waterfall") != std::string_view::npos) return Kind::Waterfall;
    if (name.find("water") != std::string_view::npos) return Kind::Water;
    if (name.find("spray") != std::string_view::npos) return Kind::Spray;
    if (name.find("leaves") != std::string_view::npos) return Kind::Leaves;
    return Kind::Still;
}

// ---------------------------------------------------------------------------
// Definitions

namespace {

bool blank(char c) { return uint8_t(c) <= ' '; }

std::runtime_error definitionError(const std::string& text, size_t at, const std::string& what) {
    const int line = 1 + int(std::count(text.begin(), text.begin() + long(std::min(at, text.size())), '\n'));
    return std::runtime_error("gameobjs.txt line " + std::to_string(line) + ": " + what);
}

}  // namespace

std::vector<Definition> parseDefinitions(const std::string& text) {
    std::vector<Definition> definitions;
    std::set<std::string> names, groups;
    size_t p = 0;
    auto skipBlanks = [&] {
        while (p < text.size() && blank(text[p])) ++p;
    };
    while (true) {
        // Anything before a group header is ignored by the game; here it may
        // only be comment text, never a stray definition.
        const size_t open = text.find('[', p);
        const std::string before = text.substr(p, open == std::string::npos ? std::string::npos : open - p);
        if (before.find('=') != std::string::npos)
            throw definitionError(text, p + before.find('='), "a definition outside a group");
        if (open == std::string::npos) break;
        const size_t slash = text.find('/', open);
        if (slash == std::string::npos || slash + 1 >= text.size() || text[slash + 1] != ']')
            throw definitionError(text, open, "a group header must read [name/]");
        const std::string group = text.substr(open + 1, slash - open - 1);
        if (group.empty() || group.size() > kMaxNameLength)
            throw definitionError(text, open, "group name empty or longer than 31 characters");
        if (group.find_first_of(" \t\r\n[]=") != std::string::npos)
            throw definitionError(text, open, "group name with a blank or bracket");
        if (!groups.insert(group).second) throw definitionError(text, open, "group " + group + " twice");
        if (groups.size() > kMaxGroups) throw definitionError(text, open, "more than 32 groups");
        p = slash + 2;
        while (true) {
            skipBlanks();
            if (p >= text.size()) throw definitionError(text, p, "group " + group + " is not closed");
            if (text.compare(p, 2, "[/") == 0) {
                while (p < text.size() && !blank(text[p])) ++p;  // the rest of the token
                break;
            }
            const size_t equals = text.find('=', p);
            const size_t lineEnd = text.find_first_of("\r\n", p);
            if (equals == std::string::npos || (lineEnd != std::string::npos && equals > lineEnd))
                throw definitionError(text, p, "a line without name=file");
            const std::string name = text.substr(p, equals - p);
            if (name.empty() || name.size() > kMaxNameLength)
                throw definitionError(text, p, "name empty or longer than 31 characters");
            if (name.find_first_of(" \t[]/,") != std::string::npos)
                throw definitionError(text, p, "name \"" + name + "\" holds a blank, bracket, slash or comma");
            p = equals + 1;
            skipBlanks();
            const size_t fileStart = p;
            while (p < text.size() && !blank(text[p]) && text[p] != ',') ++p;
            const std::string file = text.substr(fileStart, p - fileStart);
            if (file.empty() || file.find_first_of("[]=") != std::string::npos)
                throw definitionError(text, fileStart, "bad file name for " + name);
            if (p < text.size() && text[p] == ',')
                throw definitionError(text, p, "a comma ends the file name of " + name);
            if (!names.insert(name).second) throw definitionError(text, fileStart, name + " defined twice");
            definitions.push_back({group, name, file});
            if (definitions.size() > kMaxDefinitions)
                throw definitionError(text, fileStart, "more than 512 definitions");
        }
    }
    if (definitions.empty()) throw std::runtime_error("gameobjs.txt defines nothing");
    return definitions;
}

// ---------------------------------------------------------------------------
// Scenes

namespace {

double number(const std::string& token, const std::string& where) {
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value))
        throw std::runtime_error(where + ": \"" + token + "\" is not a number");
    return value;
}

bool flag(const std::string& token, const std::string& where) {
    if (token == "0") return false;
    if (token == "1") return true;
    throw std::runtime_error(where + ": \"" + token + "\" must be 0 or 1");
}

}  // namespace

Scene parseScene(const std::string& text, const std::string& sourceName) {
    Scene scene;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = sourceName + " line " + std::to_string(lineNumber);
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        if (line.compare(start, 6, "title ") == 0) {
            scene.title = line.substr(start + 6);
            if (scene.title.size() >= kSceneHeaderBytes)
                throw std::runtime_error(where + ": title longer than 63 characters");
            continue;
        }
        std::istringstream fields(line);
        std::vector<std::string> tokens;
        for (std::string token; fields >> token;) tokens.push_back(token);
        if (tokens.size() != 10)
            throw std::runtime_error(where + ": want name x0 y0 x1 y1 angle paramX paramY mirrored behind");
        SceneObject o{};
        o.name = tokens[0];
        if (o.name.size() > kMaxNameLength)
            throw std::runtime_error(where + ": name longer than 31 characters");
        o.x0 = number(tokens[1], where);
        o.y0 = number(tokens[2], where);
        o.x1 = number(tokens[3], where);
        o.y1 = number(tokens[4], where);
        o.angle = number(tokens[5], where);
        o.paramX = number(tokens[6], where);
        o.paramY = number(tokens[7], where);
        o.mirrored = flag(tokens[8], where);
        o.behind = flag(tokens[9], where);
        o.line = lineNumber;
        // A flat rectangle would make the game divide by zero (the sky's span,
        // the spray's puff interval).
        if (!(o.x1 > o.x0) || !(o.y1 > o.y0))
            throw std::runtime_error(where + ": x1 y1 must lie right of and above x0 y0");
        scene.objects.push_back(o);
        if (scene.objects.size() > kMaxSceneObjects)
            throw std::runtime_error(where + ": more than 128 objects");
    }
    return scene;
}

namespace {

void putFloat(Bytes& out, double value) {
    const float f = float(value);
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(bits >> (8 * i)));
}

void putInt(Bytes& out, int32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

}  // namespace

Bytes encodeScene(const Scene& scene) {
    Bytes out(kSceneHeaderBytes, 0);
    std::memcpy(out.data(), scene.title.data(), std::min(scene.title.size(), kSceneHeaderBytes - 1));
    putInt(out, int32_t(scene.objects.size()));
    for (const SceneObject& o : scene.objects) {
        const size_t start = out.size();
        out.resize(start + 32, 0);
        std::memcpy(&out[start], o.name.data(), std::min(o.name.size(), kMaxNameLength));
        for (double v : {o.x0, o.y0, o.x1, o.y1, o.angle, o.paramX, o.paramY}) putFloat(out, v);
        out.push_back(o.mirrored ? 1 : 0);
        putInt(out, o.behind ? 1 : 0);
    }
    return out;
}

// ---------------------------------------------------------------------------
// Mesh set: a pebble in two forms, flat-shaded (a bevelled box) and smooth
// (a sphere whose texture wraps twice around it, so the vertices on its two
// seams and at its poles must be split by the loader).
//
// A mesh file: 3 unused bytes, the smooth flag, position and rotation (six
// floats), one unused byte, int32 vertex and triangle counts, the vertex
// positions, three int32 indices per triangle, then the corners' texture
// coordinates. The coordinate block is read at 37 + 12 V + 24 F; it is
// preceded by a copy of its first half, and the first half of the triangles'
// coordinates equals the second, so a reader that takes the coordinates
// straight after the indices gets the very same values. v is stored from
// the bottom of the picture up (the loader turns it with v := 1 - v).

namespace {

struct Vec3 {
    double x, y, z;
};
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Corner {
    int vertex;
    double u, v;  // v from the top of the picture
};

struct MeshData {
    bool smooth;
    std::vector<Vec3> vertices;
    std::vector<std::array<Corner, 3>> triangles;
};

// The loader's face normal is cross(c2 - c0, c1 - c0); order the corners so
// that it points away from the mesh's centre (the origin).
void orientOutwards(MeshData& mesh) {
    for (auto& t : mesh.triangles) {
        const Vec3 a = mesh.vertices[size_t(t[0].vertex)], b = mesh.vertices[size_t(t[1].vertex)],
                   c = mesh.vertices[size_t(t[2].vertex)];
        const Vec3 centroid{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
        if (dot(cross(c - a, b - a), centroid) < 0) std::swap(t[1], t[2]);
    }
}

// A box of half-size (1, 0.7, 0.85) whose six faces each carry the whole
// picture, listed as three faces and then their opposites with the same
// corner layout.
MeshData pebbleBox() {
    MeshData mesh{false, {}, {}};
    const double hx = 1, hy = 0.7, hz = 0.85;
    for (int i = 0; i < 8; ++i)
        mesh.vertices.push_back({(i & 1) ? hx : -hx, (i & 2) ? hy : -hy, (i & 4) ? hz : -hz});
    // Each face as four vertices going around it; axis order x, y, z then -x, -y, -z.
    const int faces[6][4] = {{1, 3, 7, 5}, {2, 6, 7, 3}, {4, 5, 7, 6},
                             {0, 4, 6, 2}, {0, 1, 5, 4}, {0, 2, 3, 1}};
    const double uv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    auto corner = [&](const int* f, int k) { return Corner{f[k], uv[k][0], uv[k][1]}; };
    for (const auto& f : faces) mesh.triangles.push_back({corner(f, 0), corner(f, 1), corner(f, 2)});
    for (const auto& f : faces) mesh.triangles.push_back({corner(f, 0), corner(f, 2), corner(f, 3)});
    // Reorder to first triangles of faces 0..2, second of 0..2, then the same for 3..5,
    // so that triangle i and i + F/2 share their corner coordinates.
    std::vector<std::array<Corner, 3>> ordered;
    for (int half = 0; half < 2; ++half)
        for (int k = 0; k < 2; ++k)
            for (int f = 0; f < 3; ++f) ordered.push_back(mesh.triangles[size_t(k * 6 + half * 3 + f)]);
    mesh.triangles = ordered;
    orientOutwards(mesh);
    return mesh;
}

// A slightly squashed sphere: poles and rings of shared vertices; the
// picture wraps around twice (u 0..1 on each half), so the corners at
// longitude 0 and 180 degrees meet with u 0 and u 1.
MeshData pebbleSphere() {
    constexpr int kRings = 7, kSegments = 12;  // latitude bands, longitude steps
    MeshData mesh{true, {}, {}};
    mesh.vertices.push_back({0, 0.8, 0});  // north pole
    for (int r = 1; r < kRings; ++r) {
        const double lat = M_PI * r / kRings;
        for (int s = 0; s < kSegments; ++s) {
            const double lon = 2 * M_PI * s / kSegments;
            mesh.vertices.push_back({std::sin(lat) * std::cos(lon), 0.8 * std::cos(lat),
                                     std::sin(lat) * std::sin(lon)});
        }
    }
    mesh.vertices.push_back({0, -0.8, 0});  // south pole
    const int south = int(mesh.vertices.size()) - 1;
    auto ring = [&](int r, int s) { return 1 + (r - 1) * kSegments + (s % kSegments); };
    auto u = [&](int s) { return double(s % (kSegments / 2)) / (kSegments / 2); };
    auto uEnd = [&](int s) { return u(s) == 0 && s > 0 ? 1.0 : u(s); };  // right side of a band
    std::vector<std::array<Corner, 3>> halves[2];
    for (int s = 0; s < kSegments; ++s) {
        const double u0 = u(s), u1 = uEnd(s + 1);
        auto& out = halves[s / (kSegments / 2)];
        for (int r = 0; r < kRings; ++r) {
            const double v0 = double(r) / kRings, v1 = double(r + 1) / kRings;
            if (r == 0) {
                out.push_back({Corner{0, (u0 + u1) / 2, 0}, Corner{ring(1, s), u0, v1},
                               Corner{ring(1, s + 1), u1, v1}});
            } else if (r == kRings - 1) {
                out.push_back({Corner{ring(r, s), u0, v0}, Corner{south, (u0 + u1) / 2, 1},
                               Corner{ring(r, s + 1), u1, v0}});
            } else {
                out.push_back({Corner{ring(r, s), u0, v0}, Corner{ring(r + 1, s), u0, v1},
                               Corner{ring(r + 1, s + 1), u1, v1}});
                out.push_back({Corner{ring(r, s), u0, v0}, Corner{ring(r + 1, s + 1), u1, v1},
                               Corner{ring(r, s + 1), u1, v0}});
            }
        }
    }
    for (auto& h : halves) mesh.triangles.insert(mesh.triangles.end(), h.begin(), h.end());
    orientOutwards(mesh);
    return mesh;
}

Bytes encodeMesh(const MeshData& mesh) {
    Bytes out = {'M', 'S', 'H', uint8_t(mesh.smooth ? 1 : 0)};
    for (int i = 0; i < 6; ++i) putFloat(out, 0);  // position and rotation
    out.push_back(0);
    putInt(out, int32_t(mesh.vertices.size()));
    putInt(out, int32_t(mesh.triangles.size()));
    for (const Vec3& v : mesh.vertices)
        for (double c : {v.x, v.y, v.z}) putFloat(out, c);
    for (const auto& t : mesh.triangles)
        for (const Corner& c : t) putInt(out, c.vertex);
    Bytes coordinates;
    for (const auto& t : mesh.triangles)
        for (const Corner& c : t) {
            putFloat(coordinates, c.u);
            putFloat(coordinates, 1 - c.v);
        }
    const size_t half = coordinates.size() / 2;
    if (!std::equal(coordinates.begin(), coordinates.begin() + long(half), coordinates.begin() + long(half)))
        throw std::logic_error("mesh texture coordinates must repeat after half the triangles");
    out.insert(out.end(), coordinates.begin(), coordinates.begin() + long(half));
    out.insert(out.end(), coordinates.begin(), coordinates.end());
    return out;
}

}  // namespace

MeshFiles buildMeshSet() {
    MeshFiles set;
    set.setName = "pebble.cgo";
    const std::string text =
        "nummeshes=2\n"
        "mesh0=pebble_flat.msh_s\n"
        "texture0=pebble.jpg\n"
        "mesh1=pebble_round.msh_s\n"
        "texture1=pebble.jpg\n"
        "numbounds=2\n"
        "bound0.name=body\n"
        "bound0.b_circle=1\n"
        "bound0.center.x=0\n"
        "bound0.center.y=0\n"
        "bound0.center.z=0\n"
        "bound0.radius=1\n"
        "bound1.name=base\n"
        "bound1.b_circle=0\n"
        "bound1.center.x=0\n"
        "bound1.center.y=-0.7\n"
        "bound1.center.z=0\n"
        "bound1.dx=1\n";
    set.files.emplace_back(set.setName, normalizeLineEnds(Bytes(text.begin(), text.end())));
    set.files.emplace_back("pebble_flat.msh_s", encodeMesh(pebbleBox()));
    set.files.emplace_back("pebble_round.msh_s", encodeMesh(pebbleSphere()));
    return set;
}

}  // namespace datagen::lands
