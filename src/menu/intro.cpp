#include "menu/intro.h"

#include "core/Errors.h"
#include "core/constants.h"
#include "core/datafileCheck.h"
#include "input/keyStates.h"
#include "menu/menues.h"
#include "screen/driver.h"
#include "settings/global.h"

namespace menu {

const char* const STUDIO_CREDIT = "A Quenmoor game";
const char* const STUDIO_ADDRESS = "www.quenmoor.example";

namespace {
const int FINAL = -15;
const char* const INTRO_FILE = "data/intro.dat";
}  // namespace

IntroState makeIntro(int logoW, int logoH, std::function<void(int)> stepSound) {
    IntroState s;
    s.fullW = logoW;
    s.fullH = logoH;
    s.stepSound = std::move(stepSound);
    return s;
}

void introTick(IntroState& s, const platform::Input&) {
    // F9 is left to the screenshot of this frame; it must not end the intro as well.
    const int f9 = keyStates.states[KEY_F9];
    keyStates.setState(KEY_F9, 1);
    const bool pressed = keyStates.anyKey();
    keyStates.setState(KEY_F9, f9);
    // On the very first start the player sees the whole intro once; a press before that is used up.
    if (pressed && (!global.firstStart || s.brightness > 249)) s.running = false;

    s.logoH += s.fullH / 64;
    if (static_cast<int>(s.logoH) > s.fullH) s.logoH = s.fullH;
    s.logoW += s.fullW / 64;
    if (static_cast<int>(s.logoW) > s.fullW) s.logoW = s.fullW;

    if (s.countdown != FINAL) --s.countdown;
    if (s.countdown == FINAL && s.brightness + 3 <= 255) s.brightness += 3;

    if (s.countdown == 16) s.credit += " Quenmoor";
    if (s.countdown == 0) s.credit += " game";
    if (s.countdown <= 48 && s.countdown >= 0 && s.countdown % 16 == 0 && s.stepSound) s.stepSound(global.sfxVolume);
}

void drawIntro(const IntroState& s, const IntroPictures& p, BITMAP* target, int W, int H) {
    clear_bitmap(target);
    blit(p.background, target, 0, 0, 0, 0, p.background->w, p.background->h);

    int w = static_cast<int>(s.logoW), h = static_cast<int>(s.logoH);
    if (w > 0 && h > 0)
        masked_stretch_blit(p.logo, target, 0, 0, p.logo->w, p.logo->h, (W >> 1) - static_cast<int>(s.logoW * 0.5),
                            (H >> 1) - static_cast<int>(s.logoH * 0.5), w, h);

    // The words appear where the whole credit will end up centred.
    int th = text_height(global.menuFont);
    int creditX = (W - text_length(global.menuFont, STUDIO_CREDIT)) >> 1;
    int creditY = H - th - 140;
    if (s.countdown <= 32)
        textout_ex(target, global.menuFont, s.credit.c_str(), creditX, creditY, makecol(255, 255, 255), -1);

    if (s.countdown == FINAL) {
        blit(p.emblem, target, 0, 0, 3, H - p.emblem->h - 3, p.emblem->w, p.emblem->h);
        int b = s.brightness;
        textout_centre_ex(target, global.menuFont, STUDIO_ADDRESS, W >> 1, creditY + th + 7, makecol(b, b, b), -1);
        int th2 = text_height(global.textFont);
        textout_right_ex(target, global.textFont, allegro_id, W - 3, H - 2 * th2 - 6, 0, -1);
        textout_right_ex(target, global.textFont, VERSIONSTRING.c_str(), W - 3, H - th2 - 3, 0, -1);
    }
}

bool introDataUsable(const DATAFILE* data) {
    if (!data) return false;
    const int types[4] = {DAT_BITMAP, DAT_BITMAP, DAT_SAMPLE, DAT_BITMAP};
    for (int i = 0; i < 4; ++i) {
        // The object list ends at DAT_END: stop there rather than read past a short file.
        if (data[i].type == DAT_END || data[i].type != types[i] || !data[i].dat) return false;
    }
    return true;
}

void intro() {
    DATAFILE* data = loadCheckedDatafile(INTRO_FILE);
    if (!data) errors::datafileError(INTRO_FILE);
    if (!introDataUsable(data)) {
        unload_datafile(data);
        errors::datafileError(INTRO_FILE);
    }
    IntroPictures pictures;
    pictures.background = static_cast<BITMAP*>(data[0].dat);
    pictures.logo = static_cast<BITMAP*>(data[1].dat);
    pictures.emblem = static_cast<BITMAP*>(data[3].dat);
    SAMPLE* step = static_cast<SAMPLE*>(data[2].dat);

    IntroState s = makeIntro(pictures.logo->w, pictures.logo->h,
                             [step](int volume) { platform::playSample(step, volume, 127, 1000, false); });
    screens::Screen loop;
    loop.ticks = screens::Ticks::upToFrameSkip;
    loop.step = [&](const platform::Input& in) { introTick(s, in); };
    loop.draw = [&](BITMAP* target) {
        drawIntro(s, pictures, target, platform::screenWidth(), platform::screenHeight());
    };
    loop.running = [&] { return s.running; };
    screens::run(loop);
    // The last step sound may still be playing from this datafile.
    stop_sample(step);
    unload_datafile(data);
}

}  // namespace menu
