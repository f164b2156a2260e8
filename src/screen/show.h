#pragma once
// Presenting the back buffer: the F9 screenshot, the mouse pointer, then the display.
#include <allegro.h>

#include <string>

// Presents bmp, or global.buffer when bmp is null (then F9 saves a screenshot of it first).
void show(bool withMouse, BITMAP* bmp);
// Draws the mouse pointer onto global.buffer.
void drawMouse();
// The path the next screenshot goes to; moves global.screenshotCount on.
std::string takeScreenshotPath();
