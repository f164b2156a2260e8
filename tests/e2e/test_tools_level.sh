#!/usr/bin/env bash
# The level maker's tools as a level maker runs them: compile, decompile, check, playtest and
# render, and the reasons they give for bad sources and bad level files. No window needed.
set -euo pipefail

ROOT="${BRAWNWICK_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
BUILD="${BRAWNWICK_BUILD:-$ROOT/build}"
MAP="$BUILD/brawnwick-map"
RENDER="$BUILD/brawnwick-render"
PROBE="${BMP_PROBE:-$BUILD/tests/bmp-probe}"
TMP=$(mktemp -d /tmp/brawnwick-tools-XXXXXX)
trap 'rm -rf "$TMP"' EXIT
cd "$ROOT"  # texture paths in the sample level are relative to the repository root

fail() { echo "[test_tools_level] FAIL: $*" >&2; exit 1; }
# expect_fail CODE TEXT command...: the command exits with CODE and says TEXT on standard error.
expect_fail() {
  local code=$1 text=$2; shift 2
  local rc=0
  "$@" > "$TMP/out" 2> "$TMP/err" || rc=$?
  [ "$rc" -eq "$code" ] || fail "$* exited $rc, expected $code: $(cat "$TMP/err")"
  grep -qF -- "$text" "$TMP/err" || fail "$* said '$(cat "$TMP/err")', expected '$text'"
}

[ -x "$MAP" ] && [ -x "$RENDER" ] || fail "tools not built in $BUILD"

"$MAP" compile tests/data/level/room.txt "$TMP/room.map"
"$MAP" check "$TMP/room.map" 2> "$TMP/err" | grep -q "ok, 7 x 5 cells, 5 textures, 2 sprites" || fail "check of a sound level"
# The start of the test room is unfair in two ways, and a third with a monster at the player's side.
{ cat tests/data/level/room.txt; echo "sprite 5.5 3.5 health 2 texture 0"; } > "$TMP/near.txt"
"$MAP" compile "$TMP/near.txt" "$TMP/near.map"
"$MAP" check "$TMP/near.map" 2>> "$TMP/err" > /dev/null
for w in "room.map: warning: the start faces a wall 2.5 cells away" \
         "room.map: warning: monster 0 at (2.5, 1.5) is in sight from the start (looking west)" \
         "near.map: warning: monster 2 at (5.5, 3.5) is 1.0 cells from the start"; do
  grep -qF "$w" "$TMP/err" || fail "check did not warn '$w': $(cat "$TMP/err")"
