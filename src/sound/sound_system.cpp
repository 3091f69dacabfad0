// The sound system's logic; see sound_system.h.
//
// Sections: tunes | opening and closing | loading | requests and the frame
// update | music | volumes and output state
#include "sound/sound_system.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "data/lookups.h"
#include "shell/loading.h"
#include "sound/vorbis_decode.h"

namespace tessaly::sound {

namespace {

// A sound file or module larger than this is not read: the data set's
// largest file is a few hundred KB, and a stray huge file must not stall
// start-up or exhaust memory.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

struct Tune {
    int tune;
    int32_t position;  // order position, row 0
};

// Four level tunes, level complete, defeat, and the mode screens.
constexpr std::array<Tune, 7> kTunes{{{0, 0}, {1, 11}, {2, 29}, {3, 47}, {4, 63}, {5, 65}, {6, 44}}};

bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.resize(size_t(size));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    return bool(in) || in.gcount() == std::streamsize(size);
}

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
    Sample decoded;
    // Without an output nothing is decoded; the name is still known.
    if (system.open && system.soundCount < kMaxSounds) decodeVorbis(bytes, size, decoded);
    return addSound(system, name, std::move(decoded));
}

bool addSound(SoundSystem& system, std::string_view name, Sample&& sample) {
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
    std::memcpy(entry.name, name.data(), name.size());
    entry.sample = handle;
    return true;
}

void loadSoundFolder(SoundSystem& system, const std::string& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        if (hasOggExtension(it->path().filename().string())) files.push_back(it->path());
    }
    // Sorted by name, so the table's order does not depend on the file system.
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });

    std::vector<uint8_t> bytes;
    for (const auto& path : files) {
        if (system.soundCount >= kMaxSounds) break;  // the rest are not loaded
        const std::string name = path.filename().string();
        if (name.size() > size_t(kMaxSoundNameLength)) continue;
        std::error_code sizeError;
        const std::uintmax_t fileSize = std::filesystem::file_size(path, sizeError);
        if (system.open && readWholeFile(path, bytes)) {
            addSound(system, name, bytes.data(), bytes.size());
        } else {
            addSound(system, name, nullptr, 0);
        }
        shell::reportLoadProgress(sizeError ? 0 : int32_t(std::min<std::uintmax_t>(fileSize, INT32_MAX)));
    }
}

bool loadMusic(SoundSystem& system, const uint8_t* bytes, size_t size) {
    MusicModule module;
    if (!system.open || !module.load(bytes, size)) return false;
    module.setAmplify(kMusicAmplify);
    platform::AudioLock lock(system.output);
    system.mixer.music = std::move(module);
    system.music.loaded = true;
    return true;
}

void loadSounds(SoundSystem& system, const std::string& dataFolder) {
    const std::filesystem::path root(dataFolder);
    loadSoundFolder(system, (root / "Sounds").string());

    std::vector<uint8_t> bytes;
    if (system.open && readWholeFile(root / "music.mo3", bytes)) loadMusic(system, bytes.data(), bytes.size());
    shell::reportLoadProgress(kMusicLoadReportBytes);
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
        system.requests[size_t(system.ringPosition)] = SoundRequest{kRequestWaiting, 0, entry.sample, rateHz};
        system.ringPosition = (system.ringPosition + 1) % kRequestRingSize;
    }
    if (!known) data::noteLookupMiss(data::LookupKind::Sound, name);
}

void updateSound(SoundSystem& system, float dtMs) {
    for (int i = 0; i < system.soundCount; ++i) {
        SoundEntry& entry = system.sounds[size_t(i)];
        if (entry.repeatGuardMs > 0) entry.repeatGuardMs -= dtMs;
    }

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
