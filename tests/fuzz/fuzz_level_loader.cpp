// Fuzzes the level loader; every level it accepts is rendered from several poses and checked against
// the plain reference renderer. Run from the repository root: the seeds name tests/data/level/ textures.
#include <allegro.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "input/controls.h"
#include "reference_render.h"

namespace {
const int W = 40, H = 30;
float speed = 0.0f;
float currentSpeed() { return speed; }

void renderAndCompare(Kelda_engine& e) {
    static std::vector<int> mine(W * H), ref(W * H);
    static std::vector<int*> mineCols(W), refCols(W);
    static std::vector<float> mineDepth(W), refDepth(W);
    for (int x = 0; x < W; ++x) mineCols[x] = mine.data() + x * H, refCols[x] = ref.data() + x * H;
    std::vector<unsigned char> visible(e.visible, e.visible + e.spriteCount);
    std::vector<int> order(e.spriteCount);
    std::vector<float> distance(e.spriteCount);
    ReferenceOutput out{refCols.data(), refDepth.data(), visible.data(), order.data(), distance.data(), -1};
    e.setBuffers(mineCols.data(), mineDepth.data(), W, H);
    referenceRender(e, out);
    e.render();
    if (mine != ref || std::memcmp(mineDepth.data(), refDepth.data(), W * sizeof(float)) != 0 ||
        e.crosshairSprite != out.crosshair || (e.spriteCount > 0 && std::memcmp(e.visible, visible.data(), e.spriteCount) != 0))
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The game reads file names as plain bytes; the library's default, UTF-8, is the harsher test.
    if (std::getenv("BRAWNWICK_FUZZ_ASCII")) set_uformat(U_ASCII);
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    // Textures load in the colour depth in force; each depth reads texels its own way.
    const int depths[] = {32, 24, 16, 15};
    set_color_depth(depths[size % 4]);
    Kelda_engine e;
    if (!e.loadStream(in).empty()) return 0;
    e.inRange(), renderAndCompare(e);
    // Poses a level maker would not choose: on sprites, on the map's edge, against a wall face.
    const float poses[][2] = {{static_cast<float>(e.mapWidth), e.posY}, {1.0f, e.posY}, {e.posX, 1.0f}};
    for (int i = 0; i < e.spriteCount + 3 && i < 8; ++i) {
        const float a = 0.7f * static_cast<float>(i) + static_cast<float>(size % 7);
        const bool onSprite = i < e.spriteCount;
        e.posX = onSprite ? e.sprites[i].x : poses[i - e.spriteCount][0];
        e.posY = onSprite ? e.sprites[i].y : poses[i - e.spriteCount][1];
        e.dirX = -std::cos(a), e.dirY = -std::sin(a), e.planeX = -0.66f * std::sin(a), e.planeY = 0.66f * std::cos(a);
        renderAndCompare(e);
    }
    // Walking, turning and stepping aside at once, by ordinary and absurd steps, never leaves the map.
    e.setupDefaultMove(KEY_W, KEY_S, KEY_A, KEY_D, KEY_Q, KEY_E, currentSpeed, currentSpeed);
    Controls held;
    held.forward = held.turnLeft = held.strafeLeft = true;
    for (float step : {0.3f, 3.0f, 1e10f, -1e10f, NAN}) {
        speed = step;
        e.move(held), renderAndCompare(e);
    }
    return 0;
}