done
# Every shipped level passes check without a single warning.
for m in maps/*.map; do
  "$MAP" check "$m" > /dev/null 2> "$TMP/err" || fail "check of $m failed"
  [ ! -s "$TMP/err" ] || fail "$(cat "$TMP/err")"
done
"$MAP" decompile "$TMP/room.map" > "$TMP/room2.txt"
"$MAP" compile "$TMP/room2.txt" "$TMP/room2.map"
cmp -s "$TMP/room.map" "$TMP/room2.map" || fail "decompile then compile changed the bytes"

# A source with a fault names its line and writes nothing.
sed 's/^#.B.,.#$/#.B.Q.#/' tests/data/level/room.txt > "$TMP/bad.txt"
expect_fail 1 "bad.txt: line 16: unknown grid character 'Q'" "$MAP" compile "$TMP/bad.txt" "$TMP/bad.map"
[ ! -e "$TMP/bad.map" ] && [ ! -e "$TMP/bad.map.tmp" ] || fail "a failed compile left a file behind"

# Bad level files: the same reason from check and render, exit code 1, never a crash.
head -c 100 "$TMP/room.map" > "$TMP/short.map"
expect_fail 1 "short.map: File is truncated" "$MAP" check "$TMP/short.map"
expect_fail 1 "short.map: File is truncated" "$RENDER" "$TMP/short.map" "$TMP/short.bmp"
expect_fail 1 "File not found" "$MAP" check "$TMP/none.map"
# Check says why a picture cannot be used. Bad ones are the floor texture patched, cut or replaced;
# each row: picture|what check says.
patched() {  # NAME OFFSET BYTES: the floor texture with BYTES (printf escapes) written at OFFSET
  cp tests/data/level/floor.bmp "$TMP/$1"
  printf "$3" | dd of="$TMP/$1" bs=1 seek="$2" conv=notrunc 2> /dev/null
}
patched rle.bmp 30 '\001'; patched bits.bmp 28 '\002'; patched wide.bmp 18 '\377\377\377\177'
head -c 100 tests/data/level/floor.bmp > "$TMP/short.bmp"; echo "not a picture" > "$TMP/text.png"
for row in "$TMP/none.bmp|none.bmp: file not found" \
    "tests/data/level/odd.bmp|odd.bmp: 6 x 8 pixels: texture sides must be powers of two (scale it to 8 x 8)" \
    "$TMP/rle.bmp|rle.bmp: not a picture the game can read: a compressed (run-length encoded) BMP; save it without" \
    "$TMP/bits.bmp|bits.bmp: not a picture the game can read: a BMP with 2 bits per pixel; save it with 24 bits" \
    "$TMP/wide.bmp|wide.bmp: not a picture the game can read: a BMP of 2147483647 x 8 pixels, larger than" \
    "$TMP/short.bmp|short.bmp: not a picture the game can read: a truncated BMP (the file ends inside its pixels)" \
    "$TMP/text.png|text.png: not a picture the game can read: not a PNG file inside (an unknown format)"; do
  picture=${row%%|*} says=${row#*|}
  sed "s#tests/data/level/floor.bmp#$picture#" tests/data/level/room.txt > "$TMP/pic.txt"
  "$MAP" compile "$TMP/pic.txt" "$TMP/pic.map"
  expect_fail 1 "pic.map: $picture" "$MAP" check "$TMP/pic.map"
  grep -qF -- "$says" "$TMP/err" || fail "check of $picture said '$(cat "$TMP/err")', expected '$says'"
done
sed 's#tests/data/level/floor.bmp#tests/data/level/odd.bmp#' tests/data/level/room.txt > "$TMP/odd.txt"
"$MAP" compile "$TMP/odd.txt" "$TMP/odd.map"
expect_fail 1 "odd.bmp: 6 x 8 pixels: texture sides must be powers of two" "$RENDER" "$TMP/odd.map" "$TMP/odd.bmp"
[ ! -e "$TMP/odd.bmp" ] || fail "render wrote a picture of a level it could not load"

"$RENDER" "$TMP/room.map" "$TMP/view.bmp"
[ "$("$PROBE" "$TMP/view.bmp")" = "800 600" ] || fail "default picture size"
"$RENDER" "$TMP/room.map" "$TMP/small.bmp" --size 320x200 --depth 16 --camera 1.5,2.5,1,0,0,-0.66 --repeat 3 \
  | grep -q "3 frames of 320x200" || fail "render --repeat report"
[ "$("$PROBE" "$TMP/small.bmp")" = "320 200" ] || fail "chosen picture size"
"$RENDER" "$TMP/room.map" "$TMP/deep.bmp" --size 64x48 --depth 24 && [ -s "$TMP/deep.bmp" ] || fail "render in 24 bits"
expect_fail 2 "usage: brawnwick-render" "$RENDER" "$TMP/room.map" "$TMP/x.bmp" --depth 8
expect_fail 2 "usage: brawnwick-map" "$MAP" frobnicate

# The bot wins the campaign in a row, and says why not with the wine cellar walled off or a mob at the start.
# The human-like bot must win every level (health is full at each start, so no life is lost),
# take hits in most of them, and more in the later half of the campaign.
for mode in "" --human; do
  "$MAP" playtest $mode $(printf '%s\n' maps/*.map | sort -V) > "$TMP/play" || fail "campaign not won $mode: $(cat "$TMP/play")"
  [ "$(grep -c ': won in ' "$TMP/play")" -eq "$(ls maps/*.map | wc -l)" ] || fail "not every level reported won $mode"
done
awk '{ hit[n++] = $8; if ($8 > 0) hurt++ }
     END { for (i = 0; i < n; i++) if (i < n / 2) early += hit[i]; else late += hit[i]
           exit !(hurt * 2 > n && late > early) }' "$TMP/play" \
  || fail "the human-like campaign should hurt in most levels, more later on: $(cat "$TMP/play")"
sed 's/^##,######..####,,,##$/##,############,,,##/' levels/0.txt > "$TMP/sealed.txt"
{ cat levels/0.txt; for i in 1 2 3 4 5 6; do echo "sprite 16.9 6.5 health 4 texture 2"; done; } > "$TMP/mob.txt"
for c in "sealed:monster 1 at (12.5, 2.5) cannot be reached" "mob:died after"; do
  name=${c%%:*}
  "$MAP" compile "$TMP/$name.txt" "$TMP/$name.map"
  for mode in "" --human; do
    rc=0; "$MAP" playtest $mode "$TMP/$name.map" > "$TMP/play" || rc=$?
    [ "$rc" -eq 1 ] && grep -qF "$name.map: not won: ${c#*:}" "$TMP/play" || fail "playtest $mode of $name.map exited $rc: $(cat "$TMP/play")"
  done
done
expect_fail 2 "usage: brawnwick-map" "$MAP" playtest
expect_fail 2 "usage: brawnwick-map" "$MAP" playtest --human

{ cat "$TMP/room.map"; printf '\n'; } > "$TMP/newline.map"
"$MAP" check "$TMP/newline.map" 2> "$TMP/err" | grep -q "ok, 7 x 5" || fail "check of a level with a trailing newline"
grep -q "warning: File goes on after the last sprite" "$TMP/err" || fail "no warning about the trailing bytes"

# The README's camera examples: the plane is (dirY, -dirX) x 0.66, as the game keeps it.
{ grep -oE -- '--camera [-0-9.,]+' README.md | sed 's/--camera //'
  grep -oE '`-?[0-9.]+,-?[0-9.]+,-?[0-9.]+,-?[0-9.]+`' README.md | tr -d '`'; } \
  | awk -F, '{ n++; dx = $(NF-3); dy = $(NF-2); px = $(NF-1); py = $NF
               if (px != 0.66 * dy || py != -0.66 * dx) { print "README camera " $0 " is mirrored"; bad = 1 } }
             END { if (n < 3) { print "README camera examples not found"; bad = 1 } exit bad }' \
  || fail "README camera examples"
"$BUILD/brawnwick-preview" "$ROOT" "$TMP" || fail "brawnwick-preview failed"
for p in mainmenu options keys capture intro ingame scene1 scene2 scene3 textures sprites weapons; do
  [ -s "$TMP/$p.bmp" ] || fail "brawnwick-preview wrote no $p.bmp"
done
echo "[test_tools_level] ok"
