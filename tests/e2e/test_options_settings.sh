#!/usr/bin/env bash
# Through the real options and key assignment screens: the SFX volume lowered with the held
# Left arrow and "Move forward" reassigned to Q are in the settings file after "Exit saving
# changes" and a normal exit; after "Exit discarding changes" the file comes back unchanged.
# An F9 screenshot taken inside the options screen keeps its number.
. "$(dirname "$0")/lib.sh"
e2e_setup

# A later start (window, no vsync, default keys, 32 bits, full volumes), so any key leaves the intro.
write_settings() { e2e_write_settings; }

# From the start of the game to the options screen: leave the intro, Down skips "Hiscore".
to_options() {
  e2e_start
  e2e_wait_window
  sleep 1
  e2e_key space
  sleep 0.7
  # The server outlives the runs: parking where the pointer already is sends no motion, and a
  # game that saw none keeps its pointer in the middle, over an options row. Park it again now.
  xdotool mousemove 3 3 2>/dev/null || true
  e2e_park_mouse
  e2e_keys Down Return
  sleep 0.5
}

# From the options screen's first row: lower the SFX volume for about a second, then give
# "Move forward" the key Q. Ends on "Controls".
change_things() {
  e2e_keys Down Down Down          # "SFX volume"
  e2e_key Left 1000
  e2e_keys Down Down Return        # "Controls", the key list opens on "Move forward"
  sleep 0.3
  e2e_key Return                   # capture for "Move forward"
  sleep 0.3
  e2e_key q
  sleep 0.3
  e2e_keys Up Return               # "Finished"
  sleep 0.3
}

# --- saving --------------------------------------------------------------------------------
write_settings
to_options
change_things
shot=$(e2e_screenshot)             # inside the options screen
e2e_keys Down Return               # "Exit saving changes"
sleep 0.5
e2e_keys Down Return               # the main menu reopens on "Options"; Down is "Exit"
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "exit after saving ended with code $E2E_RC"
[ "$(basename "$shot")" = screenshot00000.bmp ] || fail "unexpected screenshot name $shot"
[ "$(stat -c %s "$RUN/settings")" = 61 ] || fail "settings file is not 61 bytes"

forward=$(e2e_int_at "$RUN/settings" 10)
[ "$forward" = 17 ] || fail "keyForward is $forward, expected 17 (Q)"
sfx=$(e2e_byte_at "$RUN/settings" 55)
# One step per tick at 32 ticks a second: about 32 steps for the one-second hold.
[ "$sfx" -lt 245 ] && [ "$sfx" -gt 180 ] || fail "sfxVolume is $sfx after holding Left for a second"
[ "$(e2e_byte_at "$RUN/settings" 56)" = 175 ] || fail "musicVolume changed"
[ "$(e2e_int_at "$RUN/settings" 51)" = 32 ] || fail "colorDepth changed"
[ "$(e2e_int_at "$RUN/settings" 57)" = 1 ] || fail "the screenshot number was rolled back"
for off in 2 6 14 18 22; do
  cmp -s <(e2e_int_at "$RUN/settings" $off) <(echo 0) && fail "key at offset $off was cleared"
done
log "saved: sfxVolume $sfx, keyForward Q, screenshot number kept"

# --- discarding ----------------------------------------------------------------------------
write_settings
cp "$RUN/settings" "$E2E_TMP/settings.before"
to_options
change_things
e2e_keys Down Down Return          # "Exit discarding changes"
sleep 0.5
e2e_keys Down Return               # "Exit"
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "exit after discarding ended with code $E2E_RC"
cmp -s "$RUN/settings" "$E2E_TMP/settings.before" ||
  fail "settings changed after discarding: $(cmp -l "$RUN/settings" "$E2E_TMP/settings.before" | head -5)"
log "discarded: settings file unchanged"
