#!/usr/bin/env bash
# Shared harness for the end-to-end tests: the real game in a real window under Xvfb.
#
# Environment (set by CTest): BRAWNWICK_BIN (the game), BRAWNWICK_ROOT (repository root),
# BMP_PROBE (picture reader), BRAWNWICK_BUILD (build folder).
#
# A test sources this file, calls e2e_setup, prepares $RUN (a private copy of the run folder),
# then e2e_start, drives the game with e2e_key, and judges screenshots and files.
set -euo pipefail

: "${BRAWNWICK_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
: "${BRAWNWICK_BIN:=$BRAWNWICK_ROOT/build/brawnwick}"
: "${BMP_PROBE:=$BRAWNWICK_ROOT/build/tests/bmp-probe}"
: "${BRAWNWICK_BUILD:=$BRAWNWICK_ROOT/build}"

E2E_NAME=$(basename "${0%.sh}")
E2E_TMP=""
XVFB_PID=""
GAME_PID=""
E2E_RC=""
WINDOW_TITLE="Brawnwick - Quenmoor"

log() { echo "[$E2E_NAME] $*"; }
fail() {
  echo "[$E2E_NAME] FAIL: $*" >&2
  if [ -n "$E2E_TMP" ]; then
    for f in "$E2E_TMP"/game.out "$E2E_TMP"/game.err; do
      [ -s "$f" ] && { echo "--- $(basename "$f"):" >&2; tail -20 "$f" >&2; }
    done
  fi
  # A game that still runs when a test gives up is stuck somewhere: say where.
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null && command -v gdb > /dev/null; then
    echo "--- where the game is:" >&2
    timeout 60 gdb -p "$GAME_PID" -batch -ex "thread apply all bt 25" 2>&1 |
      grep -E '^(Thread|#)' | head -120 >&2 || true
  fi
  exit 1
}

e2e_cleanup() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill "$GAME_PID" 2>/dev/null || true
    sleep 0.2
    kill -9 "$GAME_PID" 2>/dev/null || true
  fi
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "$E2E_TMP" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_TMP"
  return 0
}

