#include "test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempDir::TempDir() {
    char templ[] = "/tmp/brawnwick-test-XXXXXX";
    char* made = mkdtemp(templ);
    dir = made ? made : "/tmp";
}

TempDir::~TempDir() {
    std::error_code ec;
    if (dir != "/tmp") std::filesystem::remove_all(dir, ec);
}

ScopedChdir::ScopedChdir(const std::string& dir) {
    old = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
}

ScopedChdir::~ScopedChdir() {
    std::error_code ec;
    std::filesystem::current_path(old, ec);
}

void releaseAllKeys() {
    for (int i = 0; i < KEY_MAX; ++i) key[i] = 0;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}
