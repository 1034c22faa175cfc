# Shared steps of the reliability tests: the real brindle program under faults people meet (a
# wall clock that jumps, a machine that sleeps, a broken chime file, careless hands). Builds on
# the end-to-end steps in tests/e2e/e2e_lib.sh. Sourced with the program's path in $program and
# the pixel watcher's path in $pixel_watch.

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
source "$repo/scripts/e2e-pulse"
reliability_dir="$repo/tests/reliability"
faketime_library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1

# Usage: rel_copy_program PROGRAM DIR; copies the program into DIR with the modules it loads
# from beside itself (shared libraries), but not the chime that lies beside a build.
rel_copy_program() {
    local module
    cp "$1" "$2/brindle"
    for module in "$(dirname "$1")"/*.so "$(dirname "$1")"/*.so.*; do
        [ ! -f "$module" ] || cp "$module" "$2/"
    done
}

# Usage: rel_session PROGRAM [CHIME]; starts the virtual display, the accessibility bus and the
# sound server, and copies the program (and the chime beside it) into the scratch directory
# $work, where it runs as $program with $preload.
rel_session() {
    xvfb_session_start
    e2e_accessibility_start
    e2e_pulse_start
    work=$(mktemp -d)
    chmod 755 "$work"
    rel_copy_program "$1" "$work"
    if [ -n "${2:-}" ]; then
        cp "$2" "$work/S_Timer.wav"
    fi
    program="$work/brindle"
    preload=$(rel_preload "$1")
    rel_sanitizer_options
    trap rel_finish EXIT
    cd "$work"
}

# On the way out: a sanitizer report fails the test, everything started is stopped, and the
# scratch directory is removed after a pass; after a failure it stays for a look, less any file
# too big to keep around.
rel_finish() {
    local status=$?
    if [[ "$preload" == *libasan* ]]; then
        rel_sanitizer_verdict || status=1
    fi
    xvfb_session_stop
    if [ "$status" = 0 ]; then
        rm -rf "$work"
    else
        find "$work" -type f -size +50M -delete 2>/dev/null || true
    fi
    exit "$status"
}

# A program built with AddressSanitizer and UndefinedBehaviorSanitizer stops at the first report,
# leaks included, with a failing status that Exit App's check sees; the reports go to files in
# $work that rel_sanitizer_verdict shows. Known leaks of system libraries are suppressed.
rel_sanitizer_options() {
    [[ "$preload" == *libasan* ]] || return 0
    # Open to every user, since one case runs the program as an ordinary user.
    mkdir -p "$work/sanitizer"
    chmod 1777 "$work/sanitizer"
    cp "$reliability_dir/lsan.supp" "$work/sanitizer/lsan.supp"
    chmod 644 "$work/sanitizer/lsan.supp"
    # Full stacks, so a suppression can name the frame a leak comes from.
    export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:fast_unwind_on_malloc=0:log_path=$work/sanitizer/report"
    export LSAN_OPTIONS="suppressions=$work/sanitizer/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$work/sanitizer/report"
}

rel_sanitizer_verdict() {
    local report
    for report in "$work"/sanitizer/report.*; do
        [ -e "$report" ] || continue
        echo "FAIL: sanitizer report $report:" >&2
        head -n 60 "$report" >&2
        return 1
    done
}

rel_require_tools() {
    e2e_require_gui_tools
    e2e_require pulseaudio pactl parecord sox "$faketime_library"
}

# What to preload into the program: libfaketime, after a sanitizer runtime when the program was
# built with one, since that runtime must come first.
rel_preload() {
    local asan_runtime
    asan_runtime=$(ldd "$1" | awk '/libasan\.so/ {print $3; exit}')
    if [ -n "$asan_runtime" ]; then
        echo "$asan_runtime:$faketime_library"
    else
        echo "$faketime_library"
    fi
}

# The fake wall clock lives in a file that libfaketime reads on every call, holding an offset in
# whole seconds from the real clock, so a test can move it while the program runs.
rel_clock_file=""
rel_clock_offset=0

# Usage: rel_clock_use FILE; the fake clock starts at the real time.
rel_clock_use() {
    rel_clock_file=$1
    rel_clock_write 0
}

# The environment for start_brindle that puts the program on the fake clock. Monotonic clocks
# stay real, as the program's timers need them.
rel_clock_env() {
    echo "FAKETIME_TIMESTAMP_FILE=$rel_clock_file FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1"
}

rel_clock_write() {
    rel_clock_offset=$1
    if [ "$rel_clock_offset" -ge 0 ]; then
        echo "+$rel_clock_offset" >"$rel_clock_file.new"
    else
        echo "$rel_clock_offset" >"$rel_clock_file.new"
    fi
    # A rename, so the program never reads a half-written file.
    mv "$rel_clock_file.new" "$rel_clock_file"
}

# Usage: rel_clock_set 'YYYY-MM-DD hh:mm:ss'; the fake clock reads that local time now (in $TZ).
rel_clock_set() {
    rel_clock_write $(($(date -d "$1" +%s) - $(date +%s)))
}

# Usage: rel_clock_shift SECONDS; moves the fake clock forward (or back, when negative).
rel_clock_shift() {
    rel_clock_write $((rel_clock_offset + $1))
}

# The fake clock now, in seconds since 1970.
rel_fake_epoch() {
    echo $(($(date +%s) + rel_clock_offset))
}

# Usage: rel_remaining INTERVAL EPOCH; the seconds left to the next boundary of periods of
# INTERVAL minutes counted from midnight (the reference time the program starts with), at the
# local time of EPOCH: a full period at the boundary itself.
rel_remaining() {
    local period=$(($1 * 60)) hms seconds
    hms=$(date -d "@$2" '+%H %M %S')
    read -r h m s <<<"$hms"
    seconds=$((10#$h * 3600 + 10#$m * 60 + 10#$s))
    echo $((period - seconds % period))
}

# Usage: rel_as_display SECONDS; "mm:ss" as the countdown shows it.
rel_as_display() {
    printf '%02d:%02d' $((($1 % 3600) / 60)) $(($1 % 60))
}

rel_display() {
    accessible | awk -F'\t' '$1 == "label" && $3 == "lblCountDown" {print $2; exit}'
}

# Usage: rel_check_display INTERVAL WHAT; fails unless the countdown shows the time left on the
# fake clock. Reading the screen takes a moment and the display follows the clock at the next
# 250 ms tick, so any second from one before the read to the end of the read is right.
rel_check_display() {
    local interval=$1 what=$2 before after shown t
    before=$(rel_fake_epoch)
    shown=$(rel_display)
    after=$(rel_fake_epoch)
    for ((t = before - 1; t <= after; t++)); do
        if [ "$shown" = "$(rel_as_display "$(rel_remaining "$interval" "$t")")" ]; then
            echo "  $what: shows $shown, right for $(date -d "@$after" '+%F %T %Z')"
            return 0
        fi
    done
    fail "$what: the countdown shows '$shown' at $(date -d "@$after" '+%F %T %Z'); expected $(rel_as_display "$(rel_remaining "$interval" "$after")")"
}

# Usage: rel_clock_to_remaining INTERVAL SECONDS [HOUR]; sets the fake clock to the first moment
# of HOUR (default 10) today with SECONDS left to the next boundary.
rel_clock_to_remaining() {
    local period=$(($1 * 60)) left=$2 hour=${3:-10} base
    base=$(date -d "$(date +%F) $hour:00:00" +%s)
    rel_clock_write $((base + ((period - left - (hour * 3600) % period) % period + period) % period - $(date +%s)))
}

# Usage: rel_watch_start LOG; logs the colour changes of the countdown's top-left corner, where
# the warning flash shows black, with their real times. A watcher started before ends first.
rel_watch_start() {
    if [ -n "${rel_watch_pid:-}" ]; then
        kill "$rel_watch_pid" 2>/dev/null || true
    fi
    xvfb_session_spawn bash -c "exec '$pixel_watch' $((cx + 2)) $((cy + 2)) >'$1'"
    rel_watch_pid=$xvfb_last_pid
}

# Usage: rel_alerts LOG [FROM_MS]; prints one line per warning flash seen in the pixel log:
# "START_MS END_MS DARK_PHASES", from the first dark phase to the end of its last. Dark phases
# more than a second apart belong to separate warnings.
rel_alerts() {
    awk -v from="${2:-0}" '
        $1 < from { next }
        $2 == "000000" && !dark { dark = 1; start = $1
            if (n == 0 || start - last_end > 1000) { n++; first[n] = start; phases[n] = 0 }
            phases[n]++ }
        $2 != "000000" && dark { dark = 0; last_end = $1; end[n] = $1 }
        END { for (i = 1; i <= n; i++) print first[i], (end[i] ? end[i] : first[i]), phases[i] }
    ' "$1"
}

# Usage: rel_record_start FILE; records the null sink's sound, mono at 8 kHz, which is plenty to
# tell a chime from silence and small enough for a long run.
rel_record_start() {
    pactl suspend-sink null 1
    pactl suspend-sink null 0
    parecord --latency-msec=20 --device=null.monitor --rate=8000 --channels=1 \
        --format=s16le --file-format=wav "$1" &
    rel_recorder_pid=$!
    xvfb_session_pids+=("$rel_recorder_pid")
    sleep 0.3
}

rel_record_stop() {
    kill -INT "$rel_recorder_pid" 2>/dev/null || true
    wait "$rel_recorder_pid" 2>/dev/null || true
}

sound_bursts() {
    /usr/bin/python3 "$reliability_dir/sound_bursts.py" "$@"
}


# Counting warnings: rel_begin_count marks the moment and starts a fresh recording;
# rel_expect_warnings WHAT COUNT fails unless exactly COUNT warnings (flashes on screen, chimes on
# the sound server) began since.
rel_begin_count() {
    rel_record_stop
    rel_record_start "$work/sound.wav"
    mark=$(date +%s%3N)
}

rel_expect_warnings() {
    local what=$1 count=$2 flashes chimes
    flashes=$(rel_alerts "$work/pixels.log" "$mark" | wc -l)
    rel_record_stop
    chimes=$(sound_bursts "$work/sound.wav" | wc -l)
    echo "  $what: $flashes warning flashes, $chimes chimes (expected $count)"
    [ "$flashes" = "$count" ] || fail "$what: $flashes warnings flashed, expected $count"
    [ "$chimes" = "$count" ] || fail "$what: $chimes chimes sounded, expected $count"
}

# Usage: rel_run_case TZ INTERVAL_DOWNS START; starts the program on a fake clock in the zone,
# sets up a countdown of INTERVAL_DOWNS + 1 minutes with a 30 s lead and moves the clock to
# START, with the flash watcher and the recorder running.
rel_run_case() {
    export TZ=$1
    rel_clock_use "$work/clock"
    start_brindle LD_PRELOAD="$preload" $(rel_clock_env) --
    # The setup takes a few seconds; an early morning keeps any warning away meanwhile.
    rel_clock_set "$(date +%F) 06:00:05"
    set_up_countdown 1 "$2"
    rel_clock_set "$3"
    rel_watch_start "$work/pixels.log"
    rel_recorder_pid=""
    sleep 1
}

# Exit App from the countdown's menu; fails unless the program ends with status 0.
rel_exit_app() {
    choose_from_countdown_menu Up
    local status=0
    for _ in $(seq 1 50); do
        kill -0 "$brindle_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$brindle_pid" 2>/dev/null && fail "the program still runs five seconds after Exit App"
    wait "$brindle_pid" || status=$?
    [ "$status" = 0 ] || fail "Exit App ended the program with status $status"
}
