// Sound effects and music, as the game asks for them: play a sound by file
// name (optionally at another playback rate), change the music tune with a
// fade, and once per frame start what was requested. Requests never block:
// they fill a slot of a ring that updateSound() starts.
//
// This is the game-facing surface; the mixer, the sample table, the request
// ring and the music module live behind it (see the other headers of this
// folder). Without an audio device everything here still works and stays
// silent.
#pragma once

#include <string_view>

namespace tessaly::sound {

// Opens the audio device. False when there is none: the game runs silent.
bool initSound();
// Starts reading and decoding "Sounds/*.ogg" on a thread of its own, so
// that it runs beside the rest of start-up's loading.
void startDecodingSounds();
// Loads every "Sounds/*.ogg" (sorted by name; those decoded ahead are taken
// once the decoding thread is done) and the music module.
void loadSounds();
void playSound(std::string_view name);                  // at 44100 Hz
void playSoundAtRate(std::string_view name, int rateHz);
void stopAllSounds();
void requestTune(int tune);    // change the music with an 800 ms fade
void switchTuneNow(int tune);  // change it at once
void updateSound(float dtMs);  // once per drawn frame
void applyVolumes();           // after the settings' volumes change
// The settings' volumes (0..99), applied at once.
void setVolumes(int effects, int music);
void pauseAudio();
void resumeAudio();
void shutdownSound();

}  // namespace tessaly::sound
