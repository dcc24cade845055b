#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The figures of lcrctl in docs/PERFORMANCE.md: a default sweep against the pacing floor,
# start to the first byte on the line, resident memory during a 1001-point sweep, and the
# libraries it loads. Usage: bash bench/lcrctl.sh [build dir]
set -euo pipefail
build=${1:-build}
lcrctl="$build/src/lcrctl"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

simulate() { # family
    "$build/sim/lcrsim" --dialect "$1" --link "$work/$1" >/dev/null 2>&1 &
    for _ in $(seq 50); do [ -e "$work/$1" ] && return; sleep 0.1; done
}

# The absolute time, in seconds, of the first byte sent whose text starts with prefix.
first_sent_at() { # trace, prefix
    python3 - "$1" "$2" <<'PY'
import datetime, re, sys
lines = open(sys.argv[1]).read().splitlines()
began = re.search(r"started ([0-9T:.-]+)", lines[0]).group(1)
for line in lines[1:]:
    ms, mark, text = (line.split(" ", 2) + ["", ""])[:3]
    if mark == ">" and text.startswith(sys.argv[2]):
        print(datetime.datetime.fromisoformat(began).timestamp() + float(ms) / 1000)
        break
PY
}

for family in lr40 px80; do
    simulate $family
    # Per point: the 100 ms frequency pause, LR40 one trigger-and-settle (0.2 s), PX80 two
    # settled reads and a 100 ms trigger pause.
    floor=$([ $family = lr40 ] && echo 3300 || echo 6600)
    for run in 1 2 3; do
        # From the first "conf:freq" to the end of the process, just after the last row.
        "$lcrctl" --family $family --port "$work/$family" --trace "$work/trace" sweep >/dev/null
        end=$(date +%s.%N)
        span=$(python3 -c "print('%.1f' % (($end - $(first_sent_at "$work/trace" conf:freq)) * 1000))")
        echo "$family default sweep, run $run: $span ms, $(awk "BEGIN { printf \"%.4f\", $span / $floor }") of the $floor ms floor"
    done

    # Start to the first byte: the trace's start time plus its first "> " line, against the
    # time of the start.
    start=$(date +%s.%N)
    "$lcrctl" --family $family --port "$work/$family" --trace "$work/trace" lock
    echo "$family start to first byte: $(python3 -c "print('%.1f ms' % (($(first_sent_at "$work/trace" "") - $start) * 1000))")"
done
[ "${QUICK:-}" = 1 ] && exit 0

# Resident memory: the highest mark of a 1001-point LR40 sweep (about five minutes).
"$lcrctl" --family lr40 --port "$work/lr40" sweep --steps 1000 --output "$work/rows.csv" &
pid=$!
peak=0
while kill -0 $pid 2>/dev/null; do
    hwm=$(awk '/VmHWM/ { print $2 }' /proc/$pid/status 2>/dev/null || echo 0)
    [ "${hwm:-0}" -gt "$peak" ] && peak=$hwm
    sleep 1
done
echo "lr40 1001-point sweep: peak resident $((peak / 1024)) MiB ($peak KiB), $(($(wc -l <"$work/rows.csv") - 1)) rows"

echo "Qt libraries loaded: $(ldd "$lcrctl" | grep -o 'libQt6[A-Za-z]*' | sort -u | tr '\n' ' ')"
