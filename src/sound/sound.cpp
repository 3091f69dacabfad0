// The game-facing sound functions on the process-wide g_sound; see sound.h
// and sound_system.h.
#include "sound/sound.h"

#include <thread>
#include <vector>

#include "base/state_dump.h"
#include "data/registry.h"
#include "sound/sound_system.h"

namespace tessaly::sound {

namespace {

// The sound files being decoded ahead, and the thread doing it.
// A run that ends before loading the sounds still waits for the thread.
struct SoundPreload {
    std::thread thread;
    std::vector<DecodedSoundFile> files;
    ~SoundPreload() {
        if (thread.joinable()) thread.join();
    }
};
SoundPreload g_soundPreload;

// What a test of a whole run wants to see of the sound: whether it is
// heard at all, what was loaded, and where the music is.
void dumpSound(base::JsonWriter& json) {
    int decoded = 0;
    for (int i = 0; i < g_sound.soundCount; ++i) decoded += g_sound.sounds[size_t(i)].sample != 0;
    json.field("open", g_sound.open);
    json.field("sounds", g_sound.soundCount);
    json.field("decodedSounds", decoded);
    json.field("musicLoaded", g_sound.music.loaded);
    json.field("requestedPosition", g_sound.music.requestedPosition);
    json.field("fadeLeftMs", g_sound.music.fadeLeftMs);
    int order = -1;
    bool playing = false;
    {
        platform::AudioLock lock(g_sound.open ? g_sound.output : nullptr);
        order = g_sound.mixer.music.currentOrder();
        playing = g_sound.mixer.music.playing();
    }
    json.field("musicOrder", order);
    json.field("musicPlaying", playing);
    json.field("sfxVolume", g_sound.sfxVolume);
    json.field("musicVolume", g_sound.musicVolume);
}

}  // namespace

bool initSound() {
    if (g_sound.open) return true;
    auto device = std::make_unique<platform::SdlAudioOutput>();
    if (!openSound(g_sound, *device)) return false;
    g_sound.ownedOutput = std::move(device);
    return true;
}

void startDecodingSounds() {
    if (g_soundPreload.thread.joinable()) return;
    g_soundPreload.thread = std::thread([folder = data::g_registry.dataFolder + "/Sounds"] {
        g_soundPreload.files = decodeSoundFolder(folder);
    });
}

void loadSounds() {
    if (g_soundPreload.thread.joinable()) {
        g_soundPreload.thread.join();
        loadSounds(g_sound, data::g_registry.dataFolder, g_soundPreload.files);
        g_soundPreload.files.clear();
    } else {
        loadSounds(g_sound, data::g_registry.dataFolder);
    }
    base::g_stateDump.add("sound", &dumpSound);
}

void playSound(std::string_view name) { requestSound(g_sound, name, kNormalRateHz); }

void playSoundAtRate(std::string_view name, int rateHz) { requestSound(g_sound, name, rateHz); }

void stopAllSounds() { stopAllSounds(g_sound); }

void requestTune(int tune) { requestTune(g_sound, tune); }

void switchTuneNow(int tune) { switchTuneNow(g_sound, tune); }

void updateSound(float dtMs) { updateSound(g_sound, dtMs); }

void applyVolumes() { applyVolumes(g_sound); }

void setVolumes(int effects, int music) {
    g_sound.sfxVolume = effects;
    g_sound.musicVolume = music;
    applyVolumes(g_sound);
}

void pauseAudio() { pauseAudio(g_sound); }

void resumeAudio() { resumeAudio(g_sound); }

void shutdownSound() {
    closeSound(g_sound);
    g_sound.ownedOutput.reset();
}

}  // namespace tessaly::sound
