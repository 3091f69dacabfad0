// The generators of the data set, in the order they run. A generator may
// read what an earlier one wrote (nothing does today), and pack entries are
// stored in the order they were emitted, so the order is part of the output:
// keep it when adding a generator, and add new ones at the end of their kind.
#pragma once

#include <filesystem>
#include <iterator>

#include "datagen.h"

namespace datagen {

void packTexts(Output& out);               // texts.cpp
void generateFont(Output& out);            // font_gen.cpp
void generateFoundationArt(Output& out);   // foundation_art.cpp
void generateParticleSheet(Output& out);   // particle_sheet.cpp
void copyEffects(Output& out);             // effects_gen.cpp
void effectsArt(Output& out);              // effects_art.cpp
void copyLevels(Output& out);              // levels_gen.cpp
void generateSounds(Output& out);          // sound_gen.cpp
void generateMusic(Output& out);           // music_gen.cpp
void generateRecords(Output& out);         // records_gen.cpp
void generateMenuArt(Output& out);         // menu_art.cpp
void generateLandscapes(Output& out);      // lands_gen.cpp
// The desktop icon at every size, into a hicolor theme folder (icon_art.cpp);
// not part of the data set.
void writeIcons(const std::filesystem::path& themeDir);

namespace gameart {
void generatePieces(Output& out);          // game_art.cpp
void generateBackdrop(Output& out);        // game_art_backdrop.cpp
void generateBoardArt(Output& out);        // game_art_board.cpp
void generatePanelArt(Output& out);        // game_art_panel.cpp
}  // namespace gameart

namespace levelmap {
void generateLevelMap(Output& out);        // map_art.cpp, map_items_art.cpp
}  // namespace levelmap

inline constexpr Generator kGenerators[] = {
    {"texts", packTexts},
    {"font", generateFont},
    {"foundation art", generateFoundationArt},
    {"particles", generateParticleSheet},
    {"effects", copyEffects},
    {"effects art", effectsArt},
    {"game pieces", gameart::generatePieces},
    {"game backdrop", gameart::generateBackdrop},
    {"game board", gameart::generateBoardArt},
    {"game panel", gameart::generatePanelArt},
    {"levels", copyLevels},
    {"sounds", generateSounds},
    {"music", generateMusic},
    {"records", generateRecords},
    {"level map", levelmap::generateLevelMap},
    {"menu art", generateMenuArt},
    {"landscapes", generateLandscapes},
};

}  // namespace datagen
