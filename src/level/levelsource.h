#pragma once
// The text form of a level, for level makers: compiled to the binary level file and written back.
//
//   texture gfx/walls/stone.bmp   ; texture index 0, 1, ... in order of appearance
//   sky 90 120 200                ; open-sky colour
//   start 2.5 3.5                 ; camera start
//   wall X 1                      ; grid character X: wall block with texture 1
//   floor . 5 6                   ; grid character .: free cell, floor texture 5, ceiling texture 6
//   floor , 5 sky                 ; free cell under open sky
//   map                           ; one line per row, row 0 first, all equally long
//   XXXXX
//   X.,.X
//   XXXXX
//   end
//   sprite 2.5 1.5 health 1 texture 0
#include <string>

#include "level/levelfile.h"

namespace levelsource {

// Compiles a source. On failure returns false with a reason that names the line ("line 7: ...").
bool compile(const std::string& text, levelfile::Level& level, std::string& error);

// Writes the source of a level; compiling it gives the same bytes again. Fails (with a reason) only
// for levels the text form cannot hold, such as a texture path with a line break in it.
bool decompile(const levelfile::Level& level, std::string& text, std::string& error);

}  // namespace levelsource
