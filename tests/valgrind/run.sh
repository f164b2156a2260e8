#!/usr/bin/env bash
# The real game under Valgrind's memcheck in a real window: intro, main menu, a few seconds of
# a campaign, the quit question, the options screen, exit. Fails on any invalid read or write,
# use of uninitialised values, bad free, or definitely lost memory that is not the library's
# own (allegro.supp says which and why).
#
# Environment as for the end-to-end tests (BRAWNWICK_BIN, BRAWNWICK_ROOT, BMP_PROBE).
# VALGRIND_LOG=path keeps the full report.
. "$(cd "$(dirname "$0")/../e2e" && pwd)/lib.sh"
E2E_NAME=valgrind
command -v valgrind > /dev/null || fail "valgrind is not installed"
# No key repeat: under the emulator a key must be held for several frames to be seen at all,
# and a held Esc repeating into the quit question would answer it "Oh no!".
E2E_XVFB_ARGS=-r
e2e_setup
HERE=$(cd "$(dirname "$0")" && pwd)
REAL_BIN=$BRAWNWICK_BIN
LOG="$E2E_TMP/memcheck.log"

cat > "$E2E_TMP/under-valgrind" <<WRAP
#!/bin/sh
exec $(command -v valgrind) --tool=memcheck --error-exitcode=99 --leak-check=full \
  --show-leak-kinds=definite --errors-for-leak-kinds=definite \
  --num-callers=30 --suppressions="$HERE/allegro.supp" --gen-suppressions=all \
  --log-file="$LOG" "$REAL_BIN" "\$@"
WRAP
chmod +x "$E2E_TMP/under-valgrind"
BRAWNWICK_BIN="$E2E_TMP/under-valgrind"

# A later start: window, no vsync, default keys, 32 bits.
e2e_write_settings
# A small game window keeps the campaign's frames affordable under the emulator.
echo "320 240" > "$RUN/resolution.txt"

# Under the emulator a frame takes a good part of a second: keys are held long enough for a
# frame to see them (each press still counts once), and the screens get time to follow.
slow_key() { e2e_key "$1" "${2:-1500}"; sleep "${3:-3}"; }
# The size of the picture F9 saves tells the menus (800 x 600) from the campaign (320 x 240).
# A level loading or a window changing mode may miss a press, so F9 is pressed until a picture
# comes; a picture more does no harm.
shown_size() {
  local before tries n
  before=$(ls "$RUN/screenshots" | wc -l)
  for tries in 1 2 3 4 5 6; do
    e2e_refocus 0 0
    e2e_key F9 1500
    for n in $(seq 1 20); do
      if [ "$(ls "$RUN/screenshots" | wc -l)" -gt "$before" ]; then
        sleep 1
        e2e_size "$(ls -t "$RUN"/screenshots/*.bmp | head -n1)"
        return
      fi
      sleep 0.5
    done
  done
  echo none
}

e2e_start
e2e_wait_window 120
sleep 10                   # the intro plays a while
slow_key space 1500 6      # leaves the intro
for attempt in 1 2 3 4 5; do   # "New Game"
  slow_key Return 1500 2
  e2e_refocus 12 0.5
  seen=$(shown_size)
  [ "$seen" = "320 240" ] && break
  log "no campaign yet after attempt $attempt (picture: $seen)"
  [ $attempt = 5 ] && fail "no campaign started"
done
e2e_key w 4000             # a few seconds of play: walk, turn, fire
e2e_key Left 3000
e2e_key space 3000
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during play"
for attempt in 1 2 3 4 5; do   # the quit question, "Yes"
  slow_key Escape 3000 10
  slow_key Return 400 3
  e2e_refocus 10 0.5
  seen=$(shown_size)
  [ "$seen" = "800 600" ] && break
  log "still in the campaign after attempt $attempt (picture: $seen)"
  [ $attempt = 5 ] && fail "the campaign could not be left"
done
# The menus come back with the pointer in the middle, over a row; a move to where the pointer
# already is sends no motion, hence the step aside first.
xdotool mousemove 3 3 2>/dev/null || true
e2e_park_mouse
sleep 2
slow_key Down 1500 4       # "Options"
slow_key Return 1500 8
slow_key Up 1500 4         # from the first row up to the last: "Exit discarding changes"
slow_key Return 1500 8
slow_key Down 1500 4       # the main menu reopens on "Options": Down is "Exit"
slow_key Return 1500 3
e2e_wait_exit 300
[ -n "${VALGRIND_LOG:-}" ] && cp "$LOG" "$VALGRIND_LOG"
summary=$(grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|suppressed:" "$LOG" | sed 's/^==[0-9]*== //')
echo "$summary"
if [ "$E2E_RC" != 0 ]; then
  # The first reports, with their stacks, then the verdict.
  grep -v '^==[0-9]*== *$' "$LOG" | grep -A40 -m3 -E "Invalid|uninitialised|definitely lost|Mismatched|free\(\)" >&2 || true
  fail "memcheck found errors (exit code $E2E_RC); full log with VALGRIND_LOG=path"
fi
grep -q "ERROR SUMMARY: 0 errors" "$LOG" || fail "memcheck reported errors"
log "PASS"
