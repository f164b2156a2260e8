#!/usr/bin/env bash
# brawnwick-play in a real window: a level the bot wins, a level quit through the question after
# an F9 screenshot at the resolution of resolution.txt, a level lost to a mob, and the levels it
# refuses before a window opens. Each row: name, extra arguments, keys, exit code, what it prints.
. "$(dirname "$0")/lib.sh"
BRAWNWICK_BIN="$BRAWNWICK_BUILD/brawnwick-play" MAP="$BRAWNWICK_BUILD/brawnwick-map"
e2e_setup

# A room with one monster in front of the start (won), behind it (never seen: the level waits),
# and with a mob around the start (lost); its monster is a PNG with alpha, its walls a BMP as GIMP saves it.
cp "$BRAWNWICK_ROOT/tests/data/pictures/alpha.png" "$BRAWNWICK_ROOT/tests/data/pictures/gimp.bmp" "$RUN/gfx/"
room() {
  printf '%s\n' "texture gfx/alpha.png" "texture gfx/gimp.bmp" "texture gfx/floors/flagstone.bmp" \
    "texture gfx/ceilings/beams.bmp" "start $1 2.5" "wall # 1" "floor . 2 3" \
    map "########" "#......#" "#......#" "#......#" "########" end "${@:2}"
}
room 6.5 "sprite 2.5 2.5 health 1 texture 0" > "$RUN/won.txt"
room 2.5 "sprite 6.5 2.5 health 1 texture 0" > "$RUN/wait.txt"
{ room 6.5; for y in 1.5 2.5 3.5; do for x in 4.5 5.2; do echo "sprite $x $y health 4 texture 0"; done; done; } > "$RUN/mob.txt"
sed 's#gfx/gimp.bmp#gfx/walls/nothing.bmp#' "$RUN/won.txt" > "$RUN/broken.txt"
for l in won wait mob broken; do "$MAP" compile "$RUN/$l.txt" "$RUN/$l.map"; done
echo "640 480" > "$RUN/resolution.txt"

rows=(
  "won|won.map --playtest|-|0|won.map: won"
  "quit|wait.map|F9 Escape Return|3|wait.map: quit"
  "lost|mob.map|-|1|mob.map: lost"
  "broken|broken.map|-|2|gfx/walls/nothing.bmp: file not found"
  "usage|won.map --frobnicate|-|2|usage: brawnwick-play"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name args keys code text <<< "$row"
  # Screen mode 0 plays in a window and is written back as 2: the mark that the settings were saved.
  e2e_write_settings 0 7
  printf '\000' | dd of="$RUN/settings" bs=1 conv=notrunc 2> /dev/null
  rm -f "$RUN"/screenshots/*
  # shellcheck disable=SC2086
  e2e_start $args
  if [ "$keys" != - ]; then
    e2e_wait_window
    e2e_refocus 1.5
    for k in $keys; do
      [ "$k" = F9 ] && { shot=$(e2e_screenshot); continue; }
      e2e_key "$k"; sleep 0.5
    done
  fi
  e2e_wait_exit 60
  [ "$E2E_RC" = "$code" ] || fail "$name: exit code $E2E_RC, expected $code"
  grep -qF -- "$text" "$E2E_TMP/game.out" "$E2E_TMP/game.err" || fail "$name: did not say '$text'"
  saved=2; [ "$code" = 2 ] && saved=0
  [ "$(e2e_byte_at "$RUN/settings" 0)" = $saved ] || fail "$name: settings written back: $(e2e_byte_at "$RUN/settings" 0) != $saved"
  if [ "$keys" != - ]; then
    [ "$(e2e_size "$shot")" = "640 480" ] || fail "$name: the level ran at $(e2e_size "$shot"), not 640 x 480"
    [ "$(e2e_pixel "$shot" 10 10)" = "255 0 0" ] || fail "$name: no health bar in the level's frame"
    [ "$(e2e_int_at "$RUN/settings" 57)" = 8 ] || fail "$name: the screenshot number was not written back"
  fi
  log "$name: ok"
done
log "PASS"
