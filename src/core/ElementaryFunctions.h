#pragma once
// Shared utilities: screen mode, bitmaps that must load, files, number text.
#include <allegro.h>

#include <string>

int setMode(char& mode);
int setMode(int& mode);
BITMAP* createBitmap(int width, int height);
BITMAP* createDatafileBitmap(DATAFILE* data, int index);
BITMAP* loadBitmap(std::string path);
bool fileExists(std::string path);
bool fileSelect(std::string title, std::string& path, std::string ext, int width, int height);
std::string i2str(int value, int minDigits);
std::string getSavegamePath(int slot);
std::string screenshotPath(int number);
// The lowest screenshot number whose file does not exist yet.
int firstFreeScreenshot();

// Writes every byte to the open file; false when any could not be written.
bool writeAll(int fd, const unsigned char* bytes, size_t size);

// Copies the bounded text into a fixed buffer, always terminated; returns the length copied.
size_t copyBounded(char* dest, size_t destSize, const std::string& src);
