#!/usr/bin/env bash
# First start: the intro cannot be left early, the menu's Exit writes the default settings,
# F9 numbers screenshots across runs, and a later start leaves the intro at the first key.
. "$(dirname "$0")/lib.sh"
e2e_setup

e2e_start
e2e_wait_window
sleep 1.5
e2e_key Return            # far too early on a first start: ignored
sleep 0.5
e2e_keys Down Down Return # would choose "Exit" if the menu were already there
sleep 1.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the first-start intro was left before its lock ended"

sleep 4                   # past tick 210: the web address is fully lit
e2e_key Return
sleep 1
shot=$(e2e_screenshot)
[ "$(basename "$shot")" = screenshot00000.bmp ] || fail "first screenshot is $shot"
[ "$(e2e_size "$shot")" = "800 600" ] || fail "menu screenshot is not 800 x 600"
e2e_keys Down Down Return
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "Exit ended with code $E2E_RC"

s="$RUN/settings"
[ "$(stat -c %s "$s")" = 61 ] || fail "settings is not 61 bytes"
[ "$(e2e_byte_at "$s" 1)" = 1 ] || fail "vsync default"
[ "$(e2e_int_at "$s" 2)" = 82 ] || fail "turn left default"
[ "$(e2e_int_at "$s" 10)" = 23 ] || fail "forward default"
[ "$(e2e_int_at "$s" 22)" = 75 ] || fail "shoot default"
[ "$(e2e_int_at "$s" 46)" = 4 ] || fail "strafe right default"
[ "$(e2e_byte_at "$s" 50)" = 4 ] || fail "frame skip default"
[ "$(e2e_byte_at "$s" 55)" = 255 ] || fail "sfx volume default"
[ "$(e2e_byte_at "$s" 56)" = 175 ] || fail "music volume default"
[ "$(e2e_int_at "$s" 57)" = 1 ] || fail "screenshot number not carried into the settings"

# A later start: any key ends the intro at once.
e2e_start
e2e_wait_window
sleep 0.5
e2e_key space
sleep 0.7
shot=$(e2e_screenshot)
[ "$(basename "$shot")" = screenshot00001.bmp ] || fail "second run's screenshot is $shot"
e2e_keys Down Down Return
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "second Exit ended with code $E2E_RC"
[ "$(e2e_int_at "$s" 57)" = 2 ] || fail "screenshot number after the second run"
log "PASS"
