#!/usr/bin/env bash
# Usage: suspend_test.sh PATH/TO/brindle PATH/TO/reliability_pixel_watch CHIME [--long]
# A sleeping machine, played by stopping the program (SIGSTOP) and letting it go on (SIGCONT):
# at the next tick the countdown shows the right time left, a warning whose second passed while
# asleep is still given when the boundary lies ahead, none is given twice, and nothing faults.
set -euo pipefail
program_built=$(realpath "$1")
pixel_watch=$(realpath "$2")
chime=$(realpath "$3")
long=${4:-}
source "$(dirname "$0")/reliability_lib.sh"
rel_require_tools
rel_session "$program_built" "$chime"

# Usage: sleep_for SECONDS; the program is stopped for that long, then goes on.
sleep_for() {
    kill -STOP "$brindle_pid"
    sleep "$1"
    kill -CONT "$brindle_pid"
    sleep 0.6
    kill -0 "$brindle_pid" 2>/dev/null || fail "the program ended after it was woken"
}

if [ "$long" = "--long" ]; then
    pause=30
else
    pause=5
fi
echo "A 1-minute interval with a 30 s lead; the program sleeps for $pause s at a time:"
rel_run_case UTC 0 "$(date +%F) 10:00:15"

# Each case moves the clock to a later hour, so it meets boundaries not seen before.
# Asleep over the warning second, awake before the boundary: the warning comes on waking.
rel_clock_to_remaining 1 $((pause + 27))
sleep 0.5
rel_begin_count
sleep_for "$pause"
rel_check_display 1 "woken after the warning second"
sleep 4
rel_expect_warnings "asleep over the warning second" 1

# Asleep right after a warning, over the boundary: the boundary passed is not warned again, and
# the next one is warned at its lead.
rel_begin_count
rel_clock_to_remaining 1 34 11
sleep 8
sleep_for "$pause"
rel_check_display 1 "woken past the boundary"
rel_clock_to_remaining 1 33 12
sleep 6
rel_expect_warnings "asleep over a boundary, then the next one" 2

if [ "$long" = "--long" ]; then
    # Asleep in the middle of the flash, after the one-second chime: the flash goes on where it
    # stopped, and is one warning, whose seven dark phases are split by the sleep.
    rel_begin_count
    rel_clock_to_remaining 1 32 13
    sleep 3.8
    sleep_for 5
    sleep 4
    rel_check_display 1 "woken in the middle of a flash"
    phases=$(rel_alerts "$work/pixels.log" "$mark" | awk '{n += $3} END {print n + 0}')
    rel_record_stop
    chimes=$(sound_bursts "$work/sound.wav" | wc -l)
    echo "  asleep in the middle of a flash: $phases dark phases, $chimes chimes"
    [ "$phases" = 7 ] || fail "a flash interrupted by a sleep showed $phases dark phases, not 7"
    # The sound stream stopped with the program may play part of the chime's buffer again when
    # it wakes: one more short sound at most, but never none.
    [ "$chimes" -ge 1 ] && [ "$chimes" -le 2 ] ||
        fail "a flash interrupted by a sleep came with $chimes chimes"
    # Asleep for a whole period and more, from well before a lead to inside the next one.
    rel_begin_count
    rel_clock_to_remaining 1 50 14
    sleep 0.5
    sleep_for 75
    rel_check_display 1 "woken after more than a period"
    sleep 4
    rel_expect_warnings "asleep for more than a period" 1
fi
rel_exit_app
echo "PASS"
