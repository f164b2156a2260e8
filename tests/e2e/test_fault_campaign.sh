#!/usr/bin/env bash
# Every file a campaign loads before its first frame: each of the 18 weapon frames and the
# three shot sounds, missing or empty, ends the game with its message, exit code 1 and the
# settings file as it was.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/fault_cases.sh"
e2e_setup
fault_write_settings

: > "$E2E_TMP/empty"
for weapon in Hunter Impactcannon Buzzsaw; do
  for i in 1 2 3 4 5 6; do
    fault_missing "gfx/$weapon$i.bmp" campaign "Error006: Loading bitmap \"gfx/$weapon$i.bmp\" failed"
  done
done
fault_replaced gfx/Buzzsaw6.bmp "$E2E_TMP/empty" campaign 'Error006: Loading bitmap "gfx/Buzzsaw6.bmp" failed'
for i in 1 2 3; do
  fault_missing "sfx/shoot$i.wav" campaign "Error008: Loading sample \"sfx/shoot$i.wav\" failed"
done
fault_replaced sfx/shoot2.wav "$E2E_TMP/empty" campaign 'Error008: Loading sample "sfx/shoot2.wav" failed'
# A header that promises more sound than the file holds.
head -c 60 "$RUN/sfx/shoot3.wav" > "$E2E_TMP/short.wav"
fault_replaced sfx/shoot3.wav "$E2E_TMP/short.wav" campaign 'Error008: Loading sample "sfx/shoot3.wav" failed'
log "PASS"
