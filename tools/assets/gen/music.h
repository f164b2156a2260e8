// The game's music, composed here as note data and played by the instruments of synth.h.
// Every piece loops: its length is a whole number of bars and its last sample flows into its
// first (notes, reverb and filters that run past the end ring on into the start).
#pragma once
#include "audio.h"

namespace gen {

// "The Keep at Night": D minor, 84 beats a minute, 16 bars. Intro and menus.
Wave menuMusic();

// "Iron Halls": E minor, 126 beats a minute, 24 bars, driving. Levels 1, 3, 5, ...
Wave levelMusicA();

// "Crypt March": A harmonic minor, 105 beats a minute, 20 bars, tribal drums and choir.
// Levels 2, 4, 6, ...
Wave levelMusicB();

}  // namespace gen
