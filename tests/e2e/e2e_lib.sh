# Shared steps of the end-to-end tests: they drive the real brindle program on a virtual X display
# with xdotool, as a person would, and read what is on screen from screenshots' pixels and from
# the accessibility tree. Sourced by each test with the program's path in $program.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$repo/scripts/xvfb-session"
source "$repo/scripts/e2e-accessibility"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Exits with 77, which ctest reports as skipped, when a tool the test needs is missing.
e2e_require() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1 && [ ! -e "$tool" ]; then
            echo "SKIPPED: $tool is not installed (scripts/install-deps installs it)"
            exit 77
        fi
    done
}

e2e_require_gui_tools() {
    e2e_require Xvfb openbox xdotool xprop import dbus-daemon /usr/libexec/at-spi-bus-launcher
    if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
        echo "SKIPPED: python3-pyatspi is not installed (scripts/install-deps installs it)"
        exit 77
    fi
}

accessible() {
    /usr/bin/python3 "$repo/tests/e2e/accessible_texts.py" "$@"
}

# Usage: caption_of DESCRIPTION; the text a screen reader reads for the label of that control.
caption_of() {
    accessible | awk -F'\t' -v control="$1" '$1 == "label" && $3 == control {print $2; exit}'
}

# Usage: value_of NAME; the text of the list or picker a screen reader announces by that name.
value_of() {
    accessible | awk -F'\t' -v name="$1" '$1 != "label" && $2 == name {print $4; exit}'
}

# Usage: wait_for DESCRIPTION TENTHS COMMAND...; retries the command until it succeeds.
wait_for() {
    local what=$1 limit=$2 tries=0
    shift 2
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -le "$limit" ] || fail "$what"
        sleep 0.1
    done
}

# Starts the program (extra environment first: VAR=value ... -- then its arguments) and waits
# for its countdown window; sets $brindle_pid, $countdown, $cx and $cy.
start_brindle() {
    local environment=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        environment+=("$1")
        shift
    done
    [ $# -eq 0 ] || shift
    xvfb_session_spawn env "${environment[@]}" "$program" "$@"
    brindle_pid=$xvfb_last_pid
    countdown=$(xvfb_wait_window "CountDown Timer" 150) || fail "the countdown window did not appear"
    read -r cx cy < <(xvfb_window_origin "$countdown")
    wait_for "the program did not join the accessibility bus" 50 accessible_ready
}

accessible_ready() { [ -n "$(caption_of Label1)" ]; }

# Usage: announced ROLE; what a screen reader announces for each showing object of that role,
# one a line.
announced() {
    accessible | awk -F'\t' -v role="$1" '$1 == role {print $2}'
}

# Usage: choose_from_countdown_menu KEY...; the countdown's menu, opened with a right click on the
# time left; the entry is chosen with the keys given and Return, since menus are left out of the accessibility tree and so cannot be found there.
choose_from_countdown_menu() {
    xdotool mousemove $((cx + 28)) $((cy + 8)) click 3
    sleep 0.5
    xdotool key "$@" Return
    sleep 0.5
}

# Usage: pick_from_list X Y DOWNS; opens the list with the drop-down button at X,Y and picks
# the entry DOWNS below the first one. A freshly filled list has no highlighted entry, so the
# first Down reaches the first entry.
pick_from_list() {
    local x=$1 y=$2 downs=$3 i
    xdotool mousemove "$x" "$y" click 1
    sleep 0.5
    for ((i = 0; i <= downs; i++)); do
        xdotool key Down
    done
    xdotool key Return
    sleep 0.5
}

# Change Time, then the lead and the interval (each as steps down from the first entry).
set_up_countdown() {
    local lead_downs=$1 interval_downs=$2 setup sx sy
    choose_from_countdown_menu Down
    setup=$(xvfb_wait_window "Form1" 50) || fail "Change Time did not show the setup window"
    read -r sx sy < <(xvfb_window_origin "$setup")
    pick_from_list $((sx + 105)) $((sy + 90)) "$lead_downs"
    pick_from_list $((sx + 105)) $((sy + 51)) "$interval_downs"
    countdown=$(xvfb_wait_window "CountDown Timer" 50) || fail "the countdown window did not return"
    read -r cx cy < <(xvfb_window_origin "$countdown")
}

# Prints how many separate dark phases of the warning flash are seen within TENTHS tenths of a
# second, sampling the countdown's top-left pixel; stops once the flash is over.
count_flashes() {
    local limit=$1 tries=0 phases=0 dark=0 pixel
    while [ "$tries" -lt "$limit" ]; do
        pixel=$(xvfb_pixel $((cx + 2)) $((cy + 2)))
        if [ "$pixel" = "000000" ]; then
            [ "$dark" = 1 ] || phases=$((phases + 1))
            dark=1
        else
            dark=0
            # After at least one dark phase, a whole second of normal colours means it is over.
            if [ "$phases" -gt 0 ]; then
                normal_since=${normal_since:-$tries}
                [ $((tries - normal_since)) -lt 10 ] || break
            fi
        fi
        [ "$dark" = 0 ] || unset normal_since
        tries=$((tries + 1))
        sleep 0.05
    done
    unset normal_since
    echo "$phases"
}
