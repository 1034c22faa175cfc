#!/usr/bin/env bash
# Usage: command_line_test.sh PATH/TO/brindle
# Started as a log-in entry starts it, with a rhythm on its command line, the program counts at
# once from the given reference, warns at the given lead and keeps the reference for
# "Referance". A mistake on the command line is one line on standard error and status 2, given
# before any display is opened. The wall clock is moved with libfaketime.
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
e2e_require_gui_tools
faketime_library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
e2e_require "$faketime_library"

# A sanitizer build must load its runtime before anything else that is preloaded.
preload=$faketime_library
asan_runtime=$(ldd "$program" | awk '/libasan\.so/ {print $3; exit}')
if [ -n "$asan_runtime" ]; then
    preload="$asan_runtime:$preload"
fi

# Without any display: a window opened, or even the toolkit started, would fail here.
without_display() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@"; }

expect_refused() {
    local expected=$1 status=0 said
    shift
    said=$(without_display "$@" 2>&1 >/dev/null) || status=$?
    [ "$status" = 2 ] || fail "brindle $* ended with status $status ($said)"
    [ "$said" = "$expected" ] || fail "brindle $* said '$said'"
}
expect_refused "brindle: bad value '45' for --lead: it takes seconds, 20, 30, 40, 50 or 60" \
    --reference 10:07 --lead 45 --interval 15
expect_refused "brindle: unknown option '--colour': the options are --help, --version, --interval, --lead and --reference" \
    --colour=red
help=$(without_display --help) || fail "--help ended with status $?"
[[ "$help" == "Usage: brindle [options]"* ]] || fail "--help printed '$help'"

xvfb_session_start
e2e_accessibility_start
cd "$(mktemp -d)"

# Seconds since the program was started, as its faked wall clock counts them.
elapsed() { awk -v now="$(date +%s.%N)" -v start="$started" 'BEGIN {printf "%.2f", now - start}'; }

# 40 s before the boundary at 10:22:00 of quarter hours counted from 10:07.
started=$(date +%s.%N)
start_brindle LD_PRELOAD="$preload" FAKETIME="@2026-12-07 10:21:20" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    -- --reference 10:07 --lead 30 --interval 15
[ "$(caption_of Label1)" = "15 Min" ] || fail "the interval caption is '$(caption_of Label1)'"
if xdotool search --onlyvisible --name '^Form1$' >/dev/null; then
    fail "the setup window is shown"
fi

# The time left is what the arithmetic gives for the moment it was read; the first tick comes a
# quarter second after the start, and the label is empty until then.
for _ in $(seq 1 20); do
    before=$(elapsed)
    left=$(caption_of lblCountDown)
    after=$(elapsed)
    [ -z "$left" ] || break
    sleep 0.1
done
latest=$(printf '00:%02d' $((40 - ${before%.*})))
earliest=$(printf '00:%02d' $((40 - ${after%.*} - 1)))
[[ ! "$left" < "$earliest" && ! "$left" > "$latest" ]] ||
    fail "$before-$after s after 10:21:20 the countdown showed '$left', not $earliest to $latest"

# The flash starts 30 s before the boundary, at 10:21:30, not at the design lead of 20 s.
flashed=""
for _ in $(seq 1 300); do
    if [ "$(xvfb_pixel $((cx + 2)) $((cy + 2)))" = "000000" ]; then
        flashed=$(elapsed)
        break
    fi
    sleep 0.05
done
[ -n "$flashed" ] || fail "no warning flash by 10:21:40"
awk -v t="$flashed" 'BEGIN {exit !(t >= 9.8 && t <= 11.5)}' ||
    fail "the warning flashed $flashed s after 10:21:20"

# "Referance" brings up the dialog at the reference the countdown counts from.
sleep 3
xdotool mousemove $((cx + 28)) $((cy + 8)) click 3
sleep 0.5
xdotool key Down Down Return
xvfb_wait_window "Form2" 50 >/dev/null || fail "Referance did not show the dialog"
wait_for "the dialog's picker did not show 10:07:00" 30 \
    eval '[[ "$(value_of "Reference time")" == 10:07:00* ]]'

choose_from_countdown_menu Up
status=0
wait "$brindle_pid" || status=$?
[ "$status" = 0 ] || fail "Exit App ended the program with status $status"
echo "left $left at $before-$after s, flash at $flashed s"
echo "PASS"
