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
# A screen reader finds the window by its caption and nothing in it that no one can see: the
# buttons and the text box that lie outside it are not offered.
[ "$(announced frame)" = "CountDown Timer" ] || fail "the countdown window is announced as '$(announced frame)'"
hidden=$(accessible | awk -F'\t' '$1 == "push button" || $1 == "text" {print $2}')
[ -z "$hidden" ] || fail "controls outside the countdown window are offered: $hidden"

# They right-click the countdown and choose Change Time with the arrow keys: the setup window
# replaces it. From here on only the keyboard is used.
choose_from_countdown_menu Down
setup=$(xvfb_wait_window "Form1" 50) || fail "Change Time did not show the setup window"
if xdotool search --onlyvisible --name '^CountDown Timer$' >/dev/null; then
    fail "the countdown window is still shown next to the setup window"
fi
# The lists are announced by the labels that tell what they hold, not by their texts.
[ "$(announced "combo box" | sort | paste -sd,)" = "Alert Seconds,Minute interval" ] ||
    fail "the setup window's lists are announced as '$(announced "combo box" | paste -sd,)'"
screens=${E2E_SCREENSHOTS:-$PWD}
import -window root "$screens/setup-window-fresh.png"

# The interval list has the focus; Tab moves it to the lead list, where the first Down picks the
# first lead, 20 seconds. The lead list is then disabled and gives the focus back.
xdotool key Tab
sleep 0.3
xdotool key Down
sleep 0.5
import -window root "$screens/setup-window-lead-picked.png"
[ "$(value_of "Alert Seconds")" = "20" ] ||
    fail "the first Down in the lead list picked '$(value_of "Alert Seconds")'"

# In the interval list the first Down picks the first interval, 1 minute: the countdown comes
# back, counting down to the next whole minute of the clock.
xdotool key Down
countdown=$(xvfb_wait_window "CountDown Timer" 50) || fail "the countdown window did not return"
read -r cx cy < <(xvfb_window_origin "$countdown")
[ "$(caption_of Label1)" = "1 Min" ] || fail "the interval caption is '$(caption_of Label1)'"
if xdotool search --onlyvisible --name '^Form1$' >/dev/null; then
    fail "the setup window stayed open"
fi
# The time left agrees with the clock to the second: a whole minute less the seconds past it.
time_left_matches_clock() {
    local shown seconds expected difference
    shown=$(accessible | awk -F'\t' '$1 == "label" && $3 == "lblCountDown" {print $2}')
    [[ "$shown" =~ ^00:([0-5][0-9])$|^01:00$ ]] || return 1
    seconds=$((10#${shown:0:2} * 60 + 10#${shown:3:2}))
    expected=$((60 - 10#$(date +%S)))
    difference=$(((seconds - expected + 60) % 60))
    [ "$difference" -le 1 ] || [ "$difference" -ge 59 ]
}
wait_for "the countdown does not show the time left to the next minute" 30 time_left_matches_clock
[ "$(xvfb_pixel $((cx + 2)) $((cy + 2)))" = "0080FF" ] || fail "the running countdown is not blue"

# They open the reference dialog from the menu with the keys. It is announced by its caption, its
# button by its caption; the picker has the focus, Tab moves to Ok and Space presses it, which
# closes the dialog and leaves the countdown running.
choose_from_countdown_menu Down Down
xvfb_wait_window "Form2" 50 >/dev/null || fail "Referance did not show the dialog"
[ "$(announced "push button")" = "Ok" ] || fail "the dialog's button is announced as '$(announced "push button")'"
announced frame | grep -qx "Form2" || fail "the dialog is announced as '$(announced frame | paste -sd,)'"
# Nothing that takes the focus is announced or described by its name in the code.
code_names=$(accessible | awk -F'\t' -v code='^(frm|Combo|Command|DTPicker|cmd)' \
    '$1 != "label" && ($2 ~ code || $3 ~ code) {print $2 "/" $3}')
[ -z "$code_names" ] || fail "a screen reader is given code names: $code_names"
picker=$(accessible | awk -F'\t' '$1 == "spin button" {print $4}')
[[ "$picker" =~ ^00:00:00 ]] || fail "the picker is offered as '$picker'"
xdotool key Tab
sleep 0.2
xdotool key space
sleep 0.5
if xdotool search --onlyvisible --name '^Form2$' >/dev/null; then
    fail "Tab and Space did not press Ok"
fi
[ "$(caption_of Label1)" = "1 Min" ] || fail "after Ok the interval caption is '$(caption_of Label1)'"
wait_for "after Ok the countdown shows no time left to the next minute" 30 time_left_matches_clock

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
