// The data-set generator: builds the default Data/ folder from the authored
// sources in assets/ and from art, sound and music generated here.
//
// Each part of the data set is a Generator; main() runs the table of
// generators.h in its order, then writes the pack files. A generator emits files through the
// Output: loose files at a path below Data/, or entries of one of the three
// packs.
//
// Where a file goes (the game reads packs first, then loose files):
//  - "targa.dat": TGA art; "jpeg.dat": JPEG art; "texts.dat": texts and
//    other small data read once at start-up (strings.txt, tips.txt,
//    menu.txt, menutext.txt, font.dat).
//  - Loose instead, when the game reads the file before the packs are loaded
//    ("loadscreen.jpg", "loadbar.jpg"), or may read it more than once: a pack
//    entry is dropped from memory once its reader releases it, and the next
//    request goes to the disk. So levels, backdrops ("animbacks/..."), "_a_"
//    alpha companions (the texture manager asks for them on every load of
//    their ".tga" name), sounds, effects and menu files read again at run
//    time stay loose.
//  - Pack entry names are plain file names, exactly as the game asks for
//    them, 1..63 bytes; a name may be emitted once only (the game matches
//    names without regard to case, so "A.tga" and "a.tga" clash too).
//
// Rules for generators: deterministic output (seeded ArtRandom of paint.h,
// never the clock), fast (the whole data set builds in seconds), and every
// picture in the house style of docs/art-direction.md. Image writers are in
// image_io.h, cairo helpers in paint.h.
//
// Options: --assets DIR --out DIR [--font TTF] [--preview DIR] [--only a,b].
// --preview writes a PNG of every emitted picture (over a checkerboard)
// for looking at the art; --only runs just the named generators (use with a
// scratch --out: the packs it writes hold only their entries).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pack_format.h"

namespace datagen {

struct Options {
    std::filesystem::path assetsDir;   // the repository's assets/
    std::filesystem::path outDir;      // the Data/ folder to fill
    std::filesystem::path fontPath;    // DejaVuSans.ttf; the other DejaVu faces sit next to it
    std::filesystem::path previewDir;  // empty: no previews
};

class Output final {
public:
    explicit Output(const Options& options) : m_options(options) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // A loose file at `relativePath` below Data/ ("loadscreen.jpg",
    // "levels/pack1_01.lvl", "Sounds/ball.ogg").
    void writeLoose(const std::string& relativePath, const Bytes& bytes);
    // An entry of a pack; `pack` is "targa.dat", "jpeg.dat" or "texts.dat".
    void addToPack(const std::string& pack, const std::string& name, const Bytes& bytes);
    // Writes the packs collected so far.
    void writePacks();

    const Options& options() const { return m_options; }

private:
    // Refuses a second file of the same (case-folded) name, loose or packed.
    void claimName(const std::string& name);
    void preview(const std::string& name, const Bytes& bytes);

    const Options& m_options;
    std::map<std::string, PackEntries> m_packs;
    std::set<std::string> m_names;
};

// One part of the data set. The table of all of them, in the order they
// run, is in generators.h.
struct Generator {
    const char* name;
    void (*run)(Output& out);
};

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

// Text as the game reads it: every line ended by CR LF (LF-only and lone CR
// line ends are converted) and a CR LF after the last line, since the
// game's parser overwrites the final byte of a text file.
Bytes normalizeLineEnds(const Bytes& text);

}  // namespace datagen
