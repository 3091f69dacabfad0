// The music module: one tracker module (any format libopenmpt reads, known
// by its content, whatever the file is called) that holds several tunes one
// after another in its order list. start() plays from an order position,
// row 0, and the module loops forever from there: each tune ends in a
// pattern jump back to its own start, so it never runs into the next one.
//
// Not thread-safe by itself: render() runs on the audio thread, so the
// owner holds the audio output's lock around every other call made while an
// output is pulling (see SoundSystem). libopenmpt's log is silenced.
#pragma once

#include <cstddef>
#include <cstdint>

struct openmpt_module;

namespace tessaly::platform {

// The amplification that leaves the module's own level unchanged; the game
// asks for 80, a little louder.
constexpr int kNeutralAmplify = 50;

class MusicModule final {
public:
    MusicModule() = default;
    ~MusicModule() { unload(); }
    MusicModule(const MusicModule&) = delete;
    MusicModule& operator=(const MusicModule&) = delete;
    MusicModule(MusicModule&& other) noexcept { *this = static_cast<MusicModule&&>(other); }
    MusicModule& operator=(MusicModule&& other) noexcept;

    // False (and nothing loaded) when the bytes are no module libopenmpt reads.
    bool load(const uint8_t* bytes, size_t size);
    void unload();
    bool loaded() const { return m_module != nullptr; }

    // Amplification 0..100: 50 plays the module at its own level, each step
    // above or below scales it in proportion (80 = 1.6 x). 0 is silence.
    void setAmplify(int amplify);

    // Plays from `order`, row 0, looping forever. An order outside the
    // module's order list starts at order 0.
    void start(int order);
    void stop() { m_playing = false; }
    bool playing() const { return m_playing; }

    // Renders `frames` stereo frames at `rateHz` into `out` (interleaved
    // floats). Writes silence when nothing plays.
    void render(float* out, int frames, int rateHz);

    int currentOrder() const;   // -1 when nothing is loaded
    int currentRow() const;
    int orderCount() const;

private:
    openmpt_module* m_module = nullptr;
    bool m_playing = false;
    bool m_muted = false;       // amplification 0
};

}  // namespace tessaly::platform
