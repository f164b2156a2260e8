#!/bin/sh
# Regenerates every picture, font and sound of the game from the sources under tools/assets/.
#
#   sh tools/assets/build-assets.sh
#
# Needs g++, Allegro 4 (liballegro4-dev, with its `dat` tool), FreeType (libfreetype-dev),
# ImageMagick for the preview sheets, and the DejaVu fonts (fonts-dejavu-core).
# Steps:
#   1. fontgrid renders DejaVu faces into glyph-grid images and text masks (tools/assets/glyphs/);
#   2. `dat` packs the three grids into data/data.dat (menu, text and warning font, in that order);
#   3. brawnwick-assetgen draws gfx/**, writes sfx/*.wav and the intro's pieces;
#   4. `dat` packs the intro's pieces into data/intro.dat;
#   5. preview sheets and three views of a test room (scene.cpp) land in build-art/preview/.
# All generators use fixed seeds: the same sources give the same files.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT="$ROOT/build-art"
DEJAVU=${DEJAVU:-/usr/share/fonts/truetype/dejavu}
GLYPHS="$ROOT/tools/assets/glyphs"
mkdir -p "$OUT/intro" "$OUT/preview" "$GLYPHS" "$ROOT/data" "$ROOT/gfx/sprites" "$ROOT/gfx/walls" \
         "$ROOT/gfx/floors" "$ROOT/gfx/ceilings" "$ROOT/sfx"

ALLEGRO_FLAGS=$(pkg-config --cflags --libs allegro)
g++ -std=c++17 -O2 -Wall -Wextra "$ROOT/tools/assets/fontgrid.cpp" -o "$OUT/fontgrid" \
    $(pkg-config --cflags --libs freetype2) $ALLEGRO_FLAGS
g++ -std=c++17 -O2 -Wall -Wextra "$ROOT/tools/brawnwick-assetgen.cpp" -o "$OUT/brawnwick-assetgen" $ALLEGRO_FLAGS

# Fonts: the pixel size sets the text height (about 1.16 x size for DejaVu).
"$OUT/fontgrid" grid "$DEJAVU/DejaVuSerifCondensed-Bold.ttf" 25 "$GLYPHS/a_menu.bmp"
"$OUT/fontgrid" grid "$DEJAVU/DejaVuSans-Bold.ttf" 12 "$GLYPHS/b_text.bmp"
"$OUT/fontgrid" grid "$DEJAVU/DejaVuSansCondensed-Bold.ttf" 17 "$GLYPHS/c_warning.bmp"
# Lettering used inside pictures.
"$OUT/fontgrid" text "$DEJAVU/DejaVuSerif-Bold.ttf" 58 "BRAWNWICK" "$GLYPHS/title.bmp"
"$OUT/fontgrid" text "$DEJAVU/DejaVuSerifCondensed-Bold.ttf" 54 "Quenmoor" "$GLYPHS/logo.bmp"
"$OUT/fontgrid" text "$DEJAVU/DejaVuSerif-Bold.ttf" 34 "Q" "$GLYPHS/emblem.bmp"

# -s2 drops names, dates and source paths so the files only change with their content.
rm -f "$ROOT/data/data.dat"
(cd "$GLYPHS" && dat -s2 "$ROOT/data/data.dat" -t FONT -a a_menu.bmp b_text.bmp c_warning.bmp >/dev/null)

"$OUT/brawnwick-assetgen" "$ROOT" "$OUT/intro"

rm -f "$ROOT/data/intro.dat"
(cd "$OUT/intro" && dat -s2 -bpp 24 "$ROOT/data/intro.dat" -t BMP -a a_background.bmp b_logo.bmp >/dev/null \
  && dat -s2 "$ROOT/data/intro.dat" -t SAMP -a c_step.wav >/dev/null \
  && dat -s2 -bpp 24 "$ROOT/data/intro.dat" -t BMP -a d_emblem.bmp >/dev/null)

g++ -std=c++17 -O2 -Wall -Wextra "$ROOT/tools/assets/preview.cpp" -o "$OUT/preview-sheets" $ALLEGRO_FLAGS
"$OUT/preview-sheets" "$ROOT" "$OUT/preview"
g++ -std=c++17 -O2 -Wall -Wextra "$ROOT/tools/assets/scene.cpp" -o "$OUT/scene" $ALLEGRO_FLAGS
"$OUT/scene" "$ROOT" "$OUT/preview/scene1.bmp" Hunter1.bmp 1.6 5.0 0
"$OUT/scene" "$ROOT" "$OUT/preview/scene2.bmp" Impactcannon4.bmp 1.5 8.5 -0.45
"$OUT/scene" "$ROOT" "$OUT/preview/scene3.bmp" Buzzsaw1.bmp 10.5 8.5 -2.4
if command -v convert >/dev/null; then
    for f in "$OUT"/preview/*.bmp; do convert "$f" "${f%.bmp}.png"; done
fi
echo "assets rebuilt"
