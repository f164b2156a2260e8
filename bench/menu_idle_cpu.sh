#!/usr/bin/env bash
# Measures the processor time the game uses while it idles in the main menu, as a share of
# one core. Usage: bench/menu_idle_cpu.sh [seconds]  (needs a built game in build/).
export BRAWNWICK_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$BRAWNWICK_ROOT/tests/e2e/lib.sh"
secs=${1:-10}
e2e_setup
printf '\002\001' > "$RUN/settings"  # not a first start: the intro ends at the first key
e2e_start
e2e_wait_window
sleep 0.5
e2e_key space
sleep 1
ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" \
  'BEGIN { printf "main menu idle: %.1f%% of one core over %.1f s\n", 100 * (b - a) / hz / (s1 - s0), s1 - s0 }'
e2e_keys Down Down Return
e2e_wait_exit 10
