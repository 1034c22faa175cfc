#!/usr/bin/env bash
# Usage: drag_without_window_manager_test.sh PATH/TO/brindle
# On a bare X server, with no window manager to hand the move to, the countdown window still
# follows the pointer while the left button is held, and a right click still opens the menu.
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
e2e_require_gui_tools

xvfb_session_start --no-window-manager
e2e_accessibility_start
cd "$(mktemp -d)"

# The user starts Brindle and drags the countdown by its time-left label.
start_brindle --
xdotool mousemove $((cx + 28)) $((cy + 8)) mousedown 1
sleep 0.2
for step in 1 2 3 4 5 6; do
    xdotool mousemove $((cx + 28 - 10 * step)) $((cy + 8 + 12 * step))
    sleep 0.05
done
sleep 0.2
xdotool mouseup 1
sleep 0.3
read -r nx ny < <(xvfb_window_origin "$countdown")
[ "$nx $ny" = "$((cx - 60)) $((cy + 72))" ] ||
    fail "dragging by (-60,72) moved the window from $cx,$cy to $nx,$ny"
cx=$nx
cy=$ny

# Once the button is up the window stays put when the pointer moves on.
xdotool mousemove 30 30
sleep 0.3
read -r nx ny < <(xvfb_window_origin "$countdown")
[ "$nx $ny" = "$cx $cy" ] || fail "the window kept following the pointer to $nx,$ny"

# The menu still works: Exit App ends the program successfully.
choose_from_countdown_menu Up
status=0
wait "$brindle_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS"
