#!/usr/bin/env bash
# The .deb unpacked into a scratch folder (never installed) and started through its launcher with
# a scratch HOME: the player's files land in the player's folder, a second start is a later start
# and numbers its screenshots on, a maps/ of the player's own stays, and the unpacked tree is
# byte for byte as it was. Only the normal build makes the package; elsewhere this skips.
. "$(dirname "$0")/lib.sh"
deb=$(ls "$BRAWNWICK_BUILD"/brawnwick_*_amd64.deb 2>/dev/null | head -n1 || true)
[ -n "$deb" ] || { log "SKIP: no package in $BRAWNWICK_BUILD (make package)"; exit 77; }
e2e_setup
tree="$E2E_TMP/unpacked tree" share="$E2E_TMP/unpacked tree/usr/share/games/brawnwick"
export HOME="$E2E_TMP/scratch home"  # spaces in both: the launcher must quote
unset XDG_DATA_HOME
RUN="$HOME/.local/share/brawnwick"
dpkg -x "$deb" "$tree"
listing() { (cd "$tree" && find . -printf '%p %y %m %s %l\n' | sort && find . -type f -exec sha256sum {} + | sort); }
listing > "$E2E_TMP/before"

start() { (exec "$tree/usr/games/brawnwick" > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err") & GAME_PID=$!; e2e_wait_window; }
# The top-left corner of the main menu is its background picture, untouched; the intro's is not.
menu_px=$(e2e_pixel "$share/gfx/mainmenu.tga" 10 10)
# Presses a key that ends the intro and does nothing in the menu, then F9, until the screenshot
# shows the menu; prints the number of tries.
leave_intro() {
  local tries
  for tries in $(seq "$1"); do
    e2e_key x; [ "$(e2e_pixel "$(e2e_screenshot)" 10 10)" = "$menu_px" ] && { echo "$tries"; return; }
  done
  fail "the intro did not end after $1 key presses"
}
exit_through_menu() {
  e2e_keys Down Down Return  # "Hiscore" is skipped: Options, Exit
  e2e_wait_exit 30
  [ "$E2E_RC" = 0 ] || fail "Exit ended with code $E2E_RC"
}
# --- first start: the player's folder is made ---------------------------------------------------
start
n=0; until [ -f "$RUN/settings" ]; do sleep 0.1; n=$((n + 1)); [ $n -le 100 ] || fail "no settings file"; done
sleep 7                    # a first start takes a key only once its last picture has faded in
first=$(leave_intro 20)
exit_through_menu
[ "$(stat -c %s "$RUN/settings")" = 61 ] || fail "settings is not 61 bytes"
count=$(e2e_int_at "$RUN/settings" 57)
[ "$count" = "$first" ] && [ -f "$RUN/screenshots/screenshot$(printf %05d $((count - 1))).bmp" ] ||
  fail "$first screenshots taken, the settings count $count"
[ -f "$RUN/resolution.txt" ] && [ ! -L "$RUN/resolution.txt" ] || fail "resolution.txt was not copied"
for d in data gfx sfx maps; do
  [ "$(readlink -f "$RUN/$d")" = "$(readlink -f "$share/$d")" ] || fail "$d/ is not a link to the package's"
done
log "first start: ok ($first presses to leave the intro)"

# --- a later start, with a campaign of the player's own -----------------------------------------
rm "$RUN/maps"; mkdir "$RUN/maps"; cp "$share/maps/0.map" "$RUN/maps/"
start
sleep 1
# A first start would ignore keys for 6.6 s; three tries take about three seconds.
later=$(leave_intro 3)
[ -f "$RUN/screenshots/screenshot$(printf %05d "$count").bmp" ] || fail "the later start did not number on from $count"
exit_through_menu
[ "$(e2e_int_at "$RUN/settings" 57)" = $((count + later)) ] || fail "screenshot count not saved"
[ -d "$RUN/maps" ] && [ ! -L "$RUN/maps" ] && [ -f "$RUN/maps/0.map" ] || fail "the player's own maps/ was replaced"
listing | diff "$E2E_TMP/before" - > "$E2E_TMP/changed" || fail "the unpacked tree changed: $(head -5 "$E2E_TMP/changed")"
log "PASS (a later start: $later press)"
