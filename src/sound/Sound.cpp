#include "sound/Sound.h"

#include "core/Errors.h"
#include "platform/platform.h"

namespace {
// Lower case only, and no dot needed: "wav" matches "crywav" but not "cry.WAV".
bool endsWith(const std::string& path, const char* ending) {
    std::string e(ending);
    return path.size() >= e.size() && path.compare(path.size() - e.size(), e.size(), e) == 0;
}
}  // namespace

Sound::Sound() = default;

Sound::Sound(std::string path) { load(path); }

Sound::~Sound() { destroy(); }

void Sound::load(std::string path) {
    destroy();
    if (endsWith(path, "wav")) {
        // load_sample would pick the reader by the extension after a dot; "crywav" has none.
        SAMPLE* loaded = load_wav(path.c_str());
        if (!loaded) errors::sampleLoadError(path);
        sample = loaded;
        kind = 1;
    } else if (endsWith(path, "mid") || endsWith(path, "midi")) {
        MIDI* loaded = load_midi(path.c_str());
        if (!loaded) errors::sampleLoadError(path);
        midi = loaded;
        kind = 2;
    } else {
        errors::sampleLoadError(path);
    }
}

void Sound::play(int loop, int volume, int pan, int frequency) {
    if (kind == 1 && sample)
        platform::playSample(sample, volume, pan, frequency, loop != 0);
    else if (kind == 2 && midi)
        play_midi(midi, loop);
}

void Sound::adjust(int loop, int volume, int pan, int frequency) {
    if (kind == 1 && sample)
        platform::adjustSample(sample, volume, pan, frequency, loop != 0);
    else if (kind == 2 && midi)
        set_volume(-1, volume);
}

void Sound::stop() {
    if (kind == 1 && sample)
        platform::stopSample(sample);
    else if (kind == 2)
        stop_midi();
}

void Sound::destroy() {
    if (sample) {
        destroy_sample(sample);
        sample = nullptr;
    }
    if (midi) {
        destroy_midi(midi);
        midi = nullptr;
    }
    kind = 0;
}

int Sound::isActive() { return kind; }
