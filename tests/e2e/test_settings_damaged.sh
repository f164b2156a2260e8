#!/usr/bin/env bash
# A damaged settings file (empty, short, random bytes, key codes out of range, odd colour
# depths) never stops the game: it starts, a campaign is played a little, quit with Esc and
# "Yes", and the file written at the end is a valid 61-byte file.
. "$(dirname "$0")/lib.sh"
e2e_setup

DEFAULT_KEYS=(82 83 23 19 5 75 84 85 64 13 1 4)
le32() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $((($1 >> 8) & 255)))\\$(printf %03o $((($1 >> 16) & 255)))\\$(printf %03o $((($1 >> 24) & 255)))"; }
# settings_file MODE VSYNC DEPTH KEY...: a 61-byte file with the given fields, the rest usual.
settings_file() {
  local mode=$1 vsync=$2 depth=$3; shift 3
  printf "\\$(printf %03o "$mode")\\$(printf %03o "$vsync")"
  for k in "$@"; do le32 "$k"; done
  printf '\004'; le32 "$depth"; printf '\377\257'; le32 3
}

# Start, leave the intro, "New Game", walk and turn, quit the campaign, leave by "Exit".
play_once() {
  local name=$1
  e2e_start
  e2e_wait_window 40
  sleep 1.5
  e2e_key space          # leaves the intro (no first start: the file exists)
  sleep 1
  e2e_key Return         # "New Game"
  e2e_refocus
  e2e_key w 600
  e2e_key Left 400
  e2e_key Up 300
  e2e_key space 300      # fire with the default key
  shot=$(e2e_screenshot)
  kill -0 "$GAME_PID" 2>/dev/null || fail "$name: the game ended during play"
  e2e_key Escape
  sleep 1
  e2e_key Return         # "Yes"
  e2e_refocus
  e2e_keys Down Down Return   # "Exit"
  e2e_wait_exit 20
  [ "$E2E_RC" = 0 ] || fail "$name: exit code $E2E_RC"
  [ "$(e2e_size "$shot")" = "$(tr -s ' \n' '  ' < "$RUN/resolution.txt" | awk '{print $1, $2}')" ] ||
    log "$name: note: play frame was $(e2e_size "$shot")"
}

# The file written back: 61 bytes, every field in its range.
check_written() {
  local name=$1 f="$RUN/settings"
  [ "$(stat -c %s "$f")" = 61 ] || fail "$name: settings file is $(stat -c %s "$f") bytes"
  local mode vsync depth shots
  mode=$(e2e_byte_at "$f" 0); vsync=$(e2e_byte_at "$f" 1)
  [ "$mode" = 1 ] || [ "$mode" = 2 ] || fail "$name: screen mode $mode"
  [ "$vsync" = 0 ] || [ "$vsync" = 1 ] || fail "$name: vsync byte $vsync"
  for i in $(seq 0 11); do
    local k; k=$(e2e_int_at "$f" $((2 + 4 * i)))
    [ "$k" -ge 0 ] && [ "$k" -le 126 ] || fail "$name: key $i is $k"
  done
  depth=$(e2e_int_at "$f" 51)
  case "$depth" in 15|16|24|32) ;; *) fail "$name: colour depth $depth";; esac
  shots=$(e2e_int_at "$f" 57)
  [ "$shots" -ge 0 ] && [ "$shots" -lt 2147483648 ] || fail "$name: screenshot number $shots"
  [ ! -e "$RUN/settings.tmp" ] || fail "$name: a temporary settings file was left behind"
}

run_case() {
  local name=$1 file=$2
  cp "$file" "$RUN/settings"
  rm -f "$RUN"/screenshots/*  # a file without a screenshot number starts again at 0
  log "$name: $(od -An -tx1 -v "$file" | tr -d '\n' | cut -c1-200)"
  play_once "$name"
  check_written "$name"
  log "$name: ok"
}

: > "$E2E_TMP/empty"
run_case "empty file" "$E2E_TMP/empty"
# The empty file gave the defaults, only the screenshot number moved on.
[ "$(e2e_int_at "$RUN/settings" 10)" = 23 ] || fail "empty file: keyForward is not W"
[ "$(e2e_byte_at "$RUN/settings" 55)" = 255 ] || fail "empty file: sfx volume is not 255"

settings_file 2 0 32 "${DEFAULT_KEYS[@]}" > "$E2E_TMP/full"
head -c 12 "$E2E_TMP/full" > "$E2E_TMP/short"
run_case "12 bytes" "$E2E_TMP/short"
[ "$(e2e_int_at "$RUN/settings" 10)" = 23 ] || fail "short file: keyForward changed"
[ "$(e2e_int_at "$RUN/settings" 22)" = 75 ] || fail "short file: keyShoot is not the default"

head -c 61 /dev/urandom > "$E2E_TMP/random"
run_case "random bytes" "$E2E_TMP/random"
head -c 300 /dev/urandom > "$E2E_TMP/random-long"
run_case "300 random bytes" "$E2E_TMP/random-long"

settings_file 2 0 32 127 -1 23 19 5 75 4096 85 64 13 -2147483648 4 > "$E2E_TMP/keys"
run_case "key codes out of range" "$E2E_TMP/keys"
for pair in "2 82" "6 83" "26 84" "42 1"; do
  read -r off want <<< "$pair"
  [ "$(e2e_int_at "$RUN/settings" "$off")" = "$want" ] || fail "key at offset $off not restored to $want"
done

for depth in 8 24 -1; do
  settings_file 2 1 "$depth" "${DEFAULT_KEYS[@]}" > "$E2E_TMP/depth"
  run_case "colour depth $depth" "$E2E_TMP/depth"
  [ "$depth" != 24 ] || [ "$(e2e_int_at "$RUN/settings" 51)" = 24 ] || fail "a depth of 24 was not kept"
done

settings_file 0 7 16 "${DEFAULT_KEYS[@]}" > "$E2E_TMP/mode0"
run_case "screen mode 0, vsync 7" "$E2E_TMP/mode0"
[ "$(e2e_byte_at "$RUN/settings" 0)" = 2 ] || fail "screen mode 0 not written back as 2"
log "PASS"
