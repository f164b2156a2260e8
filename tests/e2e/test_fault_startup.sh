#!/usr/bin/env bash
# The files read before the main menu, damaged rather than missing (the missing ones are in
# test_startup_errors.sh), and the pressed-button picture: each ends the game with its message,
# exit code 1 and the settings file as it was.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/fault_cases.sh"
e2e_setup
fault_write_settings

fault_missing gfx/buttonpressed.tga campaign 'Error006: Loading bitmap "gfx/buttonpressed.tga" failed'

# Datafiles cut short, emptied, or made of other bytes.
for dat in data/data.dat data/intro.dat; do
  head -c $(( $(stat -c %s "$RUN/$dat") / 2 )) "$RUN/$dat" > "$E2E_TMP/half.dat"
  : > "$E2E_TMP/empty.dat"
  head -c 4096 /dev/urandom > "$E2E_TMP/random.dat"
  # The right magic number, then nonsense: the reader must not trust the object headers.
  { head -c 8 "$RUN/$dat"; head -c 4096 /dev/urandom; } > "$E2E_TMP/magic-then-random.dat"
  for bad in half empty random magic-then-random; do
    fault_replaced "$dat" "$E2E_TMP/$bad.dat" campaign "Error007: Loading datafile \"$dat\" failed"
  done
done
# A datafile that loads but holds the wrong objects: the intro's data where the fonts belong.
fault_replaced data/data.dat "$RUN/data/intro.dat" campaign 'Error007: Loading datafile "data/data.dat" failed'
fault_replaced data/intro.dat "$RUN/data/data.dat" campaign 'Error007: Loading datafile "data/intro.dat" failed'

# Pictures that are not pictures.
for tga in gfx/mainmenu.tga gfx/crosshair.tga gfx/button.tga; do
  : > "$E2E_TMP/empty.tga"
  fault_replaced "$tga" "$E2E_TMP/empty.tga" campaign "Error006: Loading bitmap \"$tga\" failed"
done
log "PASS"
