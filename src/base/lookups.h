// Lookups by name that found nothing: a texture asked for without stopping
// the program, a sound, a particle effect or a text key. The game goes on
// without what was missing (a silent sound, no effect, no text), so a
// misspelt name or a file left out of the data set would otherwise pass
// unseen. Each lookup counts its misses here; the state dump reports them
// and the long play-through tests fail on any.
//
// Process-wide counters only; no allocation. The name of the last miss is
// kept (cut to kLookupNameLength) so a failing run says what was missing.
#pragma once

#include <string_view>

#include "base/copy_text.h"

namespace tessaly::base {

enum class LookupKind : int { Texture, Sound, Effect, Text, Count };

constexpr int kLookupNameLength = 63;

struct LookupMisses {
    int counts[int(LookupKind::Count)] = {};          // misses per kind since start-up
    char lastName[int(LookupKind::Count)][kLookupNameLength + 1] = {};  // newest miss per kind

    int total() const {
        int n = 0;
        for (int c : counts) n += c;
        return n;
    }
};

inline LookupMisses g_lookupMisses;

inline void noteLookupMiss(LookupKind kind, std::string_view name) {
    const int k = int(kind);
    ++g_lookupMisses.counts[k];
    copyText(g_lookupMisses.lastName[k], name);
}

inline void clearLookupMisses() { g_lookupMisses = LookupMisses{}; }

}  // namespace tessaly::base
