#include "screen/show.h"

#include <climits>

#include "core/ElementaryFunctions.h"
#include "input/keyStates.h"
#include "platform/platform.h"
#include "settings/global.h"

std::string takeScreenshotPath() {
    int n = global.screenshotCount;
    if (n < 0) n = firstFreeScreenshot();
    // The count never overflows: once the last number is used it carries on at the first free one.
    global.screenshotCount = n == INT_MAX ? firstFreeScreenshot() : n + 1;
    return screenshotPath(n);
}

void drawMouse() { platform::backend().drawPointer(global.buffer); }

void show(bool withMouse, BITMAP* bmp) {
    if (!bmp) {
        bmp = global.buffer;
        // Taken before the pointer is drawn, so pictures never show it.
        if (keyStates[KEY_F9]) save_bitmap(takeScreenshotPath().c_str(), global.buffer, nullptr);
    }
    if (withMouse) drawMouse();
    platform::present(bmp);
}
