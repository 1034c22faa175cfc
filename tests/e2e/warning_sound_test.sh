#!/usr/bin/env bash
# Usage: warning_sound_test.sh PATH/TO/brindle PATH/TO/S_Timer.wav
# The warning as a user hears and sees it: the chime is heard whole, as one unbroken sound shaped
# like the file, while the countdown flashes; a chime longer than the flash plays to its end; with
# the chime missing or broken the flash runs just the same, in silence. The wall clock is moved
# with libfaketime so the warning comes within seconds.
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
# one-minute countdown with a 30 s lead, records the sound while the warning flashes and compares
# the recording with the file; prints the comparison and the number of dark phases of the flash.
warn_once() {
    local case_dir=$1 file=$2
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
    # A chime longer than the flash goes on after it; the recording waits for its end.
    sleep 1
    e2e_record_stop
    choose_from_countdown_menu Up
    wait "$brindle_pid" 2>/dev/null || true
    cd "$work"
    echo "$(compare_sound "$case_dir/recording.wav" "$file") flashes=$flashes"
}

compare_sound() {
    /usr/bin/python3 "$repo/tests/support/compare_sound.py" "$@" || true
}

# Usage: field NAME "name=value ..."; prints the value.
field() {
    tr ' ' '\n' <<<"$2" | awk -F= -v name="$1" '$1 == name {print $2}'
}

# The recording is the file heard once, whole: one burst as long as the file's sound, with its
# loudness rising and falling as the file's does.
expect_whole() {
    local what=$1 result=$2
    echo "$what: $result"
    [ "$(field bursts "$result")" = 1 ] || fail "$what was heard as $(field bursts "$result") bursts"
    awk -v a="$(field burst_length "$result")" -v b="$(field file_length "$result")" \
        'BEGIN {d = a - b; exit !(d <= 0.05 && d >= -0.05)}' ||
        fail "$what sounded $(field burst_length "$result") s of its $(field file_length "$result") s"
    awk -v c="$(field correlation "$result")" 'BEGIN {exit !(c >= 0.95)}' ||
        fail "$what's loudness correlates with the file's at only $(field correlation "$result")"
    [ "$(field flashes "$result")" -ge 3 ] || fail "$what: the countdown flashed too little"
}

expect_silent() {
    local what=$1 result=$2
    echo "$what: $result"
    [ "$(field bursts "$result")" = 0 ] || fail "$what made sound"
    [ "$(field flashes "$result")" -ge 3 ] || fail "$what: the countdown flashed too little"
}

# The shipped chime beside the program is heard whole while the countdown flashes.
mkdir "$work/shipped"
cp "$chime" "$work/shipped/S_Timer.wav"
expect_whole "the shipped chime" "$(warn_once "$work/shipped" "$chime")"

# A three-second chime outlasts the 2.8 s flash and is still heard to its end; it is stored with
# 24-bit samples, as sound editors often write them.
mkdir "$work/long"
sox -n -r 44100 -b 16 -c 1 "$work/long.wav" synth 3 sine 660 tremolo 3 60 fade q 0.05 3 0.3
sox "$work/long.wav" -b 24 "$work/long/S_Timer.wav"
expect_whole "a three-second chime" "$(warn_once "$work/long" "$work/long.wav")"

# Without any S_Timer.wav the warning is silent, and the flash is the same.
mkdir "$work/missing"
expect_silent "a missing chime" "$(warn_once "$work/missing" "$chime")"

# A file of that name that is no sound at all is silence too.
mkdir "$work/broken"
head -c 20000 /dev/urandom >"$work/broken/S_Timer.wav"
expect_silent "a broken chime" "$(warn_once "$work/broken" "$chime")"
echo "PASS"
