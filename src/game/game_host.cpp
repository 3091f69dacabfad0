#include "game/game_host.h"

namespace tessaly::game {

const char* tipName(Tip tip) {
    static constexpr const char* kNames[kTipCount] = {
        "triplebomb", "quadrobomb",  "diamond",     "hammertip",  "hammerfull",
        "jokertip",   "tipbusysquare2", "chainitemtip", "actionbartip", "doublerelax",
        "helprelax",  "levelprogresbar", "newballtip"};
    const int i = int(tip);
    return i >= 0 && i < kTipCount ? kNames[i] : "";
}

}  // namespace tessaly::game
