#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempDir::TempDir() {
    char templ[] = "/tmp/brawnwick-test-XXXXXX";
    const char* made = mkdtemp(templ);
    dir = made ? made : "/tmp";
}

TempDir::~TempDir() {
    std::error_code ec;
    if (dir != "/tmp") std::filesystem::remove_all(dir, ec);
}

ScopedChdir::ScopedChdir(const std::string& dir) : old(std::filesystem::current_path()) { std::filesystem::current_path(dir); }

ScopedChdir::~ScopedChdir() {
    std::error_code ec;
    std::filesystem::current_path(old, ec);
}

std::string readFile(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
