// The game in Russian through the real executable: a first run from the
// title through the name entry to the main menu with --lang ru, its
// lettering drawn from the Cyrillic glyphs of the font.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/run_game.h"

namespace tessaly::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kData = TESSALY_DATA_DIR;

// Title, name entry with "ANNA" typed and Enter, the fade into "main".
std::string firstRunScript(int& lastFrame) {
    std::string text;
    int frame = 60;
    auto key = [&](int k, int gap) {
        frame += gap;
        text += std::to_string(frame) + " key " + std::to_string(k) + "\n";
    };
    key(13, 0);
    frame += 70;
    for (char c : std::string("ANNA")) key(c, 3);
    key(13, 4);
    lastFrame = frame + 80;
    return text;
}

struct MainMenuRun {
    GameRun run;
    std::string dump;
    Screenshot shot;
};

MainMenuRun mainMenu(const std::string& folder, const std::vector<std::string>& extra) {
    int last = 0;
    std::ofstream(folder + "/input.txt") << firstRunScript(last);
    std::vector<std::string> args = {"--data", kData, "--windowed", "--fixed-step", "16", "--seed", "1",
                                     "--frames", std::to_string(last + 1), "--user-dir", folder + "/user",
                                     "--input", folder + "/input.txt", "--dump-state", folder + "/state.json",
                                     "--screenshot", std::to_string(last) + ":" + folder + "/main.png"};
    args.insert(args.end(), extra.begin(), extra.end());
    MainMenuRun r;
    r.run = runGame(args, folder, 300);
    r.dump = readText(folder + "/state.json");
    if (r.run.exitCode == 0) r.shot = readScreenshot(folder + "/main.png");
    return r;
}

// Pixels of near-white lettering in a band of rows: the menu items and the
// greeting are drawn white or pale yellow over darker panels.
int letteringPixels(const Screenshot& s, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom && y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const uint8_t* p = s.at(x, y);
            n += p[0] > 225 && p[1] > 225 && p[2] > 150;
        }
    return n;
}

TEST(LanguageE2e, FirstRunInRussianReachesTheMainMenuWithCyrillicLettering) {
    if (!fs::exists(kData + "/texts.dat")) GTEST_SKIP() << "no data set";
    const TestFolder en("lang-en"), ru("lang-ru");
    const MainMenuRun english = mainMenu(en.path(), {});
    const MainMenuRun russian = mainMenu(ru.path(), {"--lang", "ru"});
    ASSERT_EQ(english.run.exitCode, 0) << english.run.err;
    ASSERT_EQ(russian.run.exitCode, 0) << russian.run.err;
    EXPECT_EQ(jsonText(jsonObject(english.dump, "shell"), "language"), "en");
    EXPECT_EQ(jsonText(jsonObject(russian.dump, "shell"), "language"), "ru");
    EXPECT_EQ(jsonText(jsonObject(russian.dump, "menu"), "screen"), "main");
    ASSERT_GT(russian.shot.width, 0);
    ASSERT_EQ(russian.shot.width, english.shot.width);

    // The same screen with other words: the pictures differ, and the Russian
    // one carries about as much lettering as the English one. Without
    // Cyrillic glyphs its words would be blank, leaving the Latin ones only.
    const int h = russian.shot.height;
    const int enLetters = letteringPixels(english.shot, 0, h);
    const int ruLetters = letteringPixels(russian.shot, 0, h);
    EXPECT_NE(english.shot.rgba, russian.shot.rgba);
    EXPECT_GT(enLetters, 2000);
    EXPECT_GT(ruLetters, enLetters * 6 / 10) << "English " << enLetters << ", Russian " << ruLetters;
}

TEST(LanguageE2e, AnUntranslatedLanguageShowsEnglishAndSaysSo) {
    if (!fs::exists(kData + "/texts.dat")) GTEST_SKIP() << "no data set";
    const TestFolder dir("lang-de");
    const MainMenuRun r = mainMenu(dir.path(), {"--lang", "de"});
    ASSERT_EQ(r.run.exitCode, 0) << r.run.err;
    EXPECT_EQ(jsonText(jsonObject(r.dump, "shell"), "language"), "en");
    EXPECT_EQ(jsonText(jsonObject(r.dump, "menu"), "screen"), "main");
    EXPECT_NE(r.run.err.find("'de'"), std::string::npos) << r.run.err;
}

}  // namespace
}  // namespace tessaly::e2e
