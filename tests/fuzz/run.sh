#!/usr/bin/env bash
# usage: tests/fuzz/run.sh BUILD SECONDS -- runs every libFuzzer target in BUILD for SECONDS each from
# a copy of its seeds; fails when one finds a crash, a leak or a sanitizer report.
set -euo pipefail
BUILD=$1 SECONDS_EACH=$2
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
cd "$ROOT"  # the level seeds name textures relative to the repository root
WORK=$(mktemp -d /tmp/brawnwick-fuzz-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
targets=$(find "$BUILD/tests" -maxdepth 1 -type f -executable -name 'fuzz_*' | sort)
[ -n "$targets" ] || { echo "fuzz: no targets in $BUILD/tests (configure with clang and -DBRAWNWICK_FUZZ=ON)" >&2; exit 1; }
failed=0
for bin in $targets; do
  name=$(basename "$bin") seeds=${name#fuzz_}
  [ -d "tests/fuzz/corpus/$seeds" ] || seeds=${seeds%_loader}
  [ -d "tests/fuzz/corpus/$seeds" ] || { echo "fuzz: no seeds for $name" >&2; failed=1; continue; }
  mkdir -p "$WORK/$name/corpus" "$WORK/$name/artifacts" && cp -r "tests/fuzz/corpus/$seeds/." "$WORK/$name/corpus/"
  rc=0 && "$bin" -max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$WORK/$name/artifacts/" "$WORK/$name/corpus" > "$WORK/$name/log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$WORK/$name/log" | tail -n1)
  if [ "$rc" -eq 0 ]; then echo "fuzz: $name: ${runs:-?} inputs in ${SECONDS_EACH}s, no finding"; continue; fi
  echo "fuzz: $name FAILED (exit $rc) after ${runs:-?} inputs:" >&2
  grep -v '^#' "$WORK/$name/log" | tail -n 40 >&2
  for a in "$WORK/$name/artifacts"/*; do
    [ -e "$a" ] && cp "$a" "$ROOT/fuzz-failure-$name-$(basename "$a")" && echo "fuzz: input kept as $ROOT/fuzz-failure-$name-$(basename "$a")" >&2
  done
  failed=1
done
exit $failed
