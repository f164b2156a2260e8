// Sound synthesis: noise, oscillators, one-pole filters and envelopes, written as
// 16-bit mono WAV files.
#pragma once
#include <string>
#include <vector>

namespace gen {

using Wave = std::vector<float>;

// Every sound and piece of music is 16-bit mono at this rate.
constexpr int SAMPLE_RATE = 22050;

bool writeWav(const Wave& w, const std::string& path);

// The loudness of a short sound: RMS over its 10 ms windows within 20 dB of the loudest, in dB
// of full scale.
float loudnessDb(const Wave& w);

// A heavy boot on stone: a falling low thump with a gritty scuff.
Wave stepSound();

// Hunter: a sharp crack with a short chamber thump and a little room.
Wave hunterShot();

// Impact Cannon: a deep distorted boom with a rumbling tail.
Wave cannonShot();

// Buzzsaw: a launch click and a spinning metal whirr that rises and fades.
Wave buzzsawShot();

}  // namespace gen
