#!/usr/bin/env bash
# Shared by the test_fault_*.sh scripts: one Xvfb, many runs of the game, each broken in one
# way, each judged by its exact message on standard error, exit code 1 and an untouched
# settings file. Source after lib.sh and e2e_setup.

# A later start (window, no vsync, default keys, 32 bits), so any key leaves the intro.
fault_write_settings() {
  e2e_write_settings 0 7
  cp "$RUN/settings" "$E2E_TMP/settings.orig"
}

# Runs the game until it ends. With "campaign", Return is pressed until it does: the first
# press leaves the intro, the next one chooses "New Game".
fault_run() {
  local how=$1 n=0 wid
  e2e_start
  if [ "$how" = campaign ]; then
    while kill -0 "$GAME_PID" 2>/dev/null; do
      # Looked up on every pass: a window that changed mode may be a new one.
      wid=$(xdotool search --name "$WINDOW_TITLE" 2>/dev/null | head -n1 || true)
      if [ -n "$wid" ] && [ "$wid" != "${GAME_WINDOW:-}" ]; then
        GAME_WINDOW=$wid
        e2e_park_mouse
      fi
      if [ -n "$wid" ]; then
        sleep 0.5
        xdotool windowfocus "$wid" 2>/dev/null || true
        e2e_park_mouse
        xdotool keydown Return 2>/dev/null || true
        sleep 0.15
        xdotool keyup Return 2>/dev/null || true
      fi
      sleep 0.3; n=$((n + 1))
      if [ $n -gt 100 ]; then
        local seen="no window" said="nothing"
        [ -n "$wid" ] && seen="window $wid, focus on $(xdotool getwindowfocus 2>/dev/null || echo none)"
        grep -q '^Error' "$E2E_TMP/game.err" && said="its message"
        fail "$CASE: the game did not end ($seen; it had written $said)"
      fi
    done
  fi
  e2e_wait_exit 40
  GAME_WINDOW=""
}

# fault_check NAME MESSAGE [REASON-LINE]: exit code 1, the message as a line of standard error
# (and the line after it, for messages of two lines), settings unchanged.
fault_check() {
  local name=$1 message=$2 second=${3:-}
  [ "$E2E_RC" = 1 ] || fail "$name: exit code $E2E_RC, expected 1"
  if [ -n "$second" ]; then
    grep -A1 -xF -- "$message" "$E2E_TMP/game.err" | tail -n +2 | grep -qxF -- "$second" ||
      fail "$name: expected on stderr: $message / $second"
  else
    e2e_expect_stderr "$message"
  fi
  # Nothing else on standard error (a sound-less machine's audio library may complain): no
  # sanitizer report, no second message.
  local lines want=1
  [ -n "$second" ] && want=2
  lines=$(grep -vc '^ALSA lib ' "$E2E_TMP/game.err" || true)
  [ "$lines" = "$want" ] || fail "$name: unexpected output on stderr"
  cmp -s "$RUN/settings" "$E2E_TMP/settings.orig" || fail "$name: the settings file changed"
  log "$name: ok"
}

# fault_missing FILE HOW MESSAGE [SECOND]: the file moved away for one run.
fault_missing() {
  local file=$1 how=$2 message=$3 second=${4:-}
  CASE="missing $file"
  mv "$RUN/$file" "$E2E_TMP/moved"
  fault_run "$how"
  mv "$E2E_TMP/moved" "$RUN/$file"
  fault_check "$CASE" "$message" "$second"
}

# fault_replaced FILE CONTENT-FILE HOW MESSAGE [SECOND]: the file replaced for one run.
fault_replaced() {
  local file=$1 content=$2 how=$3 message=$4 second=${5:-}
  CASE="damaged $file ($(basename "$content"))"
  cp "$RUN/$file" "$E2E_TMP/saved"
  cp "$content" "$RUN/$file"
  fault_run "$how"
  cp "$E2E_TMP/saved" "$RUN/$file"
  fault_check "$CASE" "$message" "$second"
}
