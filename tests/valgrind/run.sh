#!/usr/bin/env bash
# Whole games under Valgrind's memcheck: the in-process games of unit_app (first start, options,
# key capture, campaigns won and lost, the quit question) drive the real start-up, screens,
# renderer and level loop on the scripted platform, so every frame is the same on every run.
# Fails on any invalid read or write, use of uninitialised values, bad free, or definitely lost
# memory that is not the library's own (allegro.supp says which and why).
# Usage: tests/valgrind/run.sh BUILD-FOLDER   (VALGRIND_LOG=path keeps the full report)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build}
command -v valgrind > /dev/null || { echo "[valgrind] FAIL: valgrind is not installed" >&2; exit 1; }
LOG=$(mktemp /tmp/brawnwick-memcheck-XXXXXX)
trap 'rm -f "$LOG"' EXIT
# The fault cases end in death tests, which fork; they are the only thing left out.
cd "$ROOT"
rc=0
valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --num-callers=30 --suppressions="$ROOT/tests/valgrind/allegro.supp" \
  --log-file="$LOG" "$BUILD/tests/unit_app" --gtest_filter='-*Faults*' --gtest_brief=1 || rc=$?
[ -n "${VALGRIND_LOG:-}" ] && cp "$LOG" "$VALGRIND_LOG"
grep -E "ERROR SUMMARY|definitely lost" "$LOG" | sed 's/^==[0-9]*== //'
if [ "$rc" != 0 ] || ! grep -q "ERROR SUMMARY: 0 errors" "$LOG"; then
  grep -v '^==[0-9]*== *$' "$LOG" | grep -A40 -m3 -E "Invalid|uninitialised|definitely lost|Mismatched|free\(\)" >&2 || true
  echo "[valgrind] FAIL: memcheck found errors (exit code $rc)" >&2
  exit 1
fi
echo "[valgrind] PASS"
