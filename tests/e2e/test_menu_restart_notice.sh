#!/usr/bin/env bash
# A colour depth saved in the options brings the restart notice: the main menu then lets only
# "Exit" be chosen, so Up and Enter end the program, and the new depth is in the settings file.
. "$(dirname "$0")/lib.sh"
e2e_setup

e2e_write_settings

e2e_start
e2e_wait_window
sleep 1
e2e_key space                 # leaves the intro
sleep 0.7
e2e_keys Down Return          # "Options"
sleep 0.5
e2e_keys Down Right           # "Color depth": 16
e2e_keys Up Up Up Return      # wraps to "Exit saving changes"
sleep 0.7
shot=$(e2e_screenshot)
[ "$(e2e_pixel "$shot" 400 112)" != "$(e2e_pixel "$shot" 400 487)" ] || fail "\"Exit\" is not the selected button"
e2e_keys Escape Up Return     # without the notice Up would reach "New Game"
e2e_wait_exit 30
[ "$E2E_RC" = 0 ] || fail "exit ended with code $E2E_RC"
[ "$(e2e_int_at "$RUN/settings" 51)" = 16 ] || fail "colorDepth is $(e2e_int_at "$RUN/settings" 51), expected 16"
log "restart notice leaves only Exit; colour depth 16 saved"
