#pragma once
// Program-wide constants.
#include <string>

const int TIMER_FPS = 32;
const double PI = 3.141592653589793;
const char DELIMITER = 13;  // ends every texture path in a level file
const char MAJOR_VERSION = 0;
const char MINOR_VERSION = 2;
const char VERSION_LETTER = 'A';

// "Brawnwick 0.2 Alpha, built <Mon> <day> <year>"
extern const std::string VERSIONSTRING;

// Builds the version text from a compiler date such as "Dec  6 2026" (single blanks).
std::string buildVersionString(const char* compilerDate);
