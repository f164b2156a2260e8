#pragma once
// The one piece of music playing at a time, looped from its own file.
#include <string>

namespace music {

// Plays the piece at `path` over and over at `volume` (0 silent, 255 full). The piece already
// playing goes on undisturbed; any other is stopped first. A file that does not load ends the
// program with Error008, like every sound the game ships.
void play(const std::string& path, int volume);
// A new volume for the piece playing, heard at once.
void setVolume(int volume);
// Stops the piece and frees it.
void stop();
// The path of the piece playing; empty when none.
const std::string& playing();

}  // namespace music
