#include "core/ElementaryFunctions.h"

#include <climits>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Errors.h"
#include "core/picture.h"
#include "platform/platform.h"

namespace {
template <typename T>
int setModeImpl(T& mode) {
    if (platform::setMode(mode, 800, 600) == 0) return 0;
    mode = static_cast<T>(mode ^ 3);
    if (platform::setMode(mode, 800, 600) == 0) return 0;
    errors::graphicModeError();
}
}  // namespace

int setMode(char& mode) { return setModeImpl(mode); }
int setMode(int& mode) { return setModeImpl(mode); }

BITMAP* createBitmap(int width, int height) {
    BITMAP* bmp = create_bitmap(width, height);
    if (!bmp) errors::createError();
    return bmp;
}

BITMAP* createDatafileBitmap(DATAFILE* data, int index) {
    BITMAP* src = static_cast<BITMAP*>(data[index].dat);
    BITMAP* copy = createBitmap(src->w, src->h);
    blit(src, copy, 0, 0, 0, 0, src->w, src->h);
    return copy;
}

BITMAP* loadBitmap(std::string path) {
    BITMAP* bmp = readPicture(path);
    if (!bmp) errors::loadBitError(path);
    return bmp;
}

bool fileExists(std::string path) {
    if (path.empty()) return false;
    // A folder opens for reading too, but no byte of a file can be read from it.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool readable = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    close(fd);
    return readable;
}

bool writeAll(int fd, const unsigned char* bytes, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

size_t copyBounded(char* dest, size_t destSize, const std::string& src) {
    if (destSize == 0) return 0;
    size_t n = std::min(src.size(), destSize - 1);
    std::memcpy(dest, src.data(), n);
    dest[n] = '\0';
    return n;
}

bool fileSelect(std::string title, std::string& path, std::string ext, int width, int height) {
    char buffer[1024];
    copyBounded(buffer, sizeof buffer, path);
    if (!file_select_ex(title.c_str(), buffer, ext.c_str(), sizeof buffer, width, height)) return false;
    path = buffer;
    return true;
}

std::string i2str(int value, int minDigits) {
    std::string digits = std::to_string(value);
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.erase(0, 1);
    int width = minDigits - (negative ? 1 : 0);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return (negative ? "-" : "") + digits;
}

std::string getSavegamePath(int slot) { return "save/slot" + i2str(slot, 0) + ".sav"; }

std::string screenshotPath(int number) { return "screenshots/screenshot" + i2str(number, 5) + ".bmp"; }

int firstFreeScreenshot() {
    int n = 0;
    while (n < INT_MAX && fileExists(screenshotPath(n))) ++n;
    return n;
}

