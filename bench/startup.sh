#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time (launch to the connection window shown) and peak resident memory of each
# program, under a virtual X display. Usage: bench/startup.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

measure() {
    local program=$1 caption=$2 runs=5 total=0 rss=0
    for _ in $(seq $runs); do
        local start end pid
        start=$(date +%s%N)
        LCRPANEL_COM1=/nonexistent/port "$build/src/$program" &
        pid=$!
        until xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; do sleep 0.005; done
        end=$(date +%s%N)
        total=$((total + (end - start) / 1000))
        rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    done
    awk -v p="$program" -v t="$total" -v n="$runs" -v r="$rss" 'BEGIN {
        printf "%s: start-up to window shown %.1f ms (mean of %d), peak resident memory %.1f MiB\n",
               p, t / n / 1000, n, r / 1024 }'
}

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
measure LR40 "Marovex LR40 Vantorel V1.0"
measure PX80panel "Marovex PX80 Vantorel V1.0"
