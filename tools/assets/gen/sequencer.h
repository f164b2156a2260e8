// Turns note data into a looping piece. Scores are text, one token per note, in sixteenth-note
// steps:
//   "D4:4"        D in octave 4 for four steps; "Bb3", "F#5"; without ":N" the last length again
//   "D3+F3+A3:16" a chord
//   "-:8"         a rest
//   "D5:4!" / "D5:4?" accented / soft; "|" between bars is only for the reader
// Drum tracks take a grid instead, one character a step: 'x' hit, 'o' soft hit, '.' nothing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "audio.h"
#include "synth.h"

namespace gen {

struct Track {
    Instrument instrument;
    float level;   // dB against the other tracks, measured while the track sounds
    float reverb;  // share sent to the reverb
    std::string score;
    bool grid = false;  // a drum grid rather than notes
};

struct Piece {
    int bpm;   // 22050 * 60 / bpm samples a beat: pick tempos that divide evenly
    int bars;  // of four beats
    float reverbDecay;
    uint32_t seed;
    std::vector<Track> tracks;
};

// Renders the piece, mixed, loop-closed and peaking at `peak`. A score whose steps do not add
// up to the piece's length is a mistake in the note data: it throws std::runtime_error.
Wave renderPiece(const Piece& piece, float peak);

// Helpers for writing scores.
std::string repeat(const std::string& s, int times);
// One bar-long figure over a root: each interval (semitones above the root) for `steps` steps.
std::string figure(const std::string& root, const std::vector<int>& intervals, int steps);

}  // namespace gen
