#include "menu/stdMenu.h"

#include "core/ElementaryFunctions.h"
#include "input/keyStates.h"
#include "menu/menues.h"
#include "screen/driver.h"
#include "settings/global.h"

namespace menu {

StdMenuState openStdMenu(int start, bool restartNotice, int n, bool* enabled, int margin, int buttonW,
                         int buttonH, int screenW, int screenH) {
    StdMenuState m;
    m.n = n;
    m.enabled = enabled;
    m.screenW = screenW;
    m.screenH = screenH;
    m.buttonW = buttonW;
    m.buttonH = buttonH;

    bool any = false;
    for (int i = 0; i < n; ++i) {
        if (restartNotice) enabled[i] = false;
        any = any || enabled[i];
    }
    if (!any) enabled[n - 1] = true;

    // Callers hand back an earlier result, but a start past the last enabled entry must not run
    // off the end: the search then goes on from the top.
    int sel = start < 0 || start >= n ? 0 : start;
    for (int tries = 0; tries < n && !enabled[sel]; ++tries) sel = (sel + 1) % n;
    m.selection = sel;

    int step = (screenH - 2 * margin) / n;
    m.left = (screenW - buttonW) >> 1;
    m.top.resize(n);
    for (int i = 0; i < n; ++i) m.top[i] = margin + (step >> 1) + i * step - (buttonH >> 1);

    keyStates[KEY_UP];
    keyStates[KEY_DOWN];
    return m;
}

namespace {
bool pointerInside(const StdMenuState& m, int i, const platform::Input& in) {
    int y = in.mouseY, x = in.mouseX;
    return m.top[i] < y && y < m.top[i] + m.buttonH && ((m.screenW - m.buttonW) >> 1) < x &&
           x < ((m.screenW + m.buttonW) >> 1);
}

// Moves one entry in the direction and on past disabled ones; at least one entry is enabled.
void move(StdMenuState& m, int direction) {
    int sel = m.selection;
    for (int tries = 0; tries < m.n; ++tries) {
        sel = (sel + direction + m.n) % m.n;
        if (m.enabled[sel]) break;
    }
    m.selection = sel;
}
}  // namespace

void stdMenuStep(StdMenuState& m, const platform::Input& in) {
    for (int i = 0; i < m.n; ++i) {
        if (m.enabled[i] && i != m.selection && pointerInside(m, i, in)) {
            m.selection = i;
            break;
        }
    }
    if (keyStates[KEY_UP] || keyStates[global.keyForward]) move(m, -1);
    if (keyStates[KEY_DOWN] || keyStates[global.keyBackward]) move(m, +1);
    if (keyStates[KEY_ENTER] || keyStates[global.keyUse] || in.click) m.confirmed = true;
}

void drawStdMenu(const StdMenuState& m, const StdMenuLook& look, BITMAP* target) {
    BITMAP* bg = look.background;
    blit(bg, target, 0, 0, 0, 0, bg->w, bg->h);
    int th = text_height(look.font);
    for (int i = 0; i < m.n; ++i) {
        bool selected = i == m.selection;
        BITMAP* image = selected ? look.selectedImage : look.otherImage;
        masked_blit(image, target, 0, 0, m.left, m.top[i], image->w, image->h);
        int color = selected ? look.selectedColor : m.enabled[i] ? look.enabledColor : look.disabledColor;
        textout_centre_ex(target, look.font, look.labels[i].c_str(), m.screenW >> 1,
                          m.top[i] + ((m.buttonH - th) >> 1), color, -1);
    }
    if (look.restartNotice) {
        // Placed by the labels' height, though written in the menu font.
        int H = m.screenH;
        int red = makecol(255, 0, 0);
        textout_centre_ex(target, global.menuFont, "You changed sensitive options,", m.screenW >> 1, H - 2 * th - 10,
                          red, -1);
        textout_centre_ex(target, global.menuFont, "please restart the game.", m.screenW >> 1, H - th - 5, red, -1);
    }
}

int stdMenu(int start, bool restartNotice, int n, const std::string* labels, bool* enabled, FONT* labelFont,
            int margin, BITMAP* selectedImage, BITMAP* otherImage, BITMAP* background, int enabledColor,
            int selectedColor, int disabledColor) {
    if (n < 1 || !labels || !enabled) return -1;  // nothing that could be chosen

    StdMenuLook look;
    look.labels = labels;
    look.font = labelFont;
    look.enabledColor = enabledColor >= 0 ? enabledColor : makecol(153, 153, 153);
    look.selectedColor = selectedColor >= 0 ? selectedColor : makecol(0, 0, 0);
    look.disabledColor = disabledColor >= 0 ? disabledColor : makecol(255, 255, 255);
    look.restartNotice = restartNotice;
    look.background = background ? background : global.menuBackground;
    bool ownSelected = !selectedImage, ownOther = !otherImage;
    look.selectedImage = ownSelected ? loadBitmap("gfx/button.tga") : selectedImage;
    look.otherImage = ownOther ? loadBitmap("gfx/buttonpressed.tga") : otherImage;

    StdMenuState m = openStdMenu(start, restartNotice, n, enabled, margin, look.selectedImage->w,
                                 look.selectedImage->h, platform::screenWidth(), platform::screenHeight());
    screens::Screen s;
    s.step = [&](const platform::Input& in) { stdMenuStep(m, in); };
    s.draw = [&](BITMAP* target) { drawStdMenu(m, look, target); };
    s.running = [&] { return !m.confirmed; };
    screens::run(s);

    if (ownSelected) destroy_bitmap(look.selectedImage);
    if (ownOther) destroy_bitmap(look.otherImage);
    return m.selection;
}

}  // namespace menu
