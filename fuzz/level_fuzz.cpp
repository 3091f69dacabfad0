// Level files and help levels. The first byte chooses the parser and, for
// a help level, the colour offset, the set flag and the mode.
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "game/board.h"
#include "game/level_file.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto board = std::make_unique<game::Board>();
    fuzz::Input in(data, size);
    const uint8_t choice = in.byte();
    std::string error;
    if (choice & 1) {
        game::LevelParams params;
        (void)game::parseLevel(in.rest(), *board, params, error);
    } else {
        game::HelpPointers pointers;
        const int offset = (choice >> 1) & 7;
        const int setFlag = (choice >> 4) & 1;
        const auto mode = game::Mode((choice >> 5) % 3);
        (void)game::parseHelpLevel(in.rest(), offset, setFlag, mode, *board, pointers, error);
    }
    return 0;
}
