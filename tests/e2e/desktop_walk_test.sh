#!/usr/bin/env bash
# Usage: desktop_walk_test.sh PATH/TO/brindle
# A new user's first minutes with the real program on a virtual display with a window manager.
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
e2e_require_gui_tools

xvfb_session_start
e2e_accessibility_start
cd "$(mktemp -d)"

# The user starts Brindle: the small countdown window appears, not yet counting.
start_brindle --
[ "$(caption_of Label1)" = "Label1" ] || fail "the first screen shows '$(caption_of Label1)'"
[ "$(xvfb_pixel $((cx + 2)) $((cy + 2)))" = "0080FF" ] || fail "the countdown is not blue"

# They right-click the countdown and choose Change Time: the setup window replaces it.
choose_from_countdown_menu Down
setup=$(xvfb_wait_window "Form1" 50) || fail "Change Time did not show the setup window"
if xdotool search --onlyvisible --name '^CountDown Timer$' >/dev/null; then
    fail "the countdown window is still shown next to the setup window"
fi
read -r sx sy < <(xvfb_window_origin "$setup")

# They pick a warning lead of 30 seconds from the lower list.
pick_from_list $((sx + 105)) $((sy + 90)) 1
[ "$(value_of Combo2)" = "30" ] || fail "the lead list shows '$(value_of Combo2)'"

# They pick an interval of 2 minutes from the upper list: the countdown comes back, counting.
pick_from_list $((sx + 105)) $((sy + 51)) 1
countdown=$(xvfb_wait_window "CountDown Timer" 50) || fail "the countdown window did not return"
read -r cx cy < <(xvfb_window_origin "$countdown")
[ "$(caption_of Label1)" = "2 Min" ] || fail "the interval caption is '$(caption_of Label1)'"
if xdotool search --onlyvisible --name '^Form1$' >/dev/null; then
    fail "the setup window stayed open"
fi
left_pattern='^0[0-2]:[0-5][0-9]$'
wait_for "the countdown shows no time left" 30 \
    eval '[[ "$(accessible | awk -F"\t" '"'"'$1 == "label" && $3 == "lblCountDown" {print $2}'"'"')" =~ $left_pattern ]]'
[ "$(xvfb_pixel $((cx + 2)) $((cy + 2)))" = "0080FF" ] || fail "the running countdown is not blue"

# They drag the countdown by its interval label: it moves exactly as far as the pointer.
xdotool mousemove $((cx + 28)) $((cy + 31)) mousedown 1
sleep 0.2
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((cx + 28 + 15 * step)) $((cy + 31 + 10 * step))
    sleep 0.05
done
sleep 0.2
xdotool mouseup 1
sleep 0.3
read -r nx ny < <(xvfb_window_origin "$countdown")
[ "$nx $ny" = "$((cx + 120)) $((cy + 80))" ] ||
    fail "dragging by (120,80) moved the window from $cx,$cy to $nx,$ny"
cx=$nx
cy=$ny

# A plain click on a label afterwards leaves it where it is, and the next click too.
xdotool mousemove $((cx + 28)) $((cy + 31)) click 1
sleep 0.3
xdotool mousemove 20 20 click 1
sleep 0.3
read -r nx ny < <(xvfb_window_origin "$countdown")
[ "$nx $ny" = "$cx $cy" ] || fail "a click on the label moved the window to $nx,$ny"

# They choose Exit App, the last entry: the program ends at once, successfully.
choose_from_countdown_menu Up
for _ in $(seq 1 10); do
    kill -0 "$brindle_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$brindle_pid" 2>/dev/null; then
    fail "the program was still running a second after Exit App"
fi
status=0
wait "$brindle_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS"
