// The settings file: its 61 bytes, the defaults, and repairs of what only a damaged file holds.
#include "settings/global.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "core/ElementaryFunctions.h"

const char* const SETTINGS_FILE = "settings";

globals global;

namespace {
struct KeyField {
    int globals::*field;
    int fallback;
};

// In file order, with the default each one falls back to.
const KeyField KEY_FIELDS[12] = {
    {&globals::keyTurnLeft, KEY_LEFT},     {&globals::keyTurnRight, KEY_RIGHT},
    {&globals::keyForward, KEY_W},         {&globals::keyBackward, KEY_S},
    {&globals::keyUse, KEY_E},             {&globals::keyShoot, KEY_SPACE},
    {&globals::keyNextWeapon, KEY_UP},     {&globals::keyPrevWeapon, KEY_DOWN},
    {&globals::keyMission, KEY_TAB},       {&globals::keyMessages, KEY_M},
    {&globals::keyStrafeLeft, KEY_A},      {&globals::keyStrafeRight, KEY_D},
};

void putInt(unsigned char* p, int v) {
    unsigned u = static_cast<unsigned>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

// A field cut short by the end of the file keeps its old upper bytes.
int getInt(const unsigned char* p, size_t avail, int old) {
    unsigned u = static_cast<unsigned>(old);
    for (size_t i = 0; i < 4 && i < avail; ++i) {
        u &= ~(0xFFu << (8 * i));
        u |= static_cast<unsigned>(p[i]) << (8 * i);
    }
    return static_cast<int>(u);
}

bool validDepth(int d) { return d == 15 || d == 16 || d == 24 || d == 32; }

// On disk before it is renamed over the old file: otherwise a power cut can leave an empty file.
bool writeSynced(const std::string& path, const unsigned char* bytes, size_t size) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes, size) && fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

// The rename itself lives in the folder's entry, which needs its own sync.
void syncFolder(const char* folder) {
    int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}
}  // namespace

int defaultColorDepth() {
    int d = system_driver ? desktop_color_depth() : 0;
    return d == 0 ? 16 : d;
}

void globals::setDefaults(int desktopDepth) {
    screenMode = 1;
    vsync = true;
    for (const KeyField& k : KEY_FIELDS) this->*k.field = k.fallback;
    maxFrameSkip = 4;
    sfxVolume = 255;
    musicVolume = 175;
    colorDepth = desktopDepth;
    firstStart = true;
    screenshotCount = 0;
}

void globals::encode(unsigned char out[SETTINGS_SIZE]) const {
    out[0] = static_cast<unsigned char>(screenMode == 0 ? 2 : screenMode);
    out[1] = vsync ? 1 : 0;
    for (int i = 0; i < 12; ++i) putInt(out + 2 + 4 * i, this->*KEY_FIELDS[i].field);
    out[50] = static_cast<unsigned char>(maxFrameSkip);
    putInt(out + 51, colorDepth);
    out[55] = sfxVolume;
    out[56] = musicVolume;
    putInt(out + 57, screenshotCount);
}

void globals::decode(const unsigned char* bytes, size_t size, int desktopDepth) {
    auto avail = [&](size_t offset) { return size > offset ? size - offset : 0; };
    if (avail(0)) screenMode = static_cast<char>(bytes[0]);
    if (avail(1)) vsync = bytes[1] != 0;
    for (int i = 0; i < 12; ++i) {
        size_t off = 2 + 4 * i;
        if (avail(off)) this->*KEY_FIELDS[i].field = getInt(bytes + off, avail(off), this->*KEY_FIELDS[i].field);
    }
    if (avail(50)) maxFrameSkip = static_cast<signed char>(bytes[50]);
    if (avail(51)) colorDepth = getInt(bytes + 51, avail(51), colorDepth);
    if (avail(55)) sfxVolume = bytes[55];
    if (avail(56)) musicVolume = bytes[56];
    if (avail(57)) screenshotCount = getInt(bytes + 57, avail(57), screenshotCount);
    repair(desktopDepth);
}

void globals::repair(int desktopDepth) {
    if (screenMode != 1 && screenMode != 2) screenMode = 2;
    for (const KeyField& k : KEY_FIELDS) {
        int& code = this->*k.field;
        if (code < 0 || code >= KEY_MAX) code = k.fallback;
    }
    if (!validDepth(colorDepth)) colorDepth = validDepth(desktopDepth) ? desktopDepth : 16;
    // Starting again at 0 could overwrite the player's pictures.
    if (screenshotCount < 0) screenshotCount = firstFreeScreenshot();
}

bool globals::load() {
    std::ifstream in(SETTINGS_FILE, std::ios::binary);
    if (!in.is_open()) return false;
    unsigned char bytes[SETTINGS_SIZE];
    in.read(reinterpret_cast<char*>(bytes), SETTINGS_SIZE);
    // Fields a short file lacks keep their defaults rather than zero (a zero key would be no key).
    int depth = defaultColorDepth();
    bool first = firstStart;
    setDefaults(depth);
    firstStart = first;
    decode(bytes, static_cast<size_t>(in.gcount()), depth);
    return true;
}

void globals::save() {
    if (screenMode == 0) screenMode = 2;
    unsigned char bytes[SETTINGS_SIZE];
    encode(bytes);
    // Write beside the file and rename over it, so a crash or a full disk never leaves half a file.
    std::string tmp = std::string(SETTINGS_FILE) + ".tmp";
    if (writeSynced(tmp, bytes, SETTINGS_SIZE) && std::rename(tmp.c_str(), SETTINGS_FILE) == 0) {
        syncFolder(".");
        return;
    }
    std::remove(tmp.c_str());
    std::fprintf(stderr, "Brawnwick: could not write the settings file \"%s\"\n", SETTINGS_FILE);
}

void globals::create() {
    setDefaults(defaultColorDepth());
    save();
}

