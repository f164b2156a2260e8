#!/usr/bin/env bash
# Levels through Tiled without a window: every shipped level saved unchanged compiles to the same
# level file; edits come back as a few changed lines; edits the game cannot take are refused.
set -euo pipefail
ROOT="${BRAWNWICK_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
MAP="${BRAWNWICK_BUILD:-$ROOT/build}/brawnwick-map"
TMP=$(mktemp -d /tmp/brawnwick-tiled-XXXXXX)
trap 'rm -rf "$TMP"' EXIT
cd "$ROOT"
fail() { echo "[test_tiled_roundtrip] FAIL: $*" >&2; exit 1; }

for src in levels/*.txt; do
  tools/tiled/roundtrip "$src" "$TMP/saved.txt" || fail "$src did not round-trip"
  "$MAP" compile "$src" "$TMP/before.map" && "$MAP" compile "$TMP/saved.txt" "$TMP/after.map"
  cmp -s "$TMP/before.map" "$TMP/after.map" || fail "$src saved from Tiled compiles to other bytes"
done

# A test extension opens NAME.edit (a source's path, then script lines) and edits the map as a
# level maker would before it is saved through the Brawnwick format.
mkdir -p "$TMP/home/tiled/extensions/test" && chmod 700 "$TMP/home" && ln -s "$ROOT/tools/tiled" "$TMP/home/tiled/extensions/brawnwick"
cat > "$TMP/home/tiled/extensions/test/edit.js" << 'EOF'
tiled.registerMapFormat("edit", {name: "edit", extension: "edit", read: fileName => {
  const file = new TextFile(fileName, TextFile.ReadOnly), lines = file.readAll().split("\n");
  const map = tiled.mapFormat("brawnwick").read(lines[0]), tiles = map.tilesets[0].tiles;
  new Function("map", "tiles", "layer", lines.slice(1).join("\n"))(map, tiles, n => map.layers.find(l => l.name === n));
  return map;
}});
EOF
edit() {  # edit NAME SCRIPT: saves tests/data/level/room.txt, edited, as $TMP/NAME.txt
  printf '%s\n%s\n' "$ROOT/tests/data/level/room.txt" "$2" > "$TMP/$1.edit"
  HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/home" XDG_RUNTIME_DIR="$TMP/home" QT_QPA_PLATFORM=offscreen \
    tiled --export-map brawnwick "$TMP/$1.edit" "$TMP/$1.txt" > "$TMP/$1.err" 2>&1
}

edit moved 'layer("sprites").objects[0].x = 272; layer("sprites").objects[0].y = 224; map.setProperty("sky", "10 20 30");
const e = layer("floors").edit(); e.setTile(1, 1, tiles[2]); e.apply();
const c = layer("ceilings").edit(); c.setTile(1, 1, map.tilesets[1].tiles[0]); c.apply();
const o = new MapObject("new"); o.tile = tiles[1]; o.x = 160; o.y = 96; layer("sprites").addObject(o);' \
  || fail "edited room not saved: $(cat "$TMP/moved.err")"
diff tests/data/level/room.txt "$TMP/moved.txt" | grep '^>' > "$TMP/changed" || true
printf '%s\n' '> sky 10 20 30' '> floor : 2 sky' '> #:.,,.#' '> sprite 4.25 3.5 health 1 texture 0' \
  '> sprite 2.5 1.5 health 2 texture 1' | cmp -s - "$TMP/changed" || fail "edits came back as: $(cat "$TMP/changed")"
"$MAP" compile "$TMP/moved.txt" "$TMP/moved.map" || fail "the edited room does not compile"

# Refused: a sprite dragged off the map (by the compiler, naming the line), a cell left without floor.
edit off 'layer("sprites").objects[1].x = -32;' || fail "room with a sprite off the map not saved"
"$MAP" compile "$TMP/off.txt" "$TMP/off.map" 2> "$TMP/off.err" && fail "a sprite off the map compiled"
grep -q "off.txt: line 21: sprite 1 at (-0.5, 3.5) is outside the map" "$TMP/off.err" || fail "off map: $(cat "$TMP/off.err")"
edit hole 'const e = layer("floors").edit(); e.setTile(2, 3, null); e.apply();' && fail "a cell without floor was saved"
grep -q "cell (2, 3) has neither a wall nor a floor" "$TMP/hole.err" || fail "no floor: $(cat "$TMP/hole.err")"
[ ! -e "$TMP/hole.txt" ] || fail "a refused save wrote a file"
