#!/usr/bin/env bash
# A first level that cannot be played: missing, cut short, made of other bytes, naming a
# texture that is not there or one whose side is not a power of two. The game ends with
# Error010 and the reason the level tool gives, or Error006 with the texture's path; exit code
# 1, the settings file as it was.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/fault_cases.sh"
e2e_setup
fault_write_settings
MAPTOOL="$BRAWNWICK_BUILD/brawnwick-map"
[ -x "$MAPTOOL" ] || fail "level tool not built: $MAPTOOL"
HEAD='Error010: Could not load map "maps/0.map" for the following reason:'

fault_missing maps/0.map campaign "$HEAD" 'File not found'

# The reason the game gives must be the one "brawnwick-map check" gives for the same file.
tool_reason() {
  local bad=$1 rc=0
  cp "$bad" "$RUN/maps/probe.map"
  (cd "$RUN" && "$MAPTOOL" check maps/probe.map) > /dev/null 2> "$E2E_TMP/tool.err" || rc=$?
  rm -f "$RUN/maps/probe.map"
  [ "$rc" = 1 ] || fail "brawnwick-map check accepted $(basename "$bad") (exit $rc)"
  sed -n 's/^brawnwick-map: maps\/probe\.map: //p' "$E2E_TMP/tool.err"
}

size=$(stat -c %s "$RUN/maps/0.map")
head -c $((size / 2)) "$RUN/maps/0.map" > "$E2E_TMP/half.map"
head -c 3 "$RUN/maps/0.map" > "$E2E_TMP/three-bytes.map"
head -c 2000 /dev/urandom > "$E2E_TMP/random.map"
: > "$E2E_TMP/empty.map"
for bad in half three-bytes random empty; do
  reason=$(tool_reason "$E2E_TMP/$bad.map")
  [ -n "$reason" ] || fail "the level tool gave no reason for $bad.map"
  fault_replaced maps/0.map "$E2E_TMP/$bad.map" campaign "$HEAD" "$reason"
done

# Textures: the first level's source with one wall texture replaced.
"$MAPTOOL" decompile "$RUN/maps/0.map" > "$E2E_TMP/level.txt"
first_wall=$(grep -m1 -o 'gfx/walls/[A-Za-z0-9_]*\.bmp' "$E2E_TMP/level.txt")
[ -n "$first_wall" ] || fail "no wall texture in the first level"
sed "s#$first_wall#gfx/walls/not-there.bmp#" "$E2E_TMP/level.txt" > "$E2E_TMP/missing.txt"
"$MAPTOOL" compile "$E2E_TMP/missing.txt" "$E2E_TMP/missing-texture.map"
fault_replaced maps/0.map "$E2E_TMP/missing-texture.map" campaign \
  'Error006: Loading bitmap "gfx/walls/not-there.bmp" failed'

cp "$BRAWNWICK_ROOT/tests/data/level/odd.bmp" "$RUN/gfx/walls/odd-side.bmp"
read -r ow oh <<< "$(e2e_size "$RUN/gfx/walls/odd-side.bmp")"
[ $((ow & (ow - 1))) -ne 0 ] || [ $((oh & (oh - 1))) -ne 0 ] || fail "odd.bmp has power-of-two sides"
sed "s#$first_wall#gfx/walls/odd-side.bmp#" "$E2E_TMP/level.txt" > "$E2E_TMP/odd.txt"
"$MAPTOOL" compile "$E2E_TMP/odd.txt" "$E2E_TMP/odd-texture.map"
fault_replaced maps/0.map "$E2E_TMP/odd-texture.map" campaign \
  'Error006: Loading bitmap "gfx/walls/odd-side.bmp" failed'
log "PASS"
