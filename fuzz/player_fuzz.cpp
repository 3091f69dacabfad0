// Player files: settings, profiles, records, hiscores, mode3 and surrecs,
// and the reference tables the default records are made from. The first
// byte chooses the file; with its bit 3 set the rest is cut or padded to
// the size the loader takes, so the decoders behind the size checks are
// reached. The file is written to a scratch player folder and the whole
// loading path runs over it. Settings and profile images are also checked
// to come back unchanged through a second encode and decode.
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/files.h"
#include "data/registry.h"
#include "fuzz_support.h"
#include "player/player_data.h"
#include "player/settings.h"

using namespace tessaly;

namespace {

struct FileKind {
    const char* name;
    size_t size;
};
constexpr FileKind kFiles[] = {
    {"settings.dat", player::kSettingsBytes}, {"profiles.dat", player::kProfileBytes * 3},
    {"records.dat", player::kRecordsBytes},   {"hiscore.dat", player::kHiscoreBytes},
    {"mode3.dat", player::kMode3Bytes},       {"surrecs.dat", player::kSurrecsBytes},
};

std::string scratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    data::g_registry.dataFolder = pattern + "/no-data";
    return pattern;
}

void checkRoundTrip(const uint8_t* data, size_t size) {
    uint8_t profile[player::kProfileBytes] = {};
    std::memcpy(profile, data, std::min(size, sizeof profile));
    player::ProfileRecord p1, p2;
    player::decodeProfile(profile, p1);
    uint8_t once[player::kProfileBytes], twice[player::kProfileBytes];
    player::encodeProfile(p1, once);
    player::decodeProfile(once, p2);
    player::encodeProfile(p2, twice);
    if (std::memcmp(once, twice, sizeof once) != 0) __builtin_trap();

    uint8_t settings[player::kSettingsBytes] = {};
    std::memcpy(settings, data, std::min(size, sizeof settings));
    player::SettingsBlock s1, s2;
    player::decodeSettings(settings, sizeof settings, s1);
    uint8_t sOnce[player::kSettingsBytes], sTwice[player::kSettingsBytes];
    player::encodeSettings(s1, sOnce);
    player::decodeSettings(sOnce, sizeof sOnce, s2);
    player::encodeSettings(s2, sTwice);
    if (std::memcmp(sOnce, sTwice, sizeof sOnce) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = scratchFolder();
    fuzz::Input in(data, size);
    const uint8_t choice = in.byte();
    checkRoundTrip(in.data(), in.size());

    std::vector<uint8_t> bytes(in.data(), in.data() + in.size());
    auto d = std::make_unique<player::PlayerData>();
    d->folder = folder;
    const int kind = choice % 7;
    if (kind == 6) {
        // A reference table of default records, read through the registry.
        static const char* kTables[3] = {"hi_expert.txt", "hi_normal.txt", "hi_zen.txt"};
        bytes.push_back(0);
        data::g_registry.add(kTables[(choice >> 4) % 3], int32_t(bytes.size() - 1), bytes.data(), false);
    } else {
        if (choice & 8) bytes.resize(kFiles[kind].size);
        base::writeFileAtomic(folder + "/" + kFiles[kind].name, bytes.data(), bytes.size());
    }
    player::readSettings(*d);
    player::loadPlayerFiles(*d);
    if (player::ProfileRecord* p = player::currentProfile(*d))
        for (int mode = 0; mode < player::kModeCount; ++mode) {
            (void)player::progress(*p, mode);
            (void)player::currentLevelNumber(*p, mode);
        }
    data::g_registry.clear();
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove(entry.path(), ignored);
    return 0;
}
