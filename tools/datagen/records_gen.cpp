// The reference results of every level, one file per mode: "hi_expert.txt"
// (classic), "hi_normal.txt" (puzzle), "hi_zen.txt" (action). A first run
// makes the level records and the hiscore tables from them: the keys
// score<n>=, combo<n>=, time<n>= (minutes.seconds) and move<n>= for levels
// n = 1..70. The values are what a good player reaches, rising with the
// level: more points and moves on larger boards, longer times, and the
// puzzle and action modes asking more of both.
#include <cstdio>
#include <string>

#include "datagen.h"

namespace datagen {

void generateRecords(Output& out) {
    struct Mode {
        const char* file;
        int baseScore, scorePerLevel;
        int baseMoves, movesPerLevel;   // tenths of a move per level
        int baseSeconds, secondsPerLevel;
    };
    static constexpr Mode kModes[] = {
        {"hi_expert.txt", 2400, 260, 28, 6, 75, 4},
        {"hi_normal.txt", 2000, 300, 40, 9, 110, 6},
        {"hi_zen.txt", 3000, 340, 36, 8, 90, 5},
    };
    for (const Mode& m : kModes) {
        std::string text;
        char line[64];
        for (int n = 1; n <= 70; ++n) {
            const int score = (m.baseScore + m.scorePerLevel * (n - 1)) / 10 * 10;
            const int combo = 3 + n / 9;
            const int seconds = m.baseSeconds + m.secondsPerLevel * (n - 1);
            const int moves = m.baseMoves + m.movesPerLevel * (n - 1) / 10;
            std::snprintf(line, sizeof line, "score%d=%d\n", n, score);
            text += line;
            std::snprintf(line, sizeof line, "combo%d=%d\n", n, combo);
            text += line;
            std::snprintf(line, sizeof line, "time%d=%d.%02d\n", n, seconds / 60, seconds % 60);
            text += line;
            std::snprintf(line, sizeof line, "move%d=%d\n", n, moves);
            text += line;
        }
        out.addToPack("texts.dat", m.file, normalizeLineEnds(Bytes(text.begin(), text.end())));
    }
}

}  // namespace datagen
