#include "core/Errors.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace errors {
namespace {
// Data may contain '%': it always goes through "%s", never as the format.
// Also on standard error: a terminal or a log keeps the reason after the box is closed.
void printMessage(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}
void boxMessage(const std::string& text) {
    if (system_driver && system_driver->id != SYSTEM_NONE) allegro_message("%s", text.c_str());
}
void showMessage(const std::string& text) {
    printMessage(text);
    boxMessage(text);
}

[[noreturn]] void fail(const std::string& text) {
    // The reason is written before the window is taken down, so a teardown that goes wrong cannot lose it.
    printMessage(text);
    if (system_driver) platform::setMode(GFX_TEXT, 0, 0);
    boxMessage(text);
    std::exit(1);  // a fatal error must never look like success
}
}  // namespace

std::string loadBitMessage(const std::string& path) {
    return "Error006: Loading bitmap \"" + path + "\" failed";
}
std::string datafileMessage(const std::string& path) {
    return "Error007: Loading datafile \"" + path + "\" failed";
}
std::string sampleLoadMessage(const std::string& path) {
    return "Error008: Loading sample \"" + path + "\" failed";
}
std::string divBy0Message(const std::string& module) {
    return "Error009: A division by 0 error was prevented in the following modul:\n\"" + module + "\"";
}
std::string mapLoadMessage(const std::string& map, const std::string& reason) {
    return "Error010: Could not load map \"" + map + "\" for the following reason:\n" + reason;
}

void timerError() { fail("Error001: Timer could not be initialised"); }
void keyboardError() { fail("Error002: No keyboarddriver found"); }
void soundDriverError() { fail("Error003: Sound driver could not be initialised"); }
void graphicModeError() { fail("Error004: Graphic mode couldn't be set"); }
void createError() { fail("Error005: Creating bitmap failed"); }
void loadBitError(std::string path) { fail(loadBitMessage(path)); }
void datafileError(std::string path) { fail(datafileMessage(path)); }
void sampleLoadError(std::string path) { fail(sampleLoadMessage(path)); }
void divBy0Error(std::string module) { showMessage(divBy0Message(module)); }
void mapLoadError(std::string map, std::string reason) { fail(mapLoadMessage(map, reason)); }
void mouseError() { fail("Error011: Failed to initialise mouse"); }
void fatalError(std::string text) { fail(text); }
}  // namespace errors
