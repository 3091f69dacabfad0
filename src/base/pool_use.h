// How hard a fixed pool has been used: its high-water mark, the live
// entries its ring replaced (the pool's own rule when it is full, such as a
// new particle taking the oldest one's slot), and the entries it lost
// because it was full (a queue that could not take more: no rule wants
// that). Every fixed pool of the effects, the sound and the board keeps one;
// the state dump reports them and the long play-through tests fail on a
// drop.
#pragma once

#include <cstdint>

namespace tessaly::base {

struct PoolUse {
    int32_t highWater = 0;   // most entries live at once
    int64_t replaced = 0;    // live entries a ring reused
    int64_t dropped = 0;     // entries lost to a full pool

    void noteLive(int live) {
        if (live > highWater) highWater = live;
    }
};

}  // namespace tessaly::base
