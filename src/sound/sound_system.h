// The sound system's record and the logic behind sound.h: the table of
// loaded sounds with their repeat guards, the ring of play requests that the
// per-frame update starts, the music's requested tune and fade, the global
// volumes, and the mixer with its audio output.
//
// Every function works on a SoundSystem so tests can run their own; sound.h
// forwards to the process-wide g_sound. All calls come from the main thread;
// those that touch the mixer take the output's lock.
//
// Tables: kMaxSounds loaded sounds (more files are not loaded);
// kRequestRingSize request slots (a new request overwrites the slot at the
// ring position whatever it holds; an overwritten channel plays on
// untracked).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/pool_use.h"
#include "platform/audio_device.h"
#include "sound/mixer.h"

namespace tessaly::sound {

constexpr int kMaxSounds = kMaxSamples;      // every file in "Sounds" gets a sample
constexpr int kMaxSoundNameLength = 31;      // file name with ".ogg"; longer names are skipped
constexpr int kRequestRingSize = 256;        // far more than one frame ever asks for
constexpr float kRepeatGuardMs = 5.0f;       // one sound starts at most once per 5 ms
constexpr float kTuneFadeMs = 800.0f;        // a tune change fades out over this
constexpr int32_t kMusicLoadReportBytes = 1104189;  // the music's share of the loading bar
constexpr int kMusicAmplify = 80;            // a little above the module's own level
constexpr int kDefaultVolume = 50;           // both volumes until the settings are read
constexpr int kMaxSettingVolume = 99;        // the settings' volumes run 0..99

struct SoundEntry {
    uint32_t sample = 0;                     // mixer handle; 0 when it did not decode
    char name[kMaxSoundNameLength + 1] = {}; // file name including ".ogg"
    float repeatGuardMs = 0;                 // > 0: further requests are dropped, ms
};

enum RequestState : int32_t { kRequestWaiting = -1, kRequestFree = 0, kRequestPlaying = 1 };

struct SoundRequest {
    int32_t state = kRequestFree;
    uint32_t channel = 0;   // mixer channel while playing
    uint32_t sample = 0;    // mixer sample handle
    int32_t rateHz = 0;     // playback rate, Hz
};

struct MusicState {
    bool loaded = false;
    int32_t requestedPosition = -1;  // order position of the requested tune; -1 = none yet
    float fadeLeftMs = 0;            // > 0 while the old tune fades out, ms
};

struct SoundSystem {
    bool open = false;                       // an output was opened; false = silent
    platform::AudioOutput* output = nullptr; // the one pulling from the mixer
    std::array<SoundEntry, kMaxSounds> sounds;
    int soundCount = 0;
    std::array<SoundRequest, kRequestRingSize> requests;
    int ringPosition = 0;                    // next slot to fill, 0..255
    base::PoolUse requestUse;                // waiting requests overwritten count as dropped
    MusicState music;
    // Set from the settings (0..99) before applyVolumes.
    int sfxVolume = kDefaultVolume;
    int musicVolume = kDefaultVolume;
    Mixer mixer;
    // The device opened by initSound, if any. Declared last so that it closes
    // (and its thread stops reading the mixer) before the mixer goes.
    std::unique_ptr<platform::AudioOutput> ownedOutput;
};

inline SoundSystem g_sound;

// The order position a tune starts at; unknown tunes start at 0.
int tunePosition(int tune);

// Starts `output` pulling from the system's mixer, resets the request ring
// and applies the volumes. False (and the system stays silent) when the
// output does not open.
bool openSound(SoundSystem& system, platform::AudioOutput& output);
void closeSound(SoundSystem& system);

// Decodes one sound file and adds it to the table under `name`. Returns
// false when the table is full or the name too long (nothing is added); a
// file that does not decode is added without a sample, so requests for it
// start nothing.
bool addSound(SoundSystem& system, std::string_view name, const uint8_t* bytes, size_t size);
// The same for a sound already decoded (or made in code); an empty sample
// gives an entry that plays nothing.
bool addSound(SoundSystem& system, std::string_view name, platform::Sample&& sample);
// One sound file read and decoded ahead of being added.
struct DecodedSoundFile {
    std::string name;
    bool read = false;         // the file could be read
    int32_t size = 0;          // its size, for the loading progress
    platform::Sample sample;   // empty when it did not decode
};
// Reads and decodes every "*.ogg" of `folder` that the table can take,
// sorted by name. Touches no shared state, so it may run on a thread of its
// own while the rest of the data loads.
std::vector<DecodedSoundFile> decodeSoundFolder(const std::string& folder);
// Adds decoded files in their order, each reported to the loading progress
// by its size; the samples are moved out.
void addDecodedSounds(SoundSystem& system, std::vector<DecodedSoundFile>& files);
// Both at once.
void loadSoundFolder(SoundSystem& system, const std::string& folder);
// Loads the music module from bytes; false when it is not a module.
bool loadMusic(SoundSystem& system, const uint8_t* bytes, size_t size);
// "Sounds/*.ogg" and "music.mo3" below `dataFolder`.
void loadSounds(SoundSystem& system, const std::string& dataFolder);
// The same with the sound files already decoded.
void loadSounds(SoundSystem& system, const std::string& dataFolder, std::vector<DecodedSoundFile>& sounds);

void requestSound(SoundSystem& system, std::string_view name, int rateHz);
void updateSound(SoundSystem& system, float dtMs);
void requestTune(SoundSystem& system, int tune);
void switchTuneNow(SoundSystem& system, int tune);
void stopAllSounds(SoundSystem& system);
void applyVolumes(SoundSystem& system);
void pauseAudio(SoundSystem& system);
void resumeAudio(SoundSystem& system);

}  // namespace tessaly::sound
