#!/usr/bin/env bash
# Usage: random_use_test.sh PATH/TO/brindle SECONDS [SEED]
# Careless hands: seeded random left, middle and right presses, double presses, drags, menu
# choices, list picks, key presses and window closes on whatever windows of the program are on
# screen. The program never crashes, never stays running without a window on screen, and ends
# with status 0 whenever it ends (Exit App, or closing its last window); it is started again and
# the run goes on. The same seed replays the same run.
set -euo pipefail
program_built=$(realpath "$1")
seconds=$2
seed=${3:-$(($(date +%s) % 100000))}
source "$(dirname "$0")/reliability_lib.sh"
e2e_require_gui_tools
xvfb_session_start
e2e_accessibility_start
work=$(mktemp -d)
program="$work/brindle"
rel_copy_program "$program_built" "$work"
preload=$(rel_preload "$program_built")
rel_sanitizer_options
cd "$work"
echo "seed $seed (replay with: $0 $1 $seconds $seed)"
RANDOM=$seed

actions=0
starts=0
exits=0
exit_app_choices=0
action_log="$work/actions.log"

start_again() {
    start_brindle --
    starts=$((starts + 1))
}

# Checks how an ended program ended; any end but status 0 is a fault.
program_ended() {
    local status=0
    wait "$brindle_pid" || status=$?
    exits=$((exits + 1))
    [ "$status" = 0 ] || {
        tail -n 5 "$action_log" >&2
        fail "seed $seed: after action $actions the program ended with status $status"
    }
}

running() { kill -0 "$brindle_pid" 2>/dev/null; }

visible_windows() { xdotool search --onlyvisible --pid "$brindle_pid" 2>/dev/null || true; }

# A running program must keep at least one window on screen; a moment is allowed for one window
# to replace another.
check_windowed() {
    local tries
    for tries in $(seq 1 30); do
        running || return 0
        [ -z "$(visible_windows)" ] || return 0
        sleep 0.1
    done
    tail -n 5 "$action_log" >&2
    fail "seed $seed: after action $actions the program runs with no window on screen"
}

keys=(Return Escape Tab Down Up Left Right space BackSpace Home End Page_Down 1 5 0 9 a x
    shift+Tab alt+F4 ctrl+c)

# One random action on a random point of a random window of the program.
act() {
    local windows window x y w h px py kind i steps
    mapfile -t windows < <(visible_windows)
    [ "${#windows[@]}" -gt 0 ] || return 0
    window=${windows[$((RANDOM % ${#windows[@]}))]}
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null |
        sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/geometry_\1=/p')" || return 0
    x=${geometry_X:-0} y=${geometry_Y:-0} w=${geometry_WIDTH:-1} h=${geometry_HEIGHT:-1}
    # A window dragged off the screen is dragged back, as a person would.
    if [ "$x" -lt 0 ] || [ "$y" -lt 0 ] || [ $((x + w)) -gt 1024 ] || [ $((y + h)) -gt 768 ]; then
        xdotool windowmove "$window" 200 200 2>/dev/null || true
        echo "move back $window" >>"$action_log"
        return 0
    fi
    px=$((x + RANDOM % w))
    py=$((y + RANDOM % h))
    kind=$((RANDOM % 20))
    actions=$((actions + 1))
    case $kind in
        0 | 1 | 2 | 3) echo "click 1 $px $py" >>"$action_log"
            xdotool mousemove "$px" "$py" click 1 ;;
        4) echo "click 2 $px $py" >>"$action_log"
            xdotool mousemove "$px" "$py" click 2 ;;
        5 | 6) echo "click 3 $px $py" >>"$action_log"
            xdotool mousemove "$px" "$py" click 3 ;;
        7) echo "double click $px $py" >>"$action_log"
            xdotool mousemove "$px" "$py" click --repeat 2 1 ;;
        8 | 9)
            steps=$((1 + RANDOM % 5))
            echo "drag from $px $py in $steps steps" >>"$action_log"
            xdotool mousemove "$px" "$py" mousedown 1
            for ((i = 0; i < steps; i++)); do
                xdotool mousemove_relative -- $((RANDOM % 81 - 40)) $((RANDOM % 61 - 30))
                sleep 0.05
            done
            xdotool mouseup 1 ;;
        10 | 11)
            # A menu choice: the right-click menu, an entry some steps down, then Return.
            steps=$((RANDOM % 5))
            echo "menu at $px $py, $steps down, Return" >>"$action_log"
            xdotool mousemove "$px" "$py" click 3
            sleep 0.3
            for ((i = 0; i < steps; i++)); do xdotool key Down; done
            xdotool key Return ;;
        12 | 13)
            # A list pick: press, some steps down, Return.
            steps=$((RANDOM % 8))
            echo "list at $px $py, $steps down, Return" >>"$action_log"
            xdotool mousemove "$px" "$py" click 1
            sleep 0.3
            for ((i = 0; i < steps; i++)); do xdotool key Down; done
            xdotool key Return ;;
        14 | 15 | 16 | 17)
            i=${keys[$((RANDOM % ${#keys[@]}))]}
            echo "key $i" >>"$action_log"
            xdotool key "$i" ;;
        *)
            # Exit App, when the countdown window is on screen and its own menu opens at the
            # pointer; while a dialog holds the program's attention another menu, or none, may
            # open, and then it is closed again and the choice left alone.
            countdown=$(xdotool search --all --onlyvisible --pid "$brindle_pid" --name '^CountDown Timer$' \
                2>/dev/null | head -n 1) || true
            [ -n "$countdown" ] || return 0
            read -r cx cy < <(xvfb_window_origin "$countdown")
            local before menu_at=""
            before=$(visible_windows | sort)
            xdotool mousemove $((cx + 28)) $((cy + 8)) click 3
            sleep 0.5
            for window in $(comm -13 <(echo "$before") <(visible_windows | sort)); do
                read -r x y < <(xvfb_window_origin "$window")
                if [ $((x - cx - 28)) -ge -4 ] && [ $((x - cx - 28)) -le 4 ] &&
                    [ $((y - cy - 8)) -ge -4 ] && [ $((y - cy - 8)) -le 4 ]; then
                    menu_at="$x $y"
                fi
            done
            if [ -z "$menu_at" ]; then
                echo "Exit App: the countdown's menu did not open" >>"$action_log"
                xdotool key Escape
                return 0
            fi
            echo "Exit App" >>"$action_log"
            exit_app_choices=$((exit_app_choices + 1))
            xdotool key Up key Return
            for i in $(seq 1 50); do
                running || break
                sleep 0.1
            done
            if running; then
                import -window root "$work/exit-app-failed.png"
                fail "seed $seed: Exit App left the program running (screen: $work/exit-app-failed.png)"
            fi ;;
    esac
    sleep 0.2
}

start_again
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
    act
    check_windowed
    if ! running; then
        program_ended
        start_again
    fi
done
if running; then
    check_windowed
    kill "$brindle_pid"
fi
if [[ "$preload" == *libasan* ]]; then
    rel_sanitizer_verdict
fi
echo "$actions actions, $starts starts, $exits ends with status 0 ($exit_app_choices by Exit App)"
echo "PASS"
