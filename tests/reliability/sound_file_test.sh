#!/usr/bin/env bash
# Usage: sound_file_test.sh PATH/TO/brindle PATH/TO/reliability_pixel_watch CHIME [--long]
# The chime file as people break it: missing, empty, cut inside its header, a text file or a
# directory of that name, unreadable to the user, or a huge 200 MB WAV. Whatever the file, the
# warning flashes its whole 2.8 s, the program answers while it flashes, sound comes only from a
# playable file, and the program goes on and ends normally afterwards.
set -euo pipefail
program_built=$(realpath "$1")
pixel_watch=$(realpath "$2")
chime=$(realpath "$3")
long=${4:-}
source "$(dirname "$0")/reliability_lib.sh"
rel_require_tools
rel_session "$program_built"
export TZ=UTC

# A program run by another user than root reaches the sound server through a socket open to
# anyone; the session bus is root's own, so such a run is read from the screen alone.
pactl load-module module-native-protocol-unix auth-anonymous=1 socket="$work/pulse-anyone" \
    >/dev/null

# Usage: warn_once CASE_DIR SOUND[heard|silent] [USER]; runs the program from CASE_DIR, lets one
# warning come and checks its flash and its sound.
warn_once() {
    local case_dir=$1 sound=$2 user=${3:-} alert phases span bursts shown
    program="$case_dir/brindle"
    rel_copy_program "$program_built" "$case_dir"
    chmod 755 "$case_dir"
    cd "$case_dir"
    rel_clock_use "$case_dir/clock"
    chmod 644 "$case_dir/clock"
    if [ -z "$user" ]; then
        start_brindle LD_PRELOAD="$preload" $(rel_clock_env) --
    else
        local runtime
        runtime=$(mktemp -d)
        chown "$user" "$runtime"
        xvfb_session_spawn runuser -u "$user" -- env XDG_RUNTIME_DIR="$runtime" HOME="$runtime" \
            PULSE_SERVER="unix:$work/pulse-anyone" DBUS_SESSION_BUS_ADDRESS= \
            LD_PRELOAD="$preload" $(rel_clock_env) "$program"
        brindle_pid=$xvfb_last_pid
        countdown=$(xvfb_wait_window "CountDown Timer" 150) || fail "no countdown window as $user"
        read -r cx cy < <(xvfb_window_origin "$countdown")
        sleep 1
    fi
    rel_clock_set "$(date +%F) 06:00:05"
    set_up_countdown 1 0
    rel_watch_start "$case_dir/pixels.log"
    rel_record_start "$case_dir/sound.wav"
    mark=$(date +%s%3N)
    rel_clock_to_remaining 1 31
    # While it flashes, the program answers what a screen reader asks.
    wait_for "no warning flash began" 60 grep -q ' 000000$' "$case_dir/pixels.log"
    if [ -z "$user" ]; then
        shown=$(rel_display)
        [[ "$shown" =~ ^00:[0-3][0-9]$ ]] || fail "during the flash the countdown reads '$shown'"
    fi
    sleep 3.5
    rel_record_stop
    alert=$(rel_alerts "$case_dir/pixels.log" "$mark")
    [ "$(echo "$alert" | wc -l)" = 1 ] || fail "expected one warning, saw: $alert"
    read -r first last phases <<<"$alert"
    # Fourteen pauses of the same length; the last one, in normal colours, is not seen.
    span=$(awk -v a="$first" -v b="$last" 'BEGIN {printf "%.2f", (b - a) * 14 / 13 / 1000}')
    bursts=$(sound_bursts "$case_dir/sound.wav" | wc -l)
    echo "  $(basename "$case_dir"): flashed $phases times over ${span} s, $bursts sounds"
    [ "$phases" = 7 ] || fail "$(basename "$case_dir"): $phases dark phases instead of 7"
    awk -v s="$span" 'BEGIN {exit !(s >= 2.52 && s <= 3.08)}' ||
        fail "$(basename "$case_dir"): the flash lasted $span s, not 2.8 s"
    if [ "$sound" = heard ]; then
        [ "$bursts" -ge 1 ] || fail "$(basename "$case_dir"): a playable chime was not heard"
    else
        [ "$bursts" = 0 ] || fail "$(basename "$case_dir"): an unplayable chime made sound"
    fi
    if [ -z "$user" ]; then
        rel_check_display 1 "after the warning"
    fi
    rel_exit_app
    cd "$work"
}

# The short run leaves out the playable, missing and text cases, which the end-to-end warning
# test covers.
if [ "$long" = "--long" ]; then
    mkdir "$work/playable"
    cp "$chime" "$work/playable/S_Timer.wav"
    warn_once "$work/playable" heard

    mkdir "$work/missing"
    warn_once "$work/missing" silent

    mkdir "$work/text"
    printf 'This is not a sound.\nRIFF\nWAVE\n' >"$work/text/S_Timer.wav"
    warn_once "$work/text" silent
fi

mkdir "$work/empty"
: >"$work/empty/S_Timer.wav"
warn_once "$work/empty" silent

mkdir "$work/cut-in-header"
head -c 30 "$chime" >"$work/cut-in-header/S_Timer.wav"
warn_once "$work/cut-in-header" silent

mkdir -p "$work/directory/S_Timer.wav"
warn_once "$work/directory" silent

# Root reads any file whatever its mode, so this case runs as an ordinary user.
mkdir "$work/unreadable"
cp "$chime" "$work/unreadable/S_Timer.wav"
chmod 000 "$work/unreadable/S_Timer.wav"
if id nobody >/dev/null 2>&1 && command -v runuser >/dev/null; then
    # The same user hears a chime it may read, so the silence below is the file's doing.
    mkdir "$work/readable-as-user"
    cp "$chime" "$work/readable-as-user/S_Timer.wav"
    warn_once "$work/readable-as-user" heard nobody
    warn_once "$work/unreadable" silent nobody
else
    echo "  unreadable: SKIPPED, no unprivileged user to run the program as"
fi

# The chime followed by 200 MB of silence: it is playable, so the chime is heard.
mkdir "$work/huge"
sox "$chime" "$work/huge/S_Timer.wav" pad 0 $((200 * 1024 * 1024 / 88200))
warn_once "$work/huge" heard
echo "PASS"
