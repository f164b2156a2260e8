#!/usr/bin/env bash
# "New Game" plays at the resolution of resolution.txt with the heads-up display, Esc and "Yes"
# bring the 800 x 600 menu back, an unusable resolution.txt plays at 800 x 600, and a missing
# first level ends with its exact message and exit code 1.
. "$(dirname "$0")/lib.sh"
e2e_setup

# A settings file of a later start (window, no vsync, default keys, 32 bits), so any key leaves the intro.
e2e_write_settings
[ -f "$RUN/maps/0.map" ] || fail "no maps/0.map to play"

start_game() {
  e2e_start
  e2e_wait_window
  sleep 1
  e2e_key space   # leaves the intro
  sleep 1
  e2e_key Return  # "New Game"
  e2e_refocus
}

is_red() { [ "$(e2e_pixel "$1" "$2" "$3")" = "255 0 0" ]; }

# --- 640 x 480 -------------------------------------------------------------------------------
echo "640 480" > "$RUN/resolution.txt"
start_game
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "640 480" ] || fail "game frame is $(e2e_size "$shot"), expected 640 480"
# Health bar: from (10, 10) to (10 + 5 * 124, 20).
for p in "10 10" "10 20" "320 15" "630 20"; do
  is_red "$shot" $p || fail "health bar not red at $p: $(e2e_pixel "$shot" $p)"
done
is_red "$shot" 631 15 && fail "health bar too long"
is_red "$shot" 10 21 && fail "health bar too high"

# The Hunter at rest stands on the bottom edge, centred: a square of 0.6 x 480 = 288 pixels
# from x = 176, stretched from gfx/Hunter1.bmp. Its bottom-centre pixel must be one of the
# picture's pixels around the matching spot (the stretch may round either way).
src="$RUN/gfx/Hunter1.bmp"
read -r sw sh <<< "$(e2e_size "$src")"
match=""
for probe in "320 479" "320 400" "300 460"; do
  read -r x y <<< "$probe"
  got=$(e2e_pixel "$shot" "$x" "$y")
  sx=$(( (x - 176) * sw / 288 )); sy=$(( (y - 192) * sh / 288 ))
  found=""
  for dx in -1 0 1; do for dy in -1 0 1; do
    px=$((sx + dx)); py=$((sy + dy))
    [ $px -ge 0 ] && [ $py -ge 0 ] && [ $px -lt "$sw" ] && [ $py -lt "$sh" ] || continue
    want=$(e2e_pixel "$src" $px $py)
    [ "$want" = "255 0 255" ] && continue
    [ "$got" = "$want" ] && found=1
  done; done
  [ -n "$found" ] && match=1
done
[ -n "$match" ] || fail "no pixel of the Hunter at the bottom centre"

e2e_key Escape
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at the quit question"
e2e_key Return    # the alert's first button, "Yes", has the focus
e2e_refocus
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "800 600" ] || fail "menu after quitting is $(e2e_size "$shot"), expected 800 600"
e2e_keys Down Down Return   # "Exit"
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "Exit after a campaign ended with code $E2E_RC"
log "640 x 480 game and return to the menu: ok"

# --- an unusable resolution.txt plays at 800 x 600 ----------------------------------------------
echo "640 by 480" > "$RUN/resolution.txt"
start_game
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "800 600" ] || fail "game with a bad resolution.txt is $(e2e_size "$shot")"
is_red "$shot" 790 15 || fail "health bar not full width at 800 x 600"
e2e_key Escape
sleep 1
e2e_key Return
e2e_refocus
e2e_keys Down Down Return
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "Exit ended with code $E2E_RC"
log "unusable resolution.txt: ok"

# --- missing first level ------------------------------------------------------------------------
rm -f "$RUN/maps/0.map"
start_game
e2e_wait_exit 20
[ "$E2E_RC" = 1 ] || fail "missing maps/0.map: exit code $E2E_RC, expected 1"
grep -A1 -xF 'Error010: Could not load map "maps/0.map" for the following reason:' "$E2E_TMP/game.err" \
  | tail -n1 | grep -qxF 'File not found' || fail "missing maps/0.map: message not on stderr"
log "PASS"
