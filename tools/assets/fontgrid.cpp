// Renders TrueType faces into the images the asset build needs:
//   brawnwick-fontgrid grid FACE.ttf PIXELS OUT.bmp         glyph grid of ASCII 32..126 for the dat tool
//   brawnwick-fontgrid text FACE.ttf PIXELS "TEXT" OUT.bmp anti-aliased coverage mask of one line of text
// Both write 8-bit paletted BMPs. Needs FreeType (libfreetype-dev).
#include <allegro.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Palette indices of the grid image: the font importer treats 0 as empty and the top-left
// colour as the border between cells.
constexpr int EMPTY = 0;
constexpr int INK = 1;
constexpr int BORDER = 255;

struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int w = 0;
    int h = 0;
    std::vector<unsigned char> bits;  // one byte per pixel, 0 or 1
};

bool fail(const char* what) {
    std::fprintf(stderr, "brawnwick-fontgrid: %s\n", what);
    return false;
}

// Hinted 1-bit rendering keeps DejaVu's stems crisp at small sizes.
Glyph renderMono(FT_Face face, int ch) {
    Glyph g;
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME)) return g;
    FT_GlyphSlot s = face->glyph;
    g.advance = static_cast<int>((s->advance.x + 32) >> 6);
    g.left = s->bitmap_left;
    g.top = s->bitmap_top;
    g.w = static_cast<int>(s->bitmap.width);
    g.h = static_cast<int>(s->bitmap.rows);
    g.bits.assign(static_cast<size_t>(g.w * g.h), 0);
    for (int y = 0; y < g.h; ++y) {
        const unsigned char* row = s->bitmap.buffer + y * s->bitmap.pitch;
        for (int x = 0; x < g.w; ++x) g.bits[y * g.w + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return g;
}

bool makeGrid(FT_Face face, const char* out) {
    const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    const int cellH = ascent + descent;
    const int perRow = 16;

    std::vector<Glyph> glyphs;
    std::vector<int> cellW, shift;
    for (int ch = 32; ch <= 126; ++ch) {
        Glyph g = renderMono(face, ch);
        // Widen the cell instead of clipping glyphs that overhang their advance.
        int sh = std::max(0, -g.left);
        int w = std::max(g.advance + sh, g.left + sh + g.w);
        cellW.push_back(std::max(1, w));
        shift.push_back(sh);
        glyphs.push_back(std::move(g));
    }
    const int count = static_cast<int>(glyphs.size());
    const int rows = (count + perRow - 1) / perRow;
    int width = 0;
    for (int r = 0; r < rows; ++r) {
        int w = 1;
        for (int i = r * perRow; i < std::min(count, (r + 1) * perRow); ++i) w += cellW[i] + 1;
        width = std::max(width, w);
    }
    const int height = rows * (cellH + 1) + 1;

    BITMAP* bmp = create_bitmap_ex(8, width, height);
    if (!bmp) return fail("cannot create bitmap");
    clear_to_color(bmp, BORDER);
    for (int i = 0; i < count; ++i) {
        const int r = i / perRow;
        int x0 = 1;
        for (int j = r * perRow; j < i; ++j) x0 += cellW[j] + 1;
        const int y0 = 1 + r * (cellH + 1);
        rectfill(bmp, x0, y0, x0 + cellW[i] - 1, y0 + cellH - 1, EMPTY);
        const Glyph& g = glyphs[i];
        for (int y = 0; y < g.h; ++y)
            for (int x = 0; x < g.w; ++x) {
                const int px = g.left + shift[i] + x;
                const int py = ascent - g.top + y;
                if (g.bits[y * g.w + x] && px >= 0 && px < cellW[i] && py >= 0 && py < cellH)
                    putpixel(bmp, x0 + px, y0 + py, INK);
            }
    }
    PALETTE pal;
    for (int i = 0; i < 256; ++i) pal[i].r = pal[i].g = pal[i].b = 0;
    pal[INK].r = pal[INK].g = pal[INK].b = 63;
    pal[BORDER].r = 63;
    pal[BORDER].g = 63;
    const bool ok = save_bitmap(out, bmp, pal) == 0;
    destroy_bitmap(bmp);
    std::printf("%s: %d x %d, cell height %d\n", out, width, height, cellH);
    return ok || fail("cannot save");
}

bool makeText(FT_Face face, const std::string& text, const char* out) {
    const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    const int pad = 8;
    // First pass measures, second pass draws.
    int penMax = 0;
    for (int pass = 0; pass < 2; ++pass) {
        BITMAP* bmp = pass ? create_bitmap_ex(8, penMax + 2 * pad, ascent + descent + 2 * pad) : nullptr;
        if (pass && !bmp) return fail("cannot create bitmap");
        if (bmp) clear_to_color(bmp, 0);
        int pen = pad;
        FT_UInt prev = 0;
        for (char c : text) {
            FT_UInt idx = FT_Get_Char_Index(face, static_cast<unsigned char>(c));
            if (prev && FT_HAS_KERNING(face)) {
                FT_Vector k;
                FT_Get_Kerning(face, prev, idx, FT_KERNING_DEFAULT, &k);
                pen += static_cast<int>(k.x >> 6);
            }
            if (FT_Load_Glyph(face, idx, FT_LOAD_RENDER)) continue;
            FT_GlyphSlot s = face->glyph;
            if (bmp) {
                for (unsigned y = 0; y < s->bitmap.rows; ++y)
                    for (unsigned x = 0; x < s->bitmap.width; ++x) {
                        int v = s->bitmap.buffer[y * s->bitmap.pitch + x];
                        int px = pen + s->bitmap_left + static_cast<int>(x);
                        int py = pad + ascent - s->bitmap_top + static_cast<int>(y);
                        if (v > getpixel(bmp, px, py)) putpixel(bmp, px, py, v);
                    }
            }
            penMax = std::max(penMax, pen + s->bitmap_left + static_cast<int>(s->bitmap.width));
            pen += static_cast<int>((s->advance.x + 32) >> 6);
            prev = idx;
        }
        if (bmp) {
            PALETTE pal;
            for (int i = 0; i < 256; ++i) pal[i].r = pal[i].g = pal[i].b = i >> 2;
            const bool ok = save_bitmap(out, bmp, pal) == 0;
            destroy_bitmap(bmp);
            if (!ok) return fail("cannot save");
        }
        penMax -= pad;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: brawnwick-fontgrid grid FACE PIXELS OUT\n"
                             "       brawnwick-fontgrid text FACE PIXELS TEXT OUT\n");
        return 1;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
    set_color_depth(8);
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, argv[2], 0, &face)) return fail("cannot open face"), 1;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::atoi(argv[3])));
    const std::string mode = argv[1];
    bool ok = false;
    if (mode == "grid") ok = makeGrid(face, argv[4]);
    else if (mode == "text" && argc >= 6) ok = makeText(face, argv[4], argv[5]);
    else fail("unknown mode");
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return ok ? 0 : 1;
}
END_OF_MAIN()
