#include <gtest/gtest.h>

#include <string>

#include "shell/screen.h"

namespace tessaly::shell {
namespace {

// Writes each call into a shared log, "A+" for onEnter of A, "A-" for onLeave.
class LoggingScreen final : public Screen {
public:
    LoggingScreen(const char* name, std::string& log) : m_name(name), m_log(log) {}
    const char* name() const override { return m_name; }
    void onEnter() override { m_log += std::string(m_name) + "+ "; }
    void onLeave() override { m_log += std::string(m_name) + "- "; }

private:
    const char* m_name;
    std::string& m_log;
};

TEST(ScreenSwitch, HappensOnlyWhenCarriedOut) {
    std::string log;
    LoggingScreen a("A", log), b("B", log);
    ScreenSwitch screens;
    screens.current = &a;
    requestScreen(screens, &b);
    EXPECT_EQ(screens.current, &a);
    EXPECT_EQ(log, "");
    switchPendingScreen(screens);
    EXPECT_EQ(screens.current, &b);
    EXPECT_EQ(log, "A- B+ ");
    // Nothing pending: nothing happens.
    switchPendingScreen(screens);
    EXPECT_EQ(log, "A- B+ ");
}

TEST(ScreenSwitch, SecondRequestInAFrameWins) {
    std::string log;
    LoggingScreen a("A", log), b("B", log), c("C", log);
    ScreenSwitch screens;
    screens.current = &a;
    requestScreen(screens, &b);
    requestScreen(screens, &c);
    switchPendingScreen(screens);
    EXPECT_EQ(screens.current, &c);
    EXPECT_EQ(log, "A- C+ ");
}

TEST(ScreenSwitch, RequestMadeWhileEnteringWaitsForTheNextFrame) {
    std::string log;
    ScreenSwitch screens;
    LoggingScreen a("A", log), c("C", log);
    class Redirecting final : public Screen {
    public:
        Redirecting(ScreenSwitch& s, Screen& next) : m_s(s), m_next(next) {}
        const char* name() const override { return "R"; }
        void onEnter() override { requestScreen(m_s, &m_next); }
        ScreenSwitch& m_s;
        Screen& m_next;
    } r(screens, c);
    screens.current = &a;
    requestScreen(screens, &r);
    switchPendingScreen(screens);
    EXPECT_EQ(screens.current, &r);
    EXPECT_TRUE(screens.switchPending);
    switchPendingScreen(screens);
    EXPECT_EQ(screens.current, &c);
}

// Types a word letter by letter (as virtual keys) and returns the last match.
TypedCode typeWord(TypedCodes& codes, const char* word, ScreenKind where) {
    TypedCode last = TypedCode::None;
    for (const char* p = word; *p; ++p) last = codes.push(*p, where);
    return last;
}

TEST(TypedCodes, MatchOnTheirScreenAfterAnyLetters) {
    struct Case {
        const char* typed;
        ScreenKind where;
        TypedCode expected;
    } cases[] = {
        {"ZXQ", ScreenKind::Other, TypedCode::StatsOverlay},
        {"ZXQ", ScreenKind::Menu, TypedCode::StatsOverlay},
        {"ZXQ", ScreenKind::Game, TypedCode::StatsOverlay},
        {"ABCDEZXQ", ScreenKind::Other, TypedCode::StatsOverlay},  // letters before it
        {"ZXQA", ScreenKind::Other, TypedCode::None},              // a letter after it
        {"JXVWQZ", ScreenKind::Menu, TypedCode::AllLevels},
        {"JXVWQZ", ScreenKind::Game, TypedCode::None},
        {"VWQZ", ScreenKind::Menu, TypedCode::ResetLevels},
        {"VWQZ", ScreenKind::Other, TypedCode::None},
        {"PKVWZQXJ", ScreenKind::Game, TypedCode::CheatKeys},
        {"PKVWZQXJ", ScreenKind::Menu, TypedCode::None},
        {"QQPKVWZQXJ", ScreenKind::Game, TypedCode::CheatKeys},
    };
    for (const Case& c : cases) {
        TypedCodes codes;
        EXPECT_EQ(typeWord(codes, c.typed, c.where), c.expected) << c.typed;
    }
}

TEST(TypedCodes, LongMenuCodeIsTestedBeforeItsShortTail) {
    TypedCodes codes;
    // Typing the six letters passes through the four-letter code's letters
    // only at the end, where the six-letter code must win.
    TypedCode seen[6];
    const char* word = "JXVWQZ";
    for (int i = 0; i < 6; ++i) seen[i] = codes.push(word[i], ScreenKind::Menu);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(seen[i], TypedCode::None) << i;
    EXPECT_EQ(seen[5], TypedCode::AllLevels);
}

TEST(TypedCodes, HistoryKeepsFifteenLettersNewestFirstAndSkipsOtherKeys) {
    TypedCodes codes;
    typeWord(codes, "ABCDEFGHIJKLMNOPQ", ScreenKind::Other);  // 17 letters
    EXPECT_STREQ(codes.history, "QPONMLKJIHGFEDC");
    // Digits, Enter, Space, arrows, Esc, Backspace and 0 change nothing.
    for (int key : {int('0'), int('9'), 13, 32, 37, 38, 39, 40, 27, 8, 0, int('a')})
        EXPECT_EQ(codes.push(key, ScreenKind::Other), TypedCode::None);
    EXPECT_STREQ(codes.history, "QPONMLKJIHGFEDC");
    // Only the low byte counts, as a character.
    codes.push(0x100 + 'Z', ScreenKind::Other);
    EXPECT_EQ(codes.history[0], 'Z');
}

TEST(TypedCodes, NonLettersBetweenDoNotBreakACode) {
    TypedCodes codes;
    codes.push('Z', ScreenKind::Other);
    codes.push(13, ScreenKind::Other);
    codes.push('X', ScreenKind::Other);
    codes.push('5', ScreenKind::Other);
    EXPECT_EQ(codes.push('Q', ScreenKind::Other), TypedCode::StatsOverlay);
}

TEST(TypedCodes, ApplyingSwitchesTheFlags) {
    ShellFlags flags;
    applyTypedCode(TypedCode::StatsOverlay, flags);
    EXPECT_TRUE(flags.statsOverlay);
    applyTypedCode(TypedCode::StatsOverlay, flags);
    EXPECT_FALSE(flags.statsOverlay);
    applyTypedCode(TypedCode::AllLevels, flags);
    EXPECT_TRUE(flags.allLevelsSelectable);
    applyTypedCode(TypedCode::AllLevels, flags);  // sets, does not toggle
    EXPECT_TRUE(flags.allLevelsSelectable);
    applyTypedCode(TypedCode::ResetLevels, flags);
    EXPECT_FALSE(flags.allLevelsSelectable);
    applyTypedCode(TypedCode::CheatKeys, flags);
    EXPECT_TRUE(flags.cheatKeys);
    applyTypedCode(TypedCode::CheatKeys, flags);
    EXPECT_FALSE(flags.cheatKeys);
}

}  // namespace
}  // namespace tessaly::shell
