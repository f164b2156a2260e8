#!/usr/bin/env bash
# A missing picture or datafile ends the program with its exact message and exit code 1,
# leaving an existing settings file as it was.
. "$(dirname "$0")/lib.sh"
e2e_setup

e2e_write_settings 1 3
cp "$RUN/settings" "$E2E_TMP/settings.orig"

check_missing() {
  local file=$1 message=$2 leave_intro=${3:-}
  mv "$RUN/$file" "$E2E_TMP/moved"
  e2e_start
  if [ -n "$leave_intro" ]; then
    e2e_wait_window
    sleep 0.5
    e2e_key space
  fi
  e2e_wait_exit 20
  mv "$E2E_TMP/moved" "$RUN/$file"
  [ "$E2E_RC" = 1 ] || fail "missing $file: exit code $E2E_RC, expected 1"
  e2e_expect_stderr "$message"
  cmp -s "$RUN/settings" "$E2E_TMP/settings.orig" || fail "missing $file changed the settings file"
  log "missing $file: ok"
}

check_missing gfx/mainmenu.tga 'Error006: Loading bitmap "gfx/mainmenu.tga" failed'
check_missing gfx/crosshair.tga 'Error006: Loading bitmap "gfx/crosshair.tga" failed'
check_missing data/data.dat 'Error007: Loading datafile "data/data.dat" failed'
check_missing data/intro.dat 'Error007: Loading datafile "data/intro.dat" failed'
check_missing gfx/button.tga 'Error006: Loading bitmap "gfx/button.tga" failed' leave-intro
# Without a display the library cannot start: a clear message, code 1, settings untouched.
(cd "$RUN" && env -u DISPLAY PATH="$E2E_TMP/nobin" "$BRAWNWICK_BIN" > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err") && rc=0 || rc=$?
[ "$rc" = 1 ] || fail "without a display: exit code $rc"
grep -q "could not start" "$E2E_TMP/game.err" || fail "without a display: no message on stderr"
cmp -s "$RUN/settings" "$E2E_TMP/settings.orig" || fail "without a display the settings changed"
log "PASS"
