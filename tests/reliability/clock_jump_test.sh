#!/usr/bin/env bash
# Usage: clock_jump_test.sh PATH/TO/brindle PATH/TO/reliability_pixel_watch CHIME [--long]
# The wall clock jumps while the program runs: an hour forward and back, a few seconds forward
# over the warning second, back into a warning already given, and the daylight-saving changes of
# Berlin. At the next tick the countdown shows the time left for the new clock; each boundary is
# warned once, counted from outside by the chimes on the sound server and the flashes on screen.
set -euo pipefail
program_built=$(realpath "$1")
pixel_watch=$(realpath "$2")
chime=$(realpath "$3")
long=${4:-}
source "$(dirname "$0")/reliability_lib.sh"
rel_require_tools

rel_session "$program_built" "$chime"

echo "Hour jumps, and jumps around a warning, in UTC with a 7-minute interval and a 30 s lead:"
rel_run_case UTC 6 "$(date +%F) 10:02:00"
# An hour is not a whole number of 7-minute periods, so the time left changes with each jump.
rel_check_display 7 "before any jump"
rel_begin_count
rel_clock_shift 3600
sleep 0.6
rel_check_display 7 "an hour forward"
rel_clock_shift -3600
sleep 0.6
rel_check_display 7 "an hour back"
rel_expect_warnings "hour jumps far from a boundary" 0

# Forward within a period, from 45 s left to 20 s: the 30 s mark is skipped, the warning comes.
rel_clock_to_remaining 7 45
sleep 1
rel_begin_count
rel_clock_shift 25
sleep 0.6
rel_check_display 7 "25 s forward over the warning second"
sleep 3
# Back by 8 s, into the lead of the boundary already warned: no second warning.
rel_clock_shift -8
sleep 0.6
rel_check_display 7 "8 s back inside the warned lead"
sleep 3
rel_expect_warnings "a jump over the warning second, then back into it" 1

# A warning in its ordinary course, then an hour back: the next boundary is warned once more at
# its own lead.
rel_begin_count
rel_clock_to_remaining 7 32 11
sleep 5
rel_clock_shift -3600
sleep 0.6
rel_check_display 7 "an hour back right after a warning"
rel_clock_to_remaining 7 36 10
sleep 10
rel_check_display 7 "through the next boundary's lead"
rel_expect_warnings "a warning, an hour back, and the next boundary" 2
rel_exit_app

echo "Daylight-saving changes in Europe/Berlin:"
# 02:59:52 summer time; eight seconds later the clocks go back to 02:00 winter time.
rel_run_case Europe/Berlin 6 "2026-10-25 00:59:52 UTC"
rel_check_display 7 "before summer time ends"
rel_begin_count
sleep 9
rel_check_display 7 "after summer time ended"
rel_expect_warnings "the end of summer time" 0
rel_exit_app
if [ "$long" = "--long" ]; then
    # 01:59:52 winter time; eight seconds later the clocks go forward to 03:00 summer time.
    rel_run_case Europe/Berlin 6 "2026-03-29 00:59:52 UTC"
    rel_check_display 7 "before summer time begins"
    rel_begin_count
    sleep 9
    rel_check_display 7 "after summer time began"
    rel_expect_warnings "the start of summer time" 0
    rel_exit_app
    # With a 1-minute interval the boundary of 03:00 summer time is warned, and the one of
    # 02:01 winter time a minute later, each once.
    rel_run_case Europe/Berlin 0 "2026-10-25 00:59:20 UTC"
    rel_begin_count
    sleep 75
    rel_check_display 1 "a minute after summer time ended"
    rel_expect_warnings "1-minute boundaries across the end of summer time" 2
    rel_exit_app
fi
echo "PASS"
