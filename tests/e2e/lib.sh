#!/usr/bin/env bash
# Harness of the end-to-end tests: the real game in a real window under a private Xvfb. A test
# calls e2e_setup, prepares $RUN (its own run folder), e2e_start, drives the game with e2e_key.
set -euo pipefail

: "${BRAWNWICK_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
: "${BRAWNWICK_BIN:=$BRAWNWICK_ROOT/build/brawnwick}"
: "${BMP_PROBE:=$BRAWNWICK_ROOT/build/tests/bmp-probe}"
: "${BRAWNWICK_BUILD:=$BRAWNWICK_ROOT/build}"

E2E_NAME=$(basename "${0%.sh}")
E2E_TMP="" XVFB_PID="" GAME_PID="" E2E_RC=""
WINDOW_TITLE="Brawnwick - Quenmoor"

log() { echo "[$E2E_NAME] $*"; }
fail() {
  echo "[$E2E_NAME] FAIL: $*" >&2
  local f
  for f in game.out game.err; do [ -s "${E2E_TMP:-/nonexistent}/$f" ] && { echo "--- $f:"; tail -20 "$E2E_TMP/$f"; } >&2; done
  # A game still running when a test gives up is stuck: say where.
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null && command -v gdb > /dev/null; then
    echo "--- where the game is:" >&2
    timeout 60 gdb -p "$GAME_PID" -batch -ex "thread apply all bt 25" 2>&1 | grep -E '^(Thread|#)' | head -120 >&2 || true
  fi
  exit 1
}
e2e_cleanup() {
  if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null && sleep 0.2; kill -9 "$GAME_PID" 2>/dev/null || true; fi
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"; return 0
}
# Makes $RUN, a copy of the run folder without settings or screenshots, and starts Xvfb.
e2e_setup() {
  [ -x "$BRAWNWICK_BIN" ] || fail "game binary not found: $BRAWNWICK_BIN"
  E2E_TMP=$(mktemp -d /tmp/brawnwick-e2e-XXXXXX)
  trap e2e_cleanup EXIT
  RUN="$E2E_TMP/run"; mkdir -p "$RUN/screenshots" "$E2E_TMP/nobin"
  local d attempt n waited
  for d in data gfx sfx maps; do [ -d "$BRAWNWICK_ROOT/$d" ] && cp -r "$BRAWNWICK_ROOT/$d" "$RUN/$d"; done
  [ -f "$BRAWNWICK_ROOT/resolution.txt" ] && cp "$BRAWNWICK_ROOT/resolution.txt" "$RUN/"
  # Tests run in parallel: a random free display. -noreset: a server that resets when its last
  # client leaves refuses connections meanwhile, and the next game could not open its window.
  for attempt in $(seq 1 30); do
    n=$((100 + RANDOM % 800)); [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset > "$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$! waited=0
    while kill -0 "$XVFB_PID" 2>/dev/null && ! xdpyinfo -display ":$n" > /dev/null 2>&1 && [ $waited -le 100 ]; do
      sleep 0.1; waited=$((waited + 1))
    done
    # Only when the lock file names our server is the display ours, not a twin's.
    if kill -0 "$XVFB_PID" 2>/dev/null && xdpyinfo -display ":$n" > /dev/null 2>&1 &&
       [ "$(tr -d ' \n' < "/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
      export DISPLAY=":$n"; break
    fi
    kill "$XVFB_PID" 2>/dev/null || true; XVFB_PID=""
  done
  [ -n "$XVFB_PID" ] || fail "Xvfb did not start"
  log "Xvfb on $DISPLAY, run folder $RUN"
}
# Without xmessage on its PATH the game's fatal messages go to stderr.
e2e_start() {
  (cd "$RUN" && exec env PATH="$E2E_TMP/nobin" "$BRAWNWICK_BIN" "$@" > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err") &
  GAME_PID=$! E2E_RC=""
}
# Waits until the game's window exists, and gives it the focus.
e2e_wait_window() {
  local timeout=${1:-30} n=0 wid=""
  until wid=$(xdotool search --name "$WINDOW_TITLE" 2>/dev/null | head -n1) && [ -n "$wid" ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.2; n=$((n + 1)); [ $n -le $((timeout * 5)) ] || fail "no game window after ${timeout}s"
  done
  GAME_WINDOW=$wid
  xdotool windowfocus "$wid" 2>/dev/null || true
  e2e_park_mouse
}
# The top-left corner hovers no button or row. Move away first: a pointer already there sends no
# motion and the game keeps its own in the middle. A mode change recentres the game's pointer and
# a motion across it can leave it off (seen: over "Options"), so every key parks it again.
e2e_park_mouse() {
  xdotool mousemove 40 40 2>/dev/null || true; sleep 0.05
  xdotool mousemove 2 2 2>/dev/null || true; sleep 0.05
}
# Holds a key (xdotool name) for the given milliseconds (default 150).
e2e_key() {
  if [ -n "${GAME_WINDOW:-}" ]; then xdotool windowfocus "$GAME_WINDOW" 2>/dev/null || true; e2e_park_mouse; fi
  xdotool keydown "$1"
  sleep "$(awk "BEGIN{print ${2:-150}/1000}")"
  xdotool keyup "$1"
  sleep 0.1
}
e2e_keys() { for k in "$@"; do e2e_key "$k"; done; }
# A settings file of a later start: window, default keys, frame skip 4, 32 bits, volumes 255 and
# 175. Arguments: vsync (default 0), screenshot number (0..255, default 0), file (default $RUN/settings).
e2e_write_settings() {
  local vsync=${1:-0} shots=${2:-0} f=${3:-$RUN/settings} k
  printf "\\002\\$(printf %03o "$vsync")" > "$f"
  for k in 82 83 23 19 5 75 84 85 64 13 1 4; do printf "\\$(printf %03o "$k")\\000\\000\\000" >> "$f"; done
  printf "\\004\\040\\000\\000\\000\\377\\257\\$(printf %03o "$shots")\\000\\000\\000" >> "$f"
  [ "$(stat -c %s "$f")" = 61 ] || fail "test settings file is not 61 bytes"
}
# A mode change re-creates the window and, without a window manager, loses its focus.
e2e_refocus() {  # [seconds before] [seconds after]
  sleep "${1:-1.5}"
  timeout 5 xdotool windowfocus --sync "$GAME_WINDOW" 2>/dev/null || true
  sleep "${2:-0.3}"
}
# Waits for the game to exit and sets E2E_RC.
e2e_wait_exit() {
  local timeout=${1:-20} n=0
  while kill -0 "$GAME_PID" 2>/dev/null; do
    sleep 0.1; n=$((n + 1)); [ $n -le $((timeout * 10)) ] || fail "the game did not exit within ${timeout}s"
  done
  set +e; wait "$GAME_PID"; E2E_RC=$?; set -e; GAME_PID=""
}
# Presses F9 and prints the path of the screenshot it wrote.
e2e_screenshot() {
  local before n=0
  before=$(ls "$RUN/screenshots" | grep -c '^screenshot' || true)
  e2e_key F9 150
  until [ "$(ls "$RUN/screenshots" | grep -c '^screenshot' || true)" -gt "$before" ]; do
    sleep 0.1; n=$((n + 1)); [ $n -le 50 ] || fail "F9 wrote no screenshot"
  done
  sleep 0.3
  ls -t "$RUN"/screenshots/screenshot*.bmp | head -n1
}
e2e_size() { "$BMP_PROBE" "$1"; }
e2e_pixel() { "$BMP_PROBE" "$1" "$2" "$3"; }
# Little-endian 32-bit int and byte at an offset of a file.
e2e_int_at() { od -An -v -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }
e2e_byte_at() { od -An -v -tu1 -j "$2" -N 1 "$1" | tr -d ' '; }
