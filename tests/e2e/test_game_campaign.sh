#!/usr/bin/env bash
# A whole campaign on two test levels: the monster ahead is shot down in each, the next level is
# announced, the congratulation screen saves its own screenshot at the game resolution and a key
# brings the 800 x 600 menu back. Then a level whose monsters overrun the player uses up all
# three lives and the campaign returns to the menu by itself.
. "$(dirname "$0")/lib.sh"
e2e_setup

MAPTOOL="$BRAWNWICK_BUILD/brawnwick-map"
[ -x "$MAPTOOL" ] || fail "level compiler not built: $MAPTOOL"

printf '\002\000' > "$RUN/settings"
for k in 82 83 23 19 5 75 84 85 64 13 1 4; do
  printf "\\$(printf %03o "$k")\\000\\000\\000" >> "$RUN/settings"
done
printf '\004\040\000\000\000\377\257\000\000\000\000' >> "$RUN/settings"
echo "640 480" > "$RUN/resolution.txt"

# A corridor 40 cells long: the player at the east end looking west, sprites given as lines.
corridor_level() {
  local out=$1; shift
  local row
  row=$(printf '.%.0s' $(seq 1 40))
  {
    echo "texture gfx/sprites/monster0.bmp"
    echo "texture gfx/sprites/monster1.bmp"
    echo "texture gfx/sprites/monster2.bmp"
    echo "texture gfx/walls/stone.bmp"
    echo "texture gfx/floors/flagstone.bmp"
    echo "sky 120 140 210"
    echo "start 40.5 1.5"
    echo "wall # 3"
    echo "floor . 4 sky"
    echo "map"
    printf '#%.0s' $(seq 1 42); echo
    echo "#$row#"
    printf '#%.0s' $(seq 1 42); echo
    echo "end"
    for s in "$@"; do echo "sprite $s"; done
  } > "$E2E_TMP/level.txt"
  "$MAPTOOL" compile "$E2E_TMP/level.txt" "$out" || fail "test level did not compile"
}

start_game() {
  e2e_start
  e2e_wait_window
  sleep 1
  e2e_key space
  sleep 1
  e2e_key Return
  e2e_refocus
}

count_shots() { ls "$RUN/screenshots" | grep -c '^screenshot' || true; }

# --- won: one monster per level, far down the corridor ------------------------------------------
rm -f "$RUN"/maps/*.map
corridor_level "$RUN/maps/0.map" "2.5 1.5 health 1 texture 0"
corridor_level "$RUN/maps/1.map" "2.5 1.5 health 4 texture 2"
start_game
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended on level 0"
e2e_key space 1200      # the Hunter fires: the worth-1 monster falls, level 0 is won
sleep 1.5               # "Loading next level..."
e2e_key space 3500      # four hits for the heavy one
sleep 1
[ "$(count_shots)" = 1 ] || fail "the congratulation screen saved no screenshot"
congrats="$RUN/screenshots/screenshot00000.bmp"
[ "$(e2e_size "$congrats")" = "640 480" ] || fail "congratulation picture is $(e2e_size "$congrats")"
# The final score stands in white on black in the middle of the last game frame.
white=0
for x in $(seq 200 8 440); do
  for y in $(seq 240 4 330); do
    [ "$(e2e_pixel "$congrats" "$x" "$y")" = "255 255 255" ] && white=$((white + 1))
  done
done
[ "$white" -gt 10 ] || fail "no congratulation text on the final picture"
sleep 1                 # past the screen's one-second lock
e2e_key space
e2e_refocus
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "800 600" ] || fail "menu after the campaign is $(e2e_size "$shot")"
log "campaign won, congratulation screenshot, menu back: ok"

# --- lost: five monsters at once take all health, three times --------------------------------------
rm -f "$RUN"/maps/*.map
corridor_level "$RUN/maps/0.map" "36.5 1.5 health 1 texture 0" "36.5 1.5 health 1 texture 0" \
  "36.5 1.5 health 2 texture 1" "36.5 1.5 health 2 texture 1" "36.5 1.5 health 4 texture 2"
corridor_level "$RUN/maps/1.map"
before=$(count_shots)
e2e_key Return          # "New Game" again, from the menu that is still open
sleep 9                 # three overruns, each announced with "You died. Restarting level..."
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after the last life"
e2e_park_mouse
e2e_refocus
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "800 600" ] || fail "after the last life the screen is $(e2e_size "$shot"), not the menu"
[ "$(count_shots)" = $((before + 1)) ] || fail "a lost campaign saved a congratulation screenshot"
e2e_keys Down Down Return
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "Exit ended with code $E2E_RC"
log "PASS"
