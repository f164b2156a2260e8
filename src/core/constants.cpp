#include "core/constants.h"

#include <allegro.h>

#include <sstream>

std::atomic<int> timerCounter{0};

std::string buildVersionString(const char* compilerDate) {
    std::istringstream in(compilerDate ? compilerDate : "");
    std::string month, day, year;
    in >> month >> day >> year;
    return "Brawnwick 0.2 Alpha, built " + month + " " + day + " " + year;
}

const std::string VERSIONSTRING = buildVersionString(__DATE__);

void yieldUntilTick() {
    for (int i = 0; i < 16 && timerCounter.load() <= 0; ++i) rest(1);
}
