// The game-facing sound functions on the process-wide g_sound; see sound.h
// and sound_system.h.
#include "sound/sound.h"

#include "data/registry.h"
#include "sound/sound_system.h"

namespace tessaly::sound {

bool initSound() {
    if (g_sound.open) return true;
    auto device = std::make_unique<platform::SdlAudioOutput>();
    if (!openSound(g_sound, *device)) return false;
    g_sound.ownedOutput = std::move(device);
    return true;
}

void loadSounds() { loadSounds(g_sound, data::g_registry.dataFolder); }

void playSound(std::string_view name) { requestSound(g_sound, name, kNormalRateHz); }

void playSoundAtRate(std::string_view name, int rateHz) { requestSound(g_sound, name, rateHz); }

void stopAllSounds() { stopAllSounds(g_sound); }

void requestTune(int tune) { requestTune(g_sound, tune); }

void switchTuneNow(int tune) { switchTuneNow(g_sound, tune); }

void updateSound(float dtMs) { updateSound(g_sound, dtMs); }

void applyVolumes() { applyVolumes(g_sound); }

void pauseAudio() { pauseAudio(g_sound); }

void resumeAudio() { resumeAudio(g_sound); }

void shutdownSound() {
    closeSound(g_sound);
    g_sound.ownedOutput.reset();
}

}  // namespace tessaly::sound
