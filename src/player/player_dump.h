// The player data in the state dump (--dump-state): the settings, the
// players with their position in every mode, and the folder in use.
#pragma once

namespace tessaly::base {
class JsonWriter;
}

namespace tessaly::player {

void dumpPlayerData(base::JsonWriter& json);

}  // namespace tessaly::player
