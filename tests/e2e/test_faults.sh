#!/usr/bin/env bash
# One fault of each family in the real program (no display, a start-up file, a menu picture, a
# campaign file, a level file): its message on standard error, exit code 1, the settings kept.
. "$(dirname "$0")/lib.sh"
e2e_setup
e2e_write_settings 0 7
cp "$RUN/settings" "$E2E_TMP/settings.orig"

# Return until the game ends: the first press leaves the intro, the next chooses "New Game".
run_until_end() {
  local n=0 wid
  e2e_start
  while kill -0 "$GAME_PID" 2>/dev/null && [ $n -lt 100 ]; do
    wid=$(xdotool search --name "$WINDOW_TITLE" 2>/dev/null | head -n1 || true)
    if [ -n "$wid" ]; then
      sleep 0.5
      xdotool windowfocus "$wid" 2>/dev/null || true
      e2e_park_mouse
      xdotool keydown Return 2>/dev/null || true
      sleep 0.15
      xdotool keyup Return 2>/dev/null || true
    fi
    sleep 0.3; n=$((n + 1))
  done
  e2e_wait_exit 40
}

: > "$E2E_TMP/empty"
head -c 3 "$RUN/maps/0.map" > "$E2E_TMP/three-bytes"
while IFS='|' read -r file bad message reason; do
  [ -n "$file" ] || continue
  cp "$RUN/$file" "$E2E_TMP/saved"
  if [ "$bad" = missing ]; then rm "$RUN/$file"; else cp "$E2E_TMP/$bad" "$RUN/$file"; fi
  run_until_end
  cp "$E2E_TMP/saved" "$RUN/$file"
  [ "$E2E_RC" = 1 ] || fail "$file $bad: exit code $E2E_RC, expected 1"
  grep -qxF -- "$message" "$E2E_TMP/game.err" || fail "$file $bad: expected on stderr: $message"
  [ -z "$reason" ] || grep -A1 -xF -- "$message" "$E2E_TMP/game.err" | tail -n1 | grep -qxF -- "$reason" ||
    fail "$file $bad: expected the reason $reason"
  cmp -s "$RUN/settings" "$E2E_TMP/settings.orig" || fail "$file $bad: the settings file changed"
  log "$file $bad: ok"
done <<'CASES'
data/data.dat|empty|Error007: Loading datafile "data/data.dat" failed|
gfx/buttonpressed.tga|missing|Error006: Loading bitmap "gfx/buttonpressed.tga" failed|
sfx/shoot2.wav|empty|Error008: Loading sample "sfx/shoot2.wav" failed|
maps/0.map|three-bytes|Error010: Could not load map "maps/0.map" for the following reason:|File is truncated
CASES

# Without a display the library cannot start: a clear message, code 1, settings untouched.
(cd "$RUN" && env -u DISPLAY "$BRAWNWICK_BIN" > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err") && rc=0 || rc=$?
[ "$rc" = 1 ] || fail "without a display: exit code $rc"
grep -q "could not start" "$E2E_TMP/game.err" || fail "without a display: no message on stderr"
cmp -s "$RUN/settings" "$E2E_TMP/settings.orig" || fail "without a display the settings changed"
log "PASS"
