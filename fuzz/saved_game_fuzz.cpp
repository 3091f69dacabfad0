// Saved games. An input of exactly the image size is decoded as it stands.
// Any other input is first decoded as it stands (the size check) and then
// read as patches over a sound image of a level in progress: each four
// bytes are a 24-bit offset and a byte value. This reaches the checks
// behind the size check, which random images of the right size rarely pass.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/level_file.h"
#include "game/saved_game.h"

using namespace tessaly;

namespace {

std::vector<uint8_t> soundImage() {
    auto g = std::make_unique<game::GameState>();
    game::clearBoard(g->board);
    std::string text = "colors=5\r\naddballs=3\r\nlevel=\r\n";
    const char* rows[3] = {"00a00b000c0000000000", "0000000AB00000000000", "00000000000000000000"};
    for (int r = 0; r < 15; ++r) text += std::string(rows[r < 3 ? r : 2]) + "\r\n";
    std::string error;
    if (!game::parseLevel(text, g->board, g->level, error))
        std::fprintf(stderr, "saved_game_fuzz: base level refused: %s\n", error.c_str());
    g->barTotal = g->barRemaining = 40.0f;
    std::vector<uint8_t> image(game::kSavedGameBytes);
    game::encodeSavedGame(*g, image.data());
    if (!game::decodeSavedGame(image.data(), image.size(), *g, error))
        std::fprintf(stderr, "saved_game_fuzz: base image refused: %s\n", error.c_str());
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> base = soundImage();
    static auto game = std::make_unique<game::GameState>();
    std::string error;
    if (game::decodeSavedGame(data, size, *game, error) || size == game::kSavedGameBytes) return 0;
    std::vector<uint8_t> image = base;
    for (size_t i = 0; i + 4 <= size; i += 4) {
        const size_t offset =
            (size_t(data[i]) | size_t(data[i + 1]) << 8 | size_t(data[i + 2]) << 16) % image.size();
        image[offset] = data[i + 3];
    }
    (void)game::decodeSavedGame(image.data(), image.size(), *game, error);
    return 0;
}
