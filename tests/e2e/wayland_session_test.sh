#!/usr/bin/env bash
# Usage: wayland_session_test.sh PATH/TO/brindle
# In a Wayland session with Xwayland, the program started with only the session's variables runs
# as an X client on Xwayland and behaves there as on X11: its first screen, its right-click menu,
# and "Exit App" ending it with status 0. The compositor is weston, nested in a virtual X display
# because only that backend gives it a seat; without one Xwayland crashes on the first input.
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
e2e_require Xvfb weston Xwayland xdotool xwininfo import

xvfb_session_start --no-window-manager
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'xvfb_session_stop; rm -rf "$runtime"' EXIT
# No panel, so that no stray click can start a launcher's program.
printf '[shell]\npanel-position=none\nlocking=false\n' >"$runtime/weston.ini"
XDG_RUNTIME_DIR=$runtime xvfb_session_spawn weston --config="$runtime/weston.ini" \
    --backend=x11-backend.so --use-pixman --xwayland --socket=brindle-wayland --idle-time=0 \
    >"$runtime/weston.log" 2>&1
wait_for "weston did not start Xwayland" 100 \
    grep -q 'xserver listening on display' "$runtime/weston.log"
export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log")

cd "$runtime"
xvfb_session_spawn env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" \
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=brindle-wayland DISPLAY="$DISPLAY" "$program"
brindle_pid=$xvfb_last_pid
countdown=$(xvfb_wait_window "CountDown Timer" 150) ||
    fail "the countdown window did not appear on Xwayland"
echo "the countdown window runs on Xwayland at $DISPLAY"

# The first screen: the countdown in its blue and grey, with "Label1" not yet replaced.
import -window "$countdown" first-screen.png
colours=$(convert first-screen.png -format %c histogram:info:-)
for colour in 0080FF C0C0C0; do
    grep -q "#$colour" <<<"$colours" || fail "the first screen lacks #$colour: $colours"
done

# A right click on the time left opens the menu as a popup on Xwayland, and a click on its last
# entry, "Exit App", ends the program. The clicks go to Xwayland as an X11 test sends them; its
# coordinates are its own, not the compositor's.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}
read -r cx cy _ _ < <(geometry "$countdown")
xdotool mousemove $((cx + 28)) $((cy + 8)) click 3
popup=""
find_popup() {
    local id
    for id in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
        if xwininfo -id "$id" | grep -q 'Override Redirect State: yes' &&
            xwininfo -id "$id" | grep -q 'IsViewable'; then
            popup=$id
            return 0
        fi
    done
    return 1
}
wait_for "the right click opened no menu" 50 find_popup
read -r px py pw ph < <(geometry "$popup")
xdotool mousemove $((px + pw / 2)) $((py + ph - 10)) click 1
wait_for "Exit App did not end the program" 100 eval '! kill -0 "$brindle_pid" 2>/dev/null'
status=0
wait "$brindle_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS"
