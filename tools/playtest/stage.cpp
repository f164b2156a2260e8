#include "playtest/stage.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "game/weapons.h"

namespace playtest {

Stage::Stage(int width, int height)
    : previous(platform::backend()), saved(global), pixels(static_cast<size_t>(width) * height, 0) {
    for (int x = 0; x < width; ++x) columns.push_back(&pixels[static_cast<size_t>(x) * height]);
    depth.assign(static_cast<size_t>(width), 0.0f);

    global.buffer = create_bitmap(width, height);
    global.textFont = global.menuFont = font;
    global.crosshair = nullptr;
    global.invulnerable = false;
    global.keyForward = KEY_W;
    global.keyBackward = KEY_S;
    global.keyTurnLeft = KEY_LEFT;
    global.keyTurnRight = KEY_RIGHT;
    global.keyStrafeLeft = KEY_A;
    global.keyStrafeRight = KEY_D;
    global.keyShoot = KEY_SPACE;

    silence = create_sample(8, 0, 11025, 1);
    for (int w = 0; w < WEAPON_COUNT; ++w) {
        savedSounds[w] = sounds[w];
        sounds[w] = silence;
    }

    platform::Backend b;
    b.poll = [this] {
        platform::Input now = in;
        now.ticks = pending;
        return now;
    };
    b.takeEvents = [](platform::Input&) {};
    b.takeTicks = [this](int n) { pending = n < 0 ? 0 : std::max(0, pending - n); };
    b.present = [](BITMAP*) {};
    b.waitRetrace = [] {};
    b.wait = [] {};
    b.setMode = [](int, int, int) { return -1; };
    b.screenWidth = [width] { return width; };
    b.screenHeight = [height] { return height; };
    b.ask = [](const std::string&, const std::string&, const std::string&, const std::string&) { return 2; };
    b.playSample = [this](SAMPLE*, int, int, int, bool) { ++shots; };
    b.drawPointer = [](BITMAP*) {};
    b.startTimer = [](int) {};
    platform::backend() = b;
    platform::use(in);
}

Stage::~Stage() {
    platform::backend() = previous;
    platform::use(platform::Input());
    for (int w = 0; w < WEAPON_COUNT; ++w) sounds[w] = savedSounds[w];
    if (silence) destroy_sample(silence);
    destroy_bitmap(global.buffer);
    global = saved;
}

const platform::Input& Stage::hold(const Controls& c, double now) {
    pending += static_cast<int>(std::floor(now * TIMER_FPS) - std::floor(in.now * TIMER_FPS));
    in.now = now;
    in.held.fill(false);
    const std::pair<int, bool> keys[] = {
        {global.keyForward, c.forward},       {global.keyBackward, c.backward}, {global.keyTurnLeft, c.turnLeft},
        {global.keyTurnRight, c.turnRight},   {global.keyStrafeLeft, c.strafeLeft},
        {global.keyStrafeRight, c.strafeRight}, {global.keyShoot, c.shoot},     {KEY_1, c.weapon1},
        {KEY_2, c.weapon2},                   {KEY_3, c.weapon3},
    };
    for (const auto& k : keys) in.held[k.first] = k.second;
    in.ticks = pending;
    platform::use(in);
    return platform::current();
}

}  // namespace playtest
