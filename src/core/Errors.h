#pragma once
// The fatal reporters: leave the graphics mode, show the numbered message, end with exit code 1.
#include <string>

namespace errors {
[[noreturn]] void timerError();
[[noreturn]] void keyboardError();
[[noreturn]] void soundDriverError();
[[noreturn]] void graphicModeError();
[[noreturn]] void createError();
[[noreturn]] void loadBitError(std::string path);
[[noreturn]] void datafileError(std::string path);
[[noreturn]] void sampleLoadError(std::string path);
void divBy0Error(std::string module);  // only warns
[[noreturn]] void mapLoadError(std::string map, std::string reason);
[[noreturn]] void mouseError();
[[noreturn]] void fatalError(std::string text);

// The message texts, kept apart so that tests can check them without ending the process.
std::string loadBitMessage(const std::string& path);
std::string datafileMessage(const std::string& path);
std::string sampleLoadMessage(const std::string& path);
std::string divBy0Message(const std::string& module);
std::string mapLoadMessage(const std::string& map, const std::string& reason);
}  // namespace errors
