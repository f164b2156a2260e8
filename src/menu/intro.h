#pragma once
// The studio intro as a timeline advanced tick by tick, and its frame.
#include <allegro.h>

#include <functional>
#include <string>

#include "platform/platform.h"

namespace menu {

extern const char* const STUDIO_CREDIT;   // "A Quenmoor game"
extern const char* const STUDIO_ADDRESS;  // the web address of the final picture

struct IntroState {
    double fullW = 0, fullH = 0;  // the logo's own size
    double logoW = 0, logoH = 0;  // its drawn size so far
    int countdown = 112;          // reaches -15 at the final picture
    int brightness = 0;           // of the web address
    std::string credit = "A";
    bool running = true;
    std::function<void(int volume)> stepSound;
};

struct IntroPictures {
    BITMAP* background = nullptr;
    BITMAP* logo = nullptr;
    BITMAP* emblem = nullptr;
};

IntroState makeIntro(int logoW, int logoH, std::function<void(int volume)> stepSound);

// One tick of the timeline, including the key that may end it.
void introTick(IntroState& s, const platform::Input& in);

void drawIntro(const IntroState& s, const IntroPictures& pictures, BITMAP* target, int screenW, int screenH);

// The intro datafile holds a background, a logo, the step sound and an emblem, in that order.
bool introDataUsable(const DATAFILE* data);

}  // namespace menu
