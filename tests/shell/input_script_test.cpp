#include <gtest/gtest.h>

#include <string>

#include "shell/input_script.h"

namespace tessaly::shell {
namespace {

using platform::EventType;

TEST(InputScript, ParsesEveryEventInFrameOrder) {
    const char* text =
        "# a comment\r\n"
        "\n"
        "30 key 65\r\n"
        "  12\tmove -120.5 80  \n"
        "12 left-down\n"
        "13 left-up\n"
        "14 double-click\n"
        "15 right-down\n"
        "15 right-up\n"
        "16 middle-down\n"
        "16 middle-up\n"
        "40 deactivate\n"
        "41 activate\n"
        "50 close";  // no line end at the end
    InputScript script;
    std::string error;
    ASSERT_TRUE(parseInputScript(text, script, error)) << error;
    ASSERT_EQ(script.events.size(), 12u);
    // Sorted by frame, file order kept within a frame.
    EXPECT_EQ(script.events[0].frame, 12);
    EXPECT_EQ(script.events[0].event.type, EventType::MouseMove);
    EXPECT_TRUE(script.events[0].movesPointer);
    EXPECT_FLOAT_EQ(script.events[0].x, -120.5f);
    EXPECT_FLOAT_EQ(script.events[0].y, 80.0f);
    EXPECT_EQ(script.events[1].event.type, EventType::LeftDown);
    EXPECT_EQ(script.events[2].event.type, EventType::LeftUp);
    EXPECT_EQ(script.events[3].event.type, EventType::LeftDoubleClick);
    EXPECT_EQ(script.events[4].event.type, EventType::RightDown);
    EXPECT_EQ(script.events[5].event.type, EventType::RightUp);
    EXPECT_EQ(script.events[6].event.type, EventType::MiddleDown);
    EXPECT_TRUE(script.events[7].dropped);
    EXPECT_EQ(script.events[8].event.type, EventType::KeyDown);
    EXPECT_EQ(script.events[8].event.key, 65);
    EXPECT_EQ(script.events[8].frame, 30);
    EXPECT_EQ(script.events[9].event.type, EventType::Deactivate);
    EXPECT_EQ(script.events[10].event.type, EventType::Activate);
    EXPECT_EQ(script.events[11].event.type, EventType::Close);
}

TEST(InputScript, EmptyScriptIsFine) {
    InputScript script;
    std::string error;
    EXPECT_TRUE(parseInputScript("", script, error));
    EXPECT_TRUE(parseInputScript("# nothing\n\n", script, error));
    EXPECT_TRUE(script.events.empty());
}

TEST(InputScript, MalformedLinesNameTheLineAndTheFault) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"key 65", "line 1: frame number"},
        {"0 key 65", "line 1: frame number"},
        {"-3 key 65", "line 1: frame number"},
        {"1.5 key 65", "line 1: frame number"},
        {"# ok\n10", "line 2: an event is missing"},
        {"10 key", "line 1: key wants"},
        {"10 key A", "line 1: key wants"},
        {"10 key 0", "line 1: key wants"},
        {"10 key 256", "line 1: key wants"},
        {"10 move 5", "line 1: move wants"},
        {"10 move x 5", "line 1: move wants"},
        {"10 move nan 5", "line 1: move wants"},
        {"10 jump", "line 1: unknown event 'jump'"},
        {"10 left-down now", "line 1: unexpected 'now'"},
        {"10 key 65 66", "line 1: unexpected '66'"},
        {"1 close\n2 close\n\n4 clsoe", "line 4: unknown event 'clsoe'"},
    };
    for (const Case& c : cases) {
        InputScript script;
        std::string error;
        EXPECT_FALSE(parseInputScript(c.text, script, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " -> " << error;
        EXPECT_TRUE(script.events.empty());
    }
}

TEST(InputScript, MissingFileIsAnError) {
    InputScript script;
    std::string error;
    EXPECT_FALSE(loadInputScript("/nonexistent/script.txt", script, error));
    EXPECT_NE(error.find("/nonexistent/script.txt"), std::string::npos);
}

}  // namespace
}  // namespace tessaly::shell
