#include "player/player_dump.h"

#include "base/state_dump.h"
#include "player/player_data.h"

namespace tessaly::player {

void dumpPlayerData(base::JsonWriter& json) {
    const PlayerData& d = g_playerData;
    json.field("folder", d.folder);
    const SettingsBlock& s = d.settings;
    json.beginObject("settings");
    json.field("musicVolume", s.musicVolume);
    json.field("effectsVolume", s.effectsVolume);
    json.field("displayWidth", s.displayWidth);
    json.field("displayHeight", s.displayHeight);
    json.field("displayValueA", s.displayValueA);
    json.field("displayValueB", s.displayValueB);
    json.field("reservedFlag", int(s.reservedFlag));
    json.field("customPointer", int(s.customPointer));
    json.field("currentPlayer", s.currentPlayer);
    json.field("playerCount", s.playerCount);
    json.field("fullscreen", s.fullscreen);
    json.field("ballSpeed", s.ballSpeed);
    json.endObject();
    json.field("playerCount", d.count);
    json.field("currentPlayer", d.count > 0 ? s.currentPlayer : -1);
    json.field("hiscorePending", d.hiscorePending);
    json.beginArray("players");
    for (int i = 0; i < d.count; ++i) {
        const ProfileRecord& p = d.profiles[size_t(i)];
        json.beginObject();
        json.field("name", p.name);
        json.field("mode", p.mode);
        auto perMode = [&](const char* key, auto value) {
            json.beginArray(key);
            for (int m = 0; m < kModeCount; ++m) json.value(int64_t(value(m)));
            json.endArray();
        };
        perMode("stage", [&](int m) { return p.stage[m]; });
        perMode("levelInStage", [&](int m) { return p.levelInStage[m]; });
        perMode("level", [&](int m) { return currentLevelNumber(p, m); });
        perMode("bestStage", [&](int m) { return p.bestStage[m]; });
        perMode("bestLevelInStage", [&](int m) { return p.bestLevelInStage[m]; });
        perMode("progress", [&](int m) { return progress(p, m); });
        perMode("score", [&](int m) { return p.score[m]; });
        perMode("lives", [&](int m) { return p.lives[m]; });
        perMode("showHelp", [&](int m) { return p.showHelp[m]; });
        perMode("savedGame", [&](int m) { return p.savedGame[m]; });
        json.beginArray("tipShown");
        for (const uint8_t f : p.tipShown) json.value(int64_t(f));
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

}  // namespace tessaly::player
