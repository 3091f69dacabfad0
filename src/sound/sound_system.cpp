// The sound system's logic; see sound_system.h.
//
// Sections: tunes | opening and closing | loading | requests and the frame
// update | music | volumes and output state
#include "sound/sound_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/copy_text.h"
#include "base/files.h"
#include "base/loading.h"
#include "base/lookups.h"
#include "platform/vorbis_decode.h"

namespace tessaly::sound {

namespace {

// A sound file or module larger than this is not read: the data set's
// largest file is a few hundred KB, and a stray huge file must not stall
// start-up or exhaust memory.
constexpr size_t kMaxFileBytes = size_t(64) << 20;

struct Tune {
    int tune;
    int32_t position;  // order position, row 0
};

// Four level tunes, level complete, defeat, and the mode screens.
constexpr std::array<Tune, 7> kTunes{{{0, 0}, {1, 11}, {2, 29}, {3, 47}, {4, 63}, {5, 65}, {6, 44}}};

bool hasOggExtension(const std::string& name) {
    if (name.size() < 4) return false;
    const char* ext = name.c_str() + name.size() - 4;
    return ext[0] == '.' && (ext[1] | 0x20) == 'o' && (ext[2] | 0x20) == 'g' && (ext[3] | 0x20) == 'g';
}

// Settings volumes (0..99) to the mixer's 0..100 scale, clamped.
int clampVolume(int volume) { return std::clamp(volume, 0, kMaxVolume); }

// Restarts the music at the requested position, full channel volume.
void startRequestedTune(SoundSystem& system) {
    system.mixer.musicChannelVolume = kMaxVolume;
    system.mixer.music.start(system.music.requestedPosition);
}

}  // namespace

// ---------------------------------------------------------------- tunes

int tunePosition(int tune) {
    for (const Tune& t : kTunes) {
        if (t.tune == tune) return t.position;
    }
    return 0;
}

// ---------------------------------------------------- opening and closing

bool openSound(SoundSystem& system, platform::AudioOutput& output) {
    if (!output.open(kOutputRateHz, &mixCallback, &system.mixer)) return false;
    system.output = &output;
    system.open = true;
    output.resume();
    system.requests.fill(SoundRequest{});
    system.ringPosition = 0;
    applyVolumes(system);
    return true;
}

void closeSound(SoundSystem& system) {
    if (system.output) {
        system.output->pause();
        system.output->close();
    }
    system.output = nullptr;
    system.open = false;
    system.mixer.music.unload();
    system.music.loaded = false;
}

// ------------------------------------------------------------ loading

bool addSound(SoundSystem& system, std::string_view name, const uint8_t* bytes, size_t size) {
    platform::Sample decoded;
    // Without an output nothing is decoded; the name is still known.
    if (system.open && system.soundCount < kMaxSounds) platform::decodeVorbis(bytes, size, decoded);
    return addSound(system, name, std::move(decoded));
}

bool addSound(SoundSystem& system, std::string_view name, platform::Sample&& sample) {
    if (system.soundCount >= kMaxSounds) return false;
    if (name.empty() || name.size() > size_t(kMaxSoundNameLength)) return false;

    uint32_t handle = 0;
    if (system.open && !sample.empty()) {
        // Only the table insert is guarded; decoding happened outside the lock.
        platform::AudioLock lock(system.output);
        handle = addSample(system.mixer, std::move(sample));
    }
    SoundEntry& entry = system.sounds[size_t(system.soundCount++)];
    entry = SoundEntry{};
    base::copyText(entry.name, name);
    entry.sample = handle;
    return true;
}

std::vector<DecodedSoundFile> decodeSoundFolder(const std::string& folder) {
    // Sorted by name (the seam sorts), so the table's order does not depend
    // on the file system.
    std::vector<std::string> names;
    base::listFolder(folder, names);
    std::vector<DecodedSoundFile> files;
    for (const std::string& name : names) {
        if (!hasOggExtension(name)) continue;
        if (files.size() >= size_t(kMaxSounds)) break;  // the rest are not loaded
        if (name.size() > size_t(kMaxSoundNameLength)) continue;
        DecodedSoundFile& decoded = files.emplace_back();
        decoded.name = name;
        base::FileBytes file;
        decoded.read = base::readWholeFile(folder + "/" + name, kMaxFileBytes, file) == base::FileStatus::Ok;
        if (!decoded.read) continue;
        decoded.size = int32_t(file.size);
        platform::decodeVorbis(file.data.get(), file.size, decoded.sample);
    }
    return files;
}

void addDecodedSounds(SoundSystem& system, std::vector<DecodedSoundFile>& files) {
    for (DecodedSoundFile& file : files) {
        if (system.soundCount >= kMaxSounds) break;
        addSound(system, file.name, system.open ? std::move(file.sample) : platform::Sample{});
        base::reportLoadProgress(file.size);
    }
}

void loadSoundFolder(SoundSystem& system, const std::string& folder) {
    std::vector<DecodedSoundFile> files = decodeSoundFolder(folder);
    addDecodedSounds(system, files);
}

bool loadMusic(SoundSystem& system, const uint8_t* bytes, size_t size) {
    platform::MusicModule module;
    if (!system.open || !module.load(bytes, size)) return false;
    module.setAmplify(kMusicAmplify);
    platform::AudioLock lock(system.output);
    system.mixer.music = std::move(module);
    system.music.loaded = true;
    return true;
}

void loadSounds(SoundSystem& system, const std::string& dataFolder) {
    std::vector<DecodedSoundFile> sounds = decodeSoundFolder(dataFolder + "/Sounds");
    loadSounds(system, dataFolder, sounds);
}

void loadSounds(SoundSystem& system, const std::string& dataFolder, std::vector<DecodedSoundFile>& sounds) {
    addDecodedSounds(system, sounds);

    base::FileBytes file;
    if (system.open && base::readWholeFile(dataFolder + "/music.mo3", kMaxFileBytes, file) == base::FileStatus::Ok)
        loadMusic(system, file.data.get(), file.size);
    base::reportLoadProgress(kMusicLoadReportBytes);
}

// ------------------------------------------- requests and the frame update

void requestSound(SoundSystem& system, std::string_view name, int rateHz) {
    bool known = false;
    for (int i = 0; i < system.soundCount; ++i) {
        SoundEntry& entry = system.sounds[size_t(i)];
        if (name != entry.name) continue;
        known = true;
        if (entry.repeatGuardMs > 0) continue;
        entry.repeatGuardMs = kRepeatGuardMs;
        SoundRequest& slot = system.requests[size_t(system.ringPosition)];
        // A waiting request overwritten never plays: lost. A playing one
        // plays on, untracked, as the ring's rule has it.
        if (slot.state == kRequestWaiting) ++system.requestUse.dropped;
        else if (slot.state == kRequestPlaying) ++system.requestUse.replaced;
        slot = SoundRequest{kRequestWaiting, 0, entry.sample, rateHz};
        system.ringPosition = (system.ringPosition + 1) % kRequestRingSize;
    }
    if (!known) base::noteLookupMiss(base::LookupKind::Sound, name);
}

void updateSound(SoundSystem& system, float dtMs) {
    for (int i = 0; i < system.soundCount; ++i) {
        SoundEntry& entry = system.sounds[size_t(i)];
        if (entry.repeatGuardMs > 0) entry.repeatGuardMs -= dtMs;
    }

    int live = 0;
    for (const SoundRequest& request : system.requests) live += request.state != kRequestFree;
    system.requestUse.noteLive(live);
    platform::AudioLock lock(system.open ? system.output : nullptr);
    for (SoundRequest& request : system.requests) {
        if (request.state == kRequestWaiting) {
            request.channel = system.open ? playSample(system.mixer, request.sample, request.rateHz) : 0;
            request.state = kRequestPlaying;
        } else if (request.state == kRequestPlaying) {
            request.state = channelActive(system.mixer, request.channel) ? kRequestPlaying : kRequestFree;
        }
    }

    if (system.music.fadeLeftMs > 0) {
        system.music.fadeLeftMs -= dtMs;
        if (system.music.fadeLeftMs <= 0) {
            startRequestedTune(system);
        } else {
            // Linear from 100 at 800 ms left to 0 at the end.
            system.mixer.musicChannelVolume = int(system.music.fadeLeftMs / (kTuneFadeMs / kMaxVolume));
        }
    }
}

// ------------------------------------------------------------- music

void requestTune(SoundSystem& system, int tune) {
    const int32_t position = tunePosition(tune);
    if (position == system.music.requestedPosition) return;
    system.music.requestedPosition = position;
    system.music.fadeLeftMs = kTuneFadeMs;
}

void switchTuneNow(SoundSystem& system, int tune) {
    if (tunePosition(tune) == system.music.requestedPosition) return;
    requestTune(system, tune);
    platform::AudioLock lock(system.open ? system.output : nullptr);
    startRequestedTune(system);
    system.music.fadeLeftMs = 0;
}

// ------------------------------------------------ volumes and output state

void stopAllSounds(SoundSystem& system) {
    platform::AudioLock lock(system.open ? system.output : nullptr);
    for (int i = 0; i < system.soundCount; ++i) stopSample(system.mixer, system.sounds[size_t(i)].sample);
}

void applyVolumes(SoundSystem& system) {
    platform::AudioLock lock(system.open ? system.output : nullptr);
    system.mixer.sampleVolume = clampVolume(system.sfxVolume);
    system.mixer.musicVolume = clampVolume(system.musicVolume);
}

void pauseAudio(SoundSystem& system) {
    if (system.open) system.output->pause();
}

void resumeAudio(SoundSystem& system) {
    if (system.open) system.output->resume();
}

}  // namespace tessaly::sound
