#!/usr/bin/env bash
# The real game in a real window: a first start left by "Exit", a game at the resolution of
# resolution.txt quit through the question, and the options saving a lowered volume. The rules
# are tested in-process; this proves the window, keys and files.
. "$(dirname "$0")/lib.sh"
e2e_setup
s="$RUN/settings"

# --- first start to Exit ---------------------------------------------------------------------
e2e_start
e2e_wait_window
sleep 1.5
e2e_key Return            # far too early on a first start: ignored
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the first-start intro was left before its lock ended"
sleep 5                   # past tick 210: the web address is fully lit
e2e_key Return
sleep 1
shot=$(e2e_screenshot)
[ "$(basename "$shot")" = screenshot00000.bmp ] || fail "first screenshot is $shot"
[ "$(e2e_size "$shot")" = "800 600" ] || fail "menu screenshot is not 800 x 600"
e2e_keys Down Down Return # "Hiscore" is skipped: Options, Exit
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "Exit ended with code $E2E_RC"
[ "$(stat -c %s "$s")" = 61 ] || fail "settings is not 61 bytes"
[ "$(e2e_byte_at "$s" 55)" = 255 ] || fail "sfx volume default"
[ "$(e2e_int_at "$s" 57)" = 1 ] || fail "screenshot number not carried into the settings"
log "first start: ok"

# --- a game at 640 x 480, quit through the question ------------------------------------------
e2e_write_settings 0 1
echo "640 480" > "$RUN/resolution.txt"
e2e_start
e2e_wait_window
sleep 1
e2e_key space             # a later start leaves the intro at once
sleep 1
e2e_key Return            # "New Game"
e2e_refocus
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "640 480" ] || fail "game frame is $(e2e_size "$shot"), expected 640 480"
[ "$(e2e_pixel "$shot" 10 10)" = "255 0 0" ] || fail "no health bar in the game frame"
e2e_key Escape
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at the quit question"
e2e_key Return            # the question's first button, "Yes", has the focus
e2e_refocus
shot=$(e2e_screenshot)
[ "$(e2e_size "$shot")" = "800 600" ] || fail "menu after quitting is $(e2e_size "$shot")"
e2e_keys Down Down Return
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "Exit after a campaign ended with code $E2E_RC"
log "game and quit question: ok"

# --- options saved -----------------------------------------------------------------------------
e2e_write_settings
e2e_start
e2e_wait_window
sleep 1
e2e_key space
sleep 0.7
e2e_park_mouse            # a pointer resting on a row would select it at every step
e2e_keys Down Return      # "Options"
sleep 0.5
e2e_keys Down Down Down   # "SFX volume"
e2e_key Left 1000
e2e_keys Down Down Down Return  # "Exit saving changes"
sleep 0.5
e2e_keys Down Return      # the menu reopens on "Options"; Down is "Exit"
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "exit after saving ended with code $E2E_RC"
sfx=$(e2e_byte_at "$s" 55)
# One step per tick at 32 ticks a second: about 32 steps for the one-second hold.
[ "$sfx" -lt 245 ] && [ "$sfx" -gt 180 ] || fail "sfxVolume is $sfx after holding Left for a second"
log "PASS"
