#pragma once
// One piece of audio, a sample or a MIDI piece chosen by the file name's ending, owned outright.
#include <allegro.h>

#include <string>

class Sound {
public:
    int kind = 0;  // 0 empty, 1 sample, 2 MIDI piece
    SAMPLE* sample = nullptr;
    MIDI* midi = nullptr;

    Sound();
    explicit Sound(std::string path);
    ~Sound();
    // A copy would free the same data twice.
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Frees what is held, then loads: "...wav" as a sample, "...mid" or "...midi" as MIDI.
    // Anything else, or a file that does not load, is fatal (Error008).
    void load(std::string path);
    void play(int loop, int volume, int pan, int frequency);
    // A sample already playing takes the new values at once; a MIDI piece has no volume of its
    // own, so the volume goes to the library's MIDI output.
    void adjust(int loop, int volume, int pan, int frequency);
    void stop();
    void destroy();
    int isActive();
};
