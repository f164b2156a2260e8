#!/usr/bin/env bash
# Measures the processor time the game uses while it idles in the main menu, as a share of
# one core. Usage: bench/menu_idle_cpu.sh [seconds] [vsync: 1 on (default), 0 off]
# The game is $BRAWNWICK_BIN (default build/brawnwick); compare builds by running them in turns.
export BRAWNWICK_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$BRAWNWICK_ROOT/tests/e2e/lib.sh"
secs=${1:-10}
vsync=${2:-1}
case "$vsync" in 0|1) ;; *) fail "vsync must be 0 or 1, not $vsync" ;; esac
BRAWNWICK_BIN=$(realpath "$BRAWNWICK_BIN")  # the game runs in its own folder
e2e_setup
# Window mode and the vsync byte; not a first start, so the intro ends at the first key.
printf "\\002\\00$vsync" > "$RUN/settings"
e2e_start
e2e_wait_window
sleep 0.5
e2e_key space
sleep 1
# Nanoseconds on a processor, summed over the game's threads: finer than the clock ticks of
# /proc/<pid>/stat, which blur a few percent into whole steps over a short run.
cpu_ns() { cat /proc/"$GAME_PID"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'; }
t0=$(cpu_ns); s0=$(date +%s.%N)
sleep "$secs"
t1=$(cpu_ns); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v s0="$s0" -v s1="$s1" -v v="$vsync" \
  'BEGIN { printf "main menu idle, vsync %s: %.2f%% of one core over %.1f s\n", v ? "on" : "off", 100 * (b - a) / 1e9 / (s1 - s0), s1 - s0 }'
e2e_keys Down Down Return
e2e_wait_exit 10
