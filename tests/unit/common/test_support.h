#pragma once
// Helpers shared by the unit tests.
#include <allegro.h>

#include <string>

// A fresh empty folder under /tmp, removed when the object goes; chdir-safe helpers below.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }

private:
    std::string dir;
};

// Runs the body with the working directory set to dir, restoring it afterwards.
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();

private:
    std::string old;
};

// Releases every key in the library's key array.
void releaseAllKeys();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
