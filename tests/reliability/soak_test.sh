#!/usr/bin/env bash
# Usage: soak_test.sh PATH/TO/brindle PATH/TO/reliability_pixel_watch CHIME MINUTES
# The real program for MINUTES minutes of real time with a 1-minute interval and a 20 s lead,
# under a wall clock running ten times too fast: a boundary every 6 real seconds. The program's
# timers stay on the real monotonic clock, so a 250 ms tick spans 2.5 s of the fast clock and
# most displayed seconds get no tick of their own; the warning rule must still warn every
# boundary exactly once. Counted from outside, by the flashes on screen and the chimes on the
# sound server; the program's resident memory must stay flat after a minute of warm-up.
set -euo pipefail
program_built=$(realpath "$1")
pixel_watch=$(realpath "$2")
chime=$(realpath "$3")
minutes=$4
source "$(dirname "$0")/reliability_lib.sh"
rel_require_tools
rel_session "$program_built" "$chime"
export TZ=UTC

# The fast clock starts at 06:00:05 today; the setup takes a few real seconds.
start_brindle LD_PRELOAD="$preload" FAKETIME="@$(date +%F) 06:00:05 x10" \
    FAKETIME_DONT_FAKE_MONOTONIC=1 --
set_up_countdown 0 0
rel_watch_start "$work/pixels.log"
rel_record_start "$work/sound.wav"
started_ms=$(date +%s%3N)
echo "Soak for $minutes min: interval 1, lead 20, wall clock x10 (a boundary every 6 s)"

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$brindle_pid/status"; }
: >"$work/rss.log"
end=$((SECONDS + minutes * 60))
while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$brindle_pid" 2>/dev/null || fail "the program ended during the soak"
    echo "$(($(date +%s%3N) - started_ms)) $(rss_kb)" >>"$work/rss.log"
    sleep 10
done
ended_ms=$(date +%s%3N)
rel_record_stop
kill "$rel_watch_pid"

# Each warning belongs to the boundary nearest its place in the 6 s rhythm of the first one; a
# boundary warned twice shares its place with another warning, one left out leaves a gap.
rel_alerts "$work/pixels.log" "$started_ms" >"$work/alerts.log"
flashes=$(wc -l <"$work/alerts.log")
read -r places duplicates gaps < <(awk '
    NR == 1 { first = $1 }
    { place = int(($1 - first) / 6000 + 0.5); seen[place]++; if (place > last) last = place }
    END { for (p in seen) if (seen[p] > 1) dup++
          for (p = 0; p <= last; p++) if (!(p in seen)) gap++
          print last + 1, dup + 0, gap + 0 }' "$work/alerts.log")
chimes=$(sound_bursts "$work/sound.wav" | wc -l)
elapsed_s=$(((ended_ms - started_ms) / 1000))
boundaries=$((elapsed_s * 10 / 60))
phases=$(awk '{n += $3} END {printf "%.2f", n / NR}' "$work/alerts.log")
length=$(awk '{n += $2 - $1} END {printf "%.0f", n / NR}' "$work/alerts.log")
echo "  $elapsed_s s real = $((elapsed_s * 10)) s on the fast clock: about $boundaries boundaries"
echo "  $flashes warning flashes over $places boundary places ($duplicates warned twice, $gaps missed)"
echo "  $chimes chimes; on average $phases dark phases a flash, seen for $length ms"

# Memory: the median of the second minute against the median of the last three samples.
read -r warm last < <(awk '
    $1 >= 60000 && $1 < 120000 { w[++nw] = $2 }
    { l[++nl] = $2 }
    function median(a, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
        return a[int((n + 1) / 2)] }
    END { m[1] = l[nl - 2]; m[2] = l[nl - 1]; m[3] = l[nl]; print median(w, nw), median(m, 3) }' \
    "$work/rss.log")
echo "  resident memory: $warm kB after warm-up, $last kB at the end ($((last - warm)) kB growth)"

[ "$duplicates" = 0 ] || fail "$duplicates boundaries were warned twice"
[ "$gaps" = 0 ] || fail "$gaps boundaries were not warned"
[ $((flashes - boundaries)) -le 1 ] && [ $((boundaries - flashes)) -le 1 ] ||
    fail "$flashes warnings for about $boundaries boundaries"
[ $((chimes - flashes)) -le 1 ] && [ $((flashes - chimes)) -le 1 ] ||
    fail "$chimes chimes for $flashes flashes"
[ $((last - warm)) -lt 1024 ] || fail "resident memory grew by $((last - warm)) kB"
rel_exit_app
echo "PASS"
