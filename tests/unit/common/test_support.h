#pragma once
#include <allegro.h>

#include <string>

// A fresh empty folder under /tmp, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
private:
    std::string dir;
};

// The working directory is dir for the object's lifetime.
struct ScopedChdir {
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();
    std::string old;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
