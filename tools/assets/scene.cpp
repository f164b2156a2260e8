// Renders a small test room with the shipped textures, sprites, weapon frames and crosshair,
// the way the game's raycaster projects them, to judge the art in place:
//   scene ROOT OUT.bmp [weapon frame file] [x y angle]
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <string>
#include <vector>

namespace {

const int W = 640, H = 480;
const int MW = 12, MH = 10;
// Wall texture per cell ('.' empty); letters index the wall list below.
const char* kMap[MH] = {
    "AAAABBBCCCCA",
    "A..........D",
    "E..........D",
    "E...F..G...H",
    "I..........H",
    "I..........J",
    "K...L..A...J",
    "K..........A",
    "A..........A",
    "AAAAMMMAAAAA",
};
const char* kWalls[] = {"stone", "brick", "redbrick", "mossy", "metal", "tech", "wood",
                        "crate", "door", "panel", "marble", "window", "stone"};
const char* kFloors[] = {"tiles", "grass", "planks", "dirt", "flagstone"};
const char* kCeilings[] = {"beams", "plaster", "metalgrid"};

struct Sprite {
    float x, y;
    BITMAP* bmp;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 1;
    const std::string root = argv[1];
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
    set_color_depth(32);
    auto load = [&](const std::string& rel) { return load_bitmap((root + "/gfx/" + rel).c_str(), nullptr); };
    std::vector<BITMAP*> walls, floors, ceilings;
    for (const char* n : kWalls) walls.push_back(load(std::string("walls/") + n + ".bmp"));
    for (const char* n : kFloors) floors.push_back(load(std::string("floors/") + n + ".bmp"));
    for (const char* n : kCeilings) ceilings.push_back(load(std::string("ceilings/") + n + ".bmp"));
    std::vector<Sprite> sprites = {{3.5f, 2.5f, load("sprites/monster0.bmp")}, {6.0f, 4.6f, load("sprites/monster1.bmp")},
                                   {9.5f, 6.5f, load("sprites/monster2.bmp")}, {8.5f, 2.0f, load("sprites/lamp.bmp")},
                                   {2.5f, 7.5f, load("sprites/barrel.bmp")},   {6.5f, 8.0f, load("sprites/pillar.bmp")},
                                   {10.5f, 1.5f, load("sprites/plant.bmp")},   {4.2f, 4.8f, load("sprites/monster0.bmp")},
                                   {8.0f, 8.2f, load("sprites/monster2.bmp")}};
    BITMAP* out = create_bitmap(W, H);
    std::vector<float> zbuf(W);
    const float px = argc > 6 ? std::stof(argv[4]) : 1.6f, py = argc > 6 ? std::stof(argv[5]) : 5.0f;
    const float ang = argc > 6 ? std::stof(argv[6]) : 0.0f;
    const float dx = std::cos(ang), dy = std::sin(ang), plx = -dy * 0.66f, ply = dx * 0.66f;
    auto floorOf = [](int cx, int cy) { return (cx < 6) ? (cy < 5 ? 0 : 4) : (cy < 5 ? 2 : 3); };
    auto ceilingOf = [](int cx, int cy) { return cx >= 5 && cx <= 7 ? -1 : (cy < 5 ? 0 : (cx < 6 ? 1 : 2)); };
    for (int x = 0; x < W; ++x) {
        float cam = 2.0f * x / W - 1, rx = dx + plx * cam, ry = dy + ply * cam;
        int mx = static_cast<int>(px), my = static_cast<int>(py);
        float ddx = std::fabs(1 / rx), ddy = std::fabs(1 / ry);
        int sx = rx < 0 ? -1 : 1, sy = ry < 0 ? -1 : 1;
        float sdx = (rx < 0 ? px - mx : mx + 1 - px) * ddx, sdy = (ry < 0 ? py - my : my + 1 - py) * ddy;
        int side = 0;
        while (true) {
            if (sdx < sdy) sdx += ddx, mx += sx, side = 0;
            else sdy += ddy, my += sy, side = 1;
            if (kMap[my][mx] != '.') break;
        }
        float dist = side == 0 ? (sdx - ddx) : (sdy - ddy);
        BITMAP* tex = walls[kMap[my][mx] - 'A'];
        float wx = side == 0 ? py + dist * ry : px + dist * rx;
        wx -= std::floor(wx);
        int tx = static_cast<int>(wx * tex->w);
        int lh = static_cast<int>(H / dist), start = std::max(0, (H - lh) / 2), end = std::min(H - 1, (H + lh) / 2);
        for (int y = start; y < end; ++y) {
            int ty = ((2 * y - H + lh) * tex->h) / (2 * lh);
            putpixel(out, x, y, getpixel(tex, tx, std::clamp(ty, 0, tex->h - 1)));
        }
        zbuf[x] = dist;
        for (int y = end; y < H; ++y) {
            float rd = H / (2.0f * y - H);
            float fx = px + rd * rx, fy = py + rd * ry;
            int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
            BITMAP* f = floors[floorOf(cx, cy)];
            putpixel(out, x, y, getpixel(f, static_cast<int>(f->w * fx) & (f->w - 1), static_cast<int>(f->h * fy) & (f->h - 1)));
            int c = ceilingOf(cx, cy);
            if (c < 0) putpixel(out, x, H - y - 1, makecol(40, 50, 90));
            else {
                BITMAP* t = ceilings[c];
                putpixel(out, x, H - y - 1, getpixel(t, static_cast<int>(t->w * fx) & (t->w - 1), static_cast<int>(t->h * fy) & (t->h - 1)));
            }
        }
    }
    std::sort(sprites.begin(), sprites.end(), [&](const Sprite& a, const Sprite& b) {
        return std::hypot(a.x - px, a.y - py) > std::hypot(b.x - px, b.y - py);
    });
    for (const Sprite& s : sprites) {
        float rx = s.x - px, ry = s.y - py, inv = 1 / (plx * dy - dx * ply);
        float tx = inv * (dy * rx - dx * ry), ty = inv * (-ply * rx + plx * ry);
        if (ty <= 0.1f) continue;
        int scx = static_cast<int>(W / 2 * (1 + tx / ty)), size = static_cast<int>(H / ty);
        for (int x = scx - size / 2; x < scx + size / 2; ++x) {
            if (x < 0 || x >= W || ty >= zbuf[x]) continue;
            int tex = (x - (scx - size / 2)) * s.bmp->w / size;
            for (int y = std::max(0, (H - size) / 2); y < std::min(H, (H + size) / 2); ++y) {
                int c = getpixel(s.bmp, tex, (y - (H - size) / 2) * s.bmp->h / size);
                if (c != makecol(255, 0, 255)) putpixel(out, x, y, c);
            }
        }
    }
    BITMAP* weapon = load(argc > 3 ? argv[3] : "Hunter1.bmp");
    if (weapon) {
        int side = static_cast<int>(H * 0.6f);
        BITMAP* sq = create_bitmap(side, side);
        stretch_blit(weapon, sq, 0, 0, weapon->w, weapon->h, 0, 0, side, side);
        masked_blit(sq, out, 0, 0, (W - side) / 2, H - side, side, side);
    }
    BITMAP* cross = load_bitmap((root + "/gfx/crosshair.tga").c_str(), nullptr);
    if (cross) masked_blit(cross, out, 0, 0, (W - cross->w) / 2, (H - cross->h) / 2, cross->w, cross->h);
    DATAFILE* data = load_datafile((root + "/data/data.dat").c_str());
    if (data) {
        FONT* f = static_cast<FONT*>(data[1].dat);
        int th = text_height(f);
        textout_ex(out, f, "Impact Cannon: 15 bullets", 10, H - th - 30, 0, makecol(255, 255, 255));
        textout_ex(out, f, "Buzzsaw: 0 bullets", 10, H - th - 10, 0, makecol(255, 255, 255));
        textout_right_ex(out, f, "3 lifes", W - 10, H - th - 30, 0, makecol(255, 255, 255));
        textout_right_ex(out, f, "16 points", W - 10, H - th - 10, 0, makecol(255, 255, 255));
        rectfill(out, 10, 10, 10 + 4 * (W - 20) / 5, 20, makecol(255, 0, 0));
        textout_centre_ex(out, static_cast<FONT*>(data[0].dat), "Extra ammo", W / 2, static_cast<int>(H * 0.8f), 0,
                          makecol(255, 255, 255));
    }
    save_bitmap(argv[2], out, nullptr);
    return 0;
}
END_OF_MAIN()
