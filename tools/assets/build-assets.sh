#!/bin/sh
# Regenerates every picture, font and sound of the game from the sources under tools/assets/.
#
#   sh tools/assets/build-assets.sh [BUILD]
#
# BUILD is a configured CMake build folder (default build/); the three programs this script runs
# are built there first: brawnwick-fontgrid, brawnwick-assetgen and brawnwick-preview.
# Needs Allegro 4 (liballegro4-dev, with its `dat` tool), FreeType (libfreetype-dev), the DejaVu
# fonts (fonts-dejavu-core) and ImageMagick for PNG copies of the previews.
# Steps:
#   1. brawnwick-fontgrid renders DejaVu faces into glyph-grid images and text masks (tools/assets/glyphs/);
#   2. `dat` packs the three grids into data/data.dat (menu, text and warning font, in that order);
#   3. brawnwick-assetgen draws gfx/**, writes sfx/*.wav and the intro's pieces;
#   4. `dat` packs the intro's pieces into data/intro.dat;
#   5. brawnwick-preview draws the menus, three views of a test room and contact sheets into
#      build-art/preview/, with the game's own menu, renderer and HUD code.
# All generators use fixed seeds: the same sources give the same files.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT="$ROOT/build-art"
DEJAVU=${DEJAVU:-/usr/share/fonts/truetype/dejavu}
GLYPHS="$ROOT/tools/assets/glyphs"
mkdir -p "$OUT/intro" "$OUT/preview" "$GLYPHS" "$ROOT/data" "$ROOT/gfx/sprites" "$ROOT/gfx/walls" \
         "$ROOT/gfx/floors" "$ROOT/gfx/ceilings" "$ROOT/sfx"

BUILD=$(cd "${1:-$ROOT/build}" && pwd)
cmake --build "$BUILD" -j2 --target brawnwick-fontgrid brawnwick-assetgen brawnwick-preview

# Fonts: the pixel size sets the text height (about 1.16 x size for DejaVu).
"$BUILD/brawnwick-fontgrid" grid "$DEJAVU/DejaVuSerifCondensed-Bold.ttf" 25 "$GLYPHS/a_menu.bmp"
"$BUILD/brawnwick-fontgrid" grid "$DEJAVU/DejaVuSans-Bold.ttf" 12 "$GLYPHS/b_text.bmp"
"$BUILD/brawnwick-fontgrid" grid "$DEJAVU/DejaVuSansCondensed-Bold.ttf" 17 "$GLYPHS/c_warning.bmp"
# Lettering used inside pictures.
"$BUILD/brawnwick-fontgrid" text "$DEJAVU/DejaVuSerif-Bold.ttf" 58 "BRAWNWICK" "$GLYPHS/title.bmp"
"$BUILD/brawnwick-fontgrid" text "$DEJAVU/DejaVuSerifCondensed-Bold.ttf" 54 "Quenmoor" "$GLYPHS/logo.bmp"
"$BUILD/brawnwick-fontgrid" text "$DEJAVU/DejaVuSerif-Bold.ttf" 34 "Q" "$GLYPHS/emblem.bmp"

# -s2 drops names, dates and source paths so the files only change with their content.
rm -f "$ROOT/data/data.dat"
(cd "$GLYPHS" && dat -s2 "$ROOT/data/data.dat" -t FONT -a a_menu.bmp b_text.bmp c_warning.bmp >/dev/null)

"$BUILD/brawnwick-assetgen" "$ROOT" "$OUT/intro"

rm -f "$ROOT/data/intro.dat"
(cd "$OUT/intro" && dat -s2 -bpp 24 "$ROOT/data/intro.dat" -t BMP -a a_background.bmp b_logo.bmp >/dev/null \
  && dat -s2 "$ROOT/data/intro.dat" -t SAMP -a c_step.wav >/dev/null \
  && dat -s2 -bpp 24 "$ROOT/data/intro.dat" -t BMP -a d_emblem.bmp >/dev/null)

"$BUILD/brawnwick-preview" "$ROOT" "$OUT/preview"
if command -v convert >/dev/null && convert -version >/dev/null 2>&1; then
    for f in "$OUT"/preview/*.bmp; do convert "$f" "${f%.bmp}.png"; done
fi
echo "assets rebuilt"
