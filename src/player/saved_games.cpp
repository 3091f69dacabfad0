#include "player/saved_games.h"

#include <algorithm>

#include "base/files.h"
#include "game/flow.h"
#include "game/play_screen.h"
#include "game/saved_game.h"

namespace tessaly::player {

bool safeFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) return false;
    }
    return true;
}

std::string savedGamePath(const PlayerData& d, int mode) {
    if (d.folder.empty() || d.count <= 0 || mode < 0 || mode >= kModeCount) return {};
    const ProfileRecord& p = d.profiles[size_t(std::clamp(d.settings.currentPlayer, 0, d.count - 1))];
    if (!safeFileName(p.name)) return {};
    return d.folder + "/" + p.name + "_" + std::to_string(mode) + ".sav";
}

bool saveRunningGame(PlayerData& d, const game::GameState& game, const SaveConditions& conditions) {
    ProfileRecord* p = currentProfile(d);
    if (!p || !conditions.gameScreenCurrent || conditions.levelCompleteShown || d.hiscorePending) return false;
    if (game.completeTimer != 0 || game.defeatTimer != 0 || game.movesMade <= 0) return false;
    const int mode = game::modeNumber(game.mode);
    const std::string path = savedGamePath(d, mode);
    if (path.empty() || !base::makeFolders(d.folder, 0700) || !game::saveGame(game, path)) return false;
    p->savedGame[mode] = 1;
    return true;
}

bool hasSavedGame(const PlayerData& d, int mode) {
    if (d.count <= 0 || mode < 0 || mode >= kModeCount) return false;
    return d.profiles[size_t(std::clamp(d.settings.currentPlayer, 0, d.count - 1))].savedGame[mode] != 0;
}

bool restoreSavedGame(PlayerData& d, game::PlayHost& host, int mode) {
    ProfileRecord* p = currentProfile(d);
    if (!p || mode < 0 || mode >= kModeCount) return false;
    if (!game::startPlay(host, game::Mode(mode), currentLevelNumber(*p, mode))) return false;
    const std::string path = savedGamePath(d, mode);
    return !path.empty() && game::loadGame(host.game(), path);
}

void abandonSavedGame(PlayerData& d, int mode) {
    if (ProfileRecord* p = currentProfile(d); p && mode >= 0 && mode < kModeCount) p->savedGame[mode] = 0;
}

}  // namespace tessaly::player
