#pragma once
// The game resolution from "resolution.txt" and switching the display to it.
#include <string>

const int DEFAULT_GAME_WIDTH = 800;
const int DEFAULT_GAME_HEIGHT = 600;
const int MIN_GAME_WIDTH = 320;
const int MIN_GAME_HEIGHT = 200;
const int MAX_GAME_WIDTH = 7680;
const int MAX_GAME_HEIGHT = 4320;

struct Resolution {
    int width = DEFAULT_GAME_WIDTH;
    int height = DEFAULT_GAME_HEIGHT;
};

// Two decimal integers, width then height; anything else or out of bounds gives 800x600.
Resolution parseResolution(const std::string& text);
Resolution readResolution(const std::string& path);

// Tries the game resolution in the given driver, then 800x600, then 800x600 in the other
// window mode; returns the driver that worked, or 0 when none did. setGfx follows
// set_gfx_mode: 0 on success.
int enterMode(int driver, Resolution res, int (*setGfx)(int card, int w, int h));
int setGfxMode(int card, int w, int h);
