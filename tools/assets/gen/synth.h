// The instruments and effects of the music: each instrument renders one note into a buffer of
// its own (the note and its release), which the sequencer lays into a looping track.
#pragma once
#include <cstdint>

#include "audio.h"

namespace gen {

enum class Instrument {
    pad,      // detuned saws, slow swell: sustained chords
    organ,    // drawbar sines with a slow vibrato
    choir,    // saws through vowel formants: "ah"
    strings,  // a bowed ensemble, bright and swelling
    bass,     // saw and sub with a closing filter
    pluck,    // a plucked string (harp, harpsichord)
    lead,     // a pulse with delayed vibrato
    bell,     // FM chime with a long ring
    stab,     // distorted power chord hit
    kick,
    snare,
    hat,
    openHat,
    tom,      // pitched by the note
    timpani,  // pitched by the note
    cymbal,
};

// One note: frequency in Hz, held for `seconds`, velocity 0..1. `seed` varies the noise.
Wave renderNote(Instrument in, float frequency, float seconds, float velocity, uint32_t seed);

// A plate-like reverb that runs over the input repeated `passes` times and returns the last
// pass, so that a looped piece's tail rings on into its own start.
Wave loopReverb(const Wave& send, int passes, float decay, float damping);

// A high-pass against DC and rumble, run the same way, keeping the loop seamless.
Wave loopHighPass(const Wave& in, int passes, float cutoff);

}  // namespace gen