# Makes $RUN, a copy of the run folder without settings or screenshots, and starts Xvfb.
e2e_setup() {
  [ -x "$BRAWNWICK_BIN" ] || fail "game binary not found: $BRAWNWICK_BIN"
  E2E_TMP=$(mktemp -d /tmp/brawnwick-e2e-XXXXXX)
  trap e2e_cleanup EXIT
  RUN="$E2E_TMP/run"
  mkdir -p "$RUN/screenshots" "$E2E_TMP/nobin"
  for d in data gfx sfx maps; do
    [ -d "$BRAWNWICK_ROOT/$d" ] && cp -r "$BRAWNWICK_ROOT/$d" "$RUN/$d"
  done
  [ -f "$BRAWNWICK_ROOT/resolution.txt" ] && cp "$BRAWNWICK_ROOT/resolution.txt" "$RUN/"
  # Tests run in parallel: take a random free display and make sure it is really ours.
  # -noreset: by default the server resets when its last client leaves and refuses
  # connections meanwhile, which made a game started right after another fail to open it.
  local attempt n
  for attempt in $(seq 1 30); do
    n=$((100 + RANDOM % 800))
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset ${E2E_XVFB_ARGS:-} > "$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local waited=0
    while kill -0 "$XVFB_PID" 2>/dev/null && ! xdpyinfo -display ":$n" > /dev/null 2>&1; do
      sleep 0.1; waited=$((waited + 1))
      [ $waited -gt 100 ] && break
    done
    # The server's lock file names its process: only then is the display ours, not a twin's.
    if kill -0 "$XVFB_PID" 2>/dev/null && xdpyinfo -display ":$n" > /dev/null 2>&1 &&
       [ "$(tr -d ' \n' < "/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
      export DISPLAY=":$n"
      break
    fi
    kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  done
  [ -n "$XVFB_PID" ] || fail "Xvfb did not start"
  log "Xvfb on $DISPLAY, run folder $RUN"
}

# Starts the game in $RUN (without xmessage on its PATH, so fatal messages go to stderr).
e2e_start() {
  (cd "$RUN" && exec env PATH="$E2E_TMP/nobin" "$BRAWNWICK_BIN" "$@" > "$E2E_TMP/game.out" 2> "$E2E_TMP/game.err") &
  GAME_PID=$!
  E2E_RC=""
}

# Waits until the game's window exists and has the keyboard focus.
e2e_wait_window() {
  local timeout=${1:-30} n=0 wid=""
  while [ -z "$wid" ]; do
    wid=$(xdotool search --name "$WINDOW_TITLE" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.2; n=$((n + 1))
    [ $n -gt $((timeout * 5)) ] && fail "no game window after ${timeout}s"
  done
  GAME_WINDOW=$wid
  xdotool windowfocus "$wid" 2>/dev/null || true
  e2e_park_mouse
}

# The pointer in the top-left corner hovers no button and no options row. The server outlives
# the runs, so the pointer may already be there: move it away first, or no motion reaches the
# game, which then keeps its pointer in the middle of the screen. Setting a screen mode also
# puts the game's pointer in the middle, and a motion that crosses it can leave the pointer
# off by the motion (seen: over "Options"), so keys park it again before each press.
e2e_park_mouse() {
  xdotool mousemove 40 40 2>/dev/null || true
  sleep 0.05
  xdotool mousemove 2 2 2>/dev/null || true
  sleep 0.05
}

# Holds a key (xdotool key name) for the given milliseconds (default 150).
e2e_key() {
  local k=$1 ms=${2:-150}
  if [ -n "${GAME_WINDOW:-}" ]; then
    xdotool windowfocus "$GAME_WINDOW" 2>/dev/null || true
    e2e_park_mouse
  fi
  xdotool keydown "$k"
  sleep "$(awk "BEGIN{print $ms/1000}")"
  xdotool keyup "$k"
  sleep 0.1
}

# Presses a sequence of keys one after the other.
e2e_keys() { for k in "$@"; do e2e_key "$k"; done; }

# Writes a 61-byte settings file of a later start, so any key leaves the intro: window mode,
# default keys, frame skip 4, 32 bits, volumes 255 and 175. Arguments: vsync (0 or 1, default 0),
# screenshot number (0..255, default 0), file (default $RUN/settings).
e2e_write_settings() {
  local vsync=${1:-0} shots=${2:-0} f=${3:-$RUN/settings} k
  printf "\\002\\$(printf %03o "$vsync")" > "$f"
  for k in 82 83 23 19 5 75 84 85 64 13 1 4; do
    printf "\\$(printf %03o "$k")\\000\\000\\000" >> "$f"
  done
  printf "\\004\\040\\000\\000\\000\\377\\257\\$(printf %03o "$shots")\\000\\000\\000" >> "$f"
  [ "$(stat -c %s "$f")" = 61 ] || fail "test settings file is not 61 bytes"
}

# Changing the screen mode re-creates the window's mapping and, without a window manager, its
# focus: give it back. e2e_refocus [seconds before] [seconds after]
e2e_refocus() {
  sleep "${1:-1.5}"
  timeout 5 xdotool windowfocus --sync "$GAME_WINDOW" 2>/dev/null || true
  sleep "${2:-0.3}"
}

# Waits for the game to exit; sets E2E_RC. Fails on timeout.
e2e_wait_exit() {
  local timeout=${1:-20} n=0
  while kill -0 "$GAME_PID" 2>/dev/null; do
    sleep 0.1; n=$((n + 1))
    [ $n -gt $((timeout * 10)) ] && fail "the game did not exit within ${timeout}s"
  done
  set +e; wait "$GAME_PID"; E2E_RC=$?; set -e
  GAME_PID=""
}

# Presses F9 and prints the path of the screenshot it wrote (the next free number).
e2e_screenshot() {
  local before after
  before=$(ls "$RUN/screenshots" | grep -c '^screenshot' || true)
  e2e_key F9 150
  local n=0
  while :; do
    after=$(ls "$RUN/screenshots" | grep -c '^screenshot' || true)
    [ "$after" -gt "$before" ] && break
    sleep 0.1; n=$((n + 1))
    [ $n -gt 50 ] && fail "F9 wrote no screenshot"
  done
  sleep 0.3
  ls -t "$RUN"/screenshots/screenshot*.bmp | head -n1
}

e2e_size() { "$BMP_PROBE" "$1"; }
e2e_pixel() { "$BMP_PROBE" "$1" "$2" "$3"; }

# Prints the little-endian 32-bit int at an offset of a file.
e2e_int_at() { od -An -v -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }
e2e_byte_at() { od -An -v -tu1 -j "$2" -N 1 "$1" | tr -d ' '; }
