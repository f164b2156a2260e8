#!/usr/bin/env bash
# What the game really plays: the library's ALSA output goes to a file through a private ALSA
# configuration (a file over a null device), and the probe measures stretches of it. The null
# device takes sound faster than real time, so only levels are judged, never timing.
. "$(dirname "$0")/lib.sh"
: "${AUDIO_PROBE:=$BRAWNWICK_BUILD/tests/audio-probe}"
e2e_setup
# Under the sanitizers: leaks inside the ALSA driver are told apart by their whole call chain.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"

# Points the library's default ALSA device at $1 as raw signed 16-bit stereo at 44.1 kHz.
capture_to() {
  export ALSA_CONFIG_PATH="$E2E_TMP/asound-$(basename "$1").conf"
  cat > "$ALSA_CONFIG_PATH" <<EOF
pcm.!default {
  type plug
  slave {
    pcm { type file slave.pcm { type null } file "$1" format "raw" }
    format S16_LE
    rate 44100
    channels 2
  }
}
EOF
}
size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }

# Where the music is measured, the music volume, what must be heard there.
for row in "menu 255 music" "level 255 music" "menu 0 silence" "level 0 silence"; do
  read -r screen volume expect <<< "$row"
  name="$screen-$volume" cap="$E2E_TMP/$screen-$volume.raw"
  capture_to "$cap"
  e2e_write_settings
  rm -f "$RUN"/screenshots/*  # each run numbers its pictures from 0 again
  printf "\\000\\$(printf %03o "$volume")" | dd of="$RUN/settings" bs=1 seek=55 conv=notrunc status=none  # sfx off
  e2e_start
  e2e_wait_window
  sleep 1
  e2e_key space             # out of the intro into the main menu
  sleep 1
  if [ "$screen" = level ]; then
    echo "640 480" > "$RUN/resolution.txt"
    e2e_key Return; e2e_refocus
    [ "$(e2e_size "$(e2e_screenshot)")" = "640 480" ] || fail "$name: the level did not start"
  fi
  from=$(size_of "$cap"); sleep 2; to=$(size_of "$cap")
  read -r rms peak <<< "$("$AUDIO_PROBE" level "$cap" "$from" "$to")" || fail "$name: nothing captured"
  log "$name: $rms dB RMS, peak $peak"
  if [ "$expect" = music ]; then
    awk "BEGIN{exit !($rms > -45 && $peak < 0.999)}" || fail "$name: no music ($rms dB, peak $peak)"
  else
    awk "BEGIN{exit !($rms < -90)}" || fail "$name: not silent ($rms dB)"
  fi
  if [ "$screen" = level ]; then e2e_key Escape; sleep 0.5; e2e_key Return; e2e_refocus; fi
  e2e_keys Down Down Return # Options, Exit
  e2e_wait_exit 30
  [ "$E2E_RC" = 0 ] || fail "$name: exit code $E2E_RC"
done

# Four Impact Cannon shots fired as fast as the cannon fires, over the level music, all at full
# volume: the library's mix stays off the rails.
cap="$E2E_TMP/cannon.raw"
capture_to "$cap"
"$AUDIO_PROBE" cannon "$BRAWNWICK_ROOT" > /dev/null 2>&1 || fail "the probe could not play through the library"
read -r rms peak <<< "$("$AUDIO_PROBE" level "$cap" 0 "$(size_of "$cap")")"
log "four cannon shots over the music: peak $peak of full scale"
awk "BEGIN{exit !($peak > 0.3 && $peak < 0.999)}" || fail "four cannon shots clip or are not heard: peak $peak"
log "PASS"
