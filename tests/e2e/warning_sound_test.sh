#!/usr/bin/env bash
# Usage: warning_sound_test.sh PATH/TO/brindle PATH/TO/S_Timer.wav
# The warning as a user hears and sees it: the chime reaches the sound server and the countdown
# flashes; with the chime missing or broken the flash runs just the same, in silence. The wall
# clock is moved with libfaketime so the warning comes within seconds.
set -euo pipefail
program_built=$(realpath "$1")
chime=$(realpath "$2")
source "$(dirname "$0")/e2e_lib.sh"
source "$repo/scripts/e2e-pulse"
e2e_require_gui_tools
e2e_require pulseaudio pactl parecord sox
faketime_library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
e2e_require "$faketime_library"

# A sanitizer build must load its runtime before anything else that is preloaded.
preload=$faketime_library
asan_runtime=$(ldd "$program_built" | awk '/libasan\.so/ {print $3; exit}')
if [ -n "$asan_runtime" ]; then
    preload="$asan_runtime:$preload"
fi

xvfb_session_start
e2e_accessibility_start
e2e_pulse_start
work=$(mktemp -d)

# Runs the program from a directory of its own holding only what the case puts there, starts a
# one-minute countdown with a 30 s lead and records the sound while the warning flashes; prints
# the recording's RMS amplitude and the number of dark phases of the flash.
warn_once() {
    local case_dir=$1
    program="$case_dir/brindle"
    cp "$program_built" "$program"
    # The sound player module goes with the program, as an installed program finds it.
    cp "$(dirname "$program_built")/brindle-sound.so" "$case_dir/"
    cd "$case_dir"
    # 42 s before a whole minute: the countdown starts with more than 30 s left.
    start_brindle LD_PRELOAD="$preload" FAKETIME="@2026-12-07 10:14:18" \
        FAKETIME_DONT_FAKE_MONOTONIC=1 --
    e2e_record_start "$case_dir/recording.wav"
    set_up_countdown 1 0
    [ "$(caption_of Label1)" = "1 Min" ] || fail "the interval caption is '$(caption_of Label1)'"
    local flashes
    flashes=$(count_flashes 400)
    sleep 0.5
    e2e_record_stop
    choose_from_countdown_menu Up
    wait "$brindle_pid" 2>/dev/null || true
    cd "$work"
    echo "$(e2e_rms "$case_dir/recording.wav") $flashes"
}

# With the chime beside the program, the warning is heard and seen.
mkdir "$work/present"
cp "$chime" "$work/present/S_Timer.wav"
read -r rms flashes < <(warn_once "$work/present")
echo "chime present: RMS $rms, $flashes dark phases"
awk -v r="$rms" 'BEGIN {exit !(r > 0.01)}' || fail "no sound was recorded (RMS $rms)"
[ "$flashes" -ge 3 ] || fail "the countdown flashed $flashes times"

# Without any S_Timer.wav the warning is silent, and the flash is the same.
mkdir "$work/missing"
read -r rms flashes < <(warn_once "$work/missing")
echo "chime missing: RMS $rms, $flashes dark phases"
awk -v r="$rms" 'BEGIN {exit !(r < 0.001)}' || fail "a missing chime made sound (RMS $rms)"
[ "$flashes" -ge 3 ] || fail "without the chime the countdown flashed $flashes times"

# A file of that name that is no sound at all is silence too.
mkdir "$work/broken"
head -c 20000 /dev/urandom >"$work/broken/S_Timer.wav"
read -r rms flashes < <(warn_once "$work/broken")
echo "chime broken: RMS $rms, $flashes dark phases"
awk -v r="$rms" 'BEGIN {exit !(r < 0.001)}' || fail "a broken chime made sound (RMS $rms)"
[ "$flashes" -ge 3 ] || fail "with a broken chime the countdown flashed $flashes times"
echo "PASS"
