#include "shell/input_script.h"

#include <algorithm>
#include <cmath>

#include "base/files.h"
#include "base/parse_number.h"
#include "platform/letterbox.h"
#include "shell/frame_loop.h"

namespace tessaly::shell {

namespace {

// Splits on spaces and tabs.
void splitWords(std::string_view line, std::vector<std::string_view>& words) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
        words.push_back(line.substr(i, j - i));
        i = j;
    }
}

struct NamedEvent {
    const char* word;
    platform::EventType type;
};

constexpr NamedEvent kPlainEvents[] = {
    {"left-down", platform::EventType::LeftDown},
    {"left-up", platform::EventType::LeftUp},
    {"double-click", platform::EventType::LeftDoubleClick},
    {"right-down", platform::EventType::RightDown},
    {"right-up", platform::EventType::RightUp},
    {"middle-down", platform::EventType::MiddleDown},
    {"activate", platform::EventType::Activate},
    {"deactivate", platform::EventType::Deactivate},
    {"close", platform::EventType::Close},
};

}  // namespace

bool parseInputScript(std::string_view text, InputScript& out, std::string& error) {
    out = InputScript{};
    std::vector<std::string_view> words;
    int lineNumber = 0;
    size_t start = 0;
    auto fail = [&](const std::string& reason) {
        error = "line " + std::to_string(lineNumber) + ": " + reason;
        out = InputScript{};
        return false;
    };
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        splitWords(line, words);
        if (words.empty() || words[0][0] == '#') {
            if (end == text.size()) break;
            continue;
        }
        ScriptedEvent e;
        if (!base::parseNumber(words[0], e.frame) || e.frame < 1)
            return fail("frame number 1 or more expected, not '" + std::string(words[0]) + "'");
        if (words.size() < 2) return fail("an event is missing after the frame number");
        const std::string_view what = words[1];
        size_t expectedWords = 2;
        if (what == "key") {
            expectedWords = 3;
            if (words.size() < 3 || !base::parseNumber(words[2], e.event.key) || e.event.key < 1 ||
                e.event.key > 255)
                return fail("key wants a virtual-key number from 1 to 255");
            e.event.type = platform::EventType::KeyDown;
        } else if (what == "move") {
            expectedWords = 4;
            if (words.size() < 4 || !base::parseNumber(words[2], e.x) || !base::parseNumber(words[3], e.y) ||
                !std::isfinite(e.x) || !std::isfinite(e.y))
                return fail("move wants two numbers, x and y in screen units");
            e.event.type = platform::EventType::MouseMove;
            e.movesPointer = true;
        } else if (what == "middle-up") {
            // No screen has an operation for it; accepted so scripts can be
            // written as a player would press the button.
            e.dropped = true;
        } else {
            const auto* named = std::find_if(std::begin(kPlainEvents), std::end(kPlainEvents),
                                             [&](const NamedEvent& n) { return what == n.word; });
            if (named == std::end(kPlainEvents))
                return fail("unknown event '" + std::string(what) + "'");
            e.event.type = named->type;
        }
        if (words.size() > expectedWords)
            return fail("unexpected '" + std::string(words[expectedWords]) + "' after the event");
        out.events.push_back(e);
        if (end == text.size()) break;
    }
    std::stable_sort(out.events.begin(), out.events.end(),
                     [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
    return true;
}

bool loadInputScript(const std::string& path, InputScript& out, std::string& error) {
    // A script is a few hundred lines; anything this large is not one.
    constexpr size_t kMaxScriptBytes = size_t(16) << 20;
    base::FileBytes file;
    const base::FileStatus status = base::readWholeFile(path, kMaxScriptBytes, file);
    if (status != base::FileStatus::Ok) {
        error = "cannot read " + path + " (" + base::fileStatusText(status) + ")";
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(file.data.get()), file.size);
    if (!parseInputScript(text, out, error)) {
        error = path + ", " + error;
        return false;
    }
    return true;
}

void deliverScriptedInput(InputScript& script, int64_t frame) {
    while (script.next < script.events.size() && script.events[script.next].frame <= frame) {
        const ScriptedEvent& e = script.events[script.next++];
        if (e.dropped) continue;
        if (e.movesPointer)
            platform::setCursorPosition(e.x + platform::kLogicalWidth / 2.0f,
                                        platform::kLogicalHeight / 2.0f - e.y);
        dispatchEvent(e.event);
    }
}

}  // namespace tessaly::shell
