#include "core/constants.h"

#include <allegro.h>

#include <sstream>

std::string buildVersionString(const char* compilerDate) {
    std::istringstream in(compilerDate ? compilerDate : "");
    std::string month, day, year;
    in >> month >> day >> year;
    return "Brawnwick 0.2 Alpha, built " + month + " " + day + " " + year;
}

const std::string VERSIONSTRING = buildVersionString(__DATE__);
