// The game's run from start to exit: start-up in its fixed order (single
// instance, data folder, window and device, the loading screen, all data),
// the frame loop, and shutdown. main() is only a call of runGame.
#pragma once

#include <string_view>

namespace tessaly::shell {

// Returns the process exit code: 0 after a normal run (and for a second copy,
// which leaves at once), 1 when the display cannot be opened, 2 for bad
// command-line options, 3 when a requested screenshot or state dump could
// not be written. A missing data file ends the process from inside loading
// with code 1.
int runGame(int argc, char** argv);

// The loads between the first loading frame and the title, in order. Each
// registered file draws a loading frame. The texts are read in `language`
// (a code such as "ru"), or in English when the data set lacks it.
void loadResources(bool hasSeed, unsigned seed, std::string_view language = "en");

}  // namespace tessaly::shell
