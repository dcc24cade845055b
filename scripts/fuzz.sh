#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for a bounded time over its seed
# corpus (fuzz/corpus/<target>). Usage: scripts/fuzz.sh [seconds per target, default 30]
# A crash fails the run; its input is kept in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}

bash scripts/setup.sh
CC=clang CXX=clang++ BUILD_DIR=build-fuzz BUILD_TYPE=RelWithDebInfo bash scripts/build.sh \
    -DLCRPANEL_FUZZ=ON -DLCRPANEL_BUILD_TESTS=OFF -DLCRPANEL_SANITIZE=ON \
    -DCMAKE_CXX_COMPILER=clang++

mkdir -p build-fuzz/crashes build-fuzz/corpus
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export QT_QPA_PLATFORM=offscreen
status=0
for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target" | sed 's/^fuzz_//')
    work=build-fuzz/corpus/$name
    log=build-fuzz/$name.log
    mkdir -p "$work"
    echo "== $name: ${seconds}s"
    if "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/crashes/"$name"- "$work" "fuzz/corpus/$name" >"$log" 2>&1; then
        grep -E "^stat::(number_of_executed_units|peak_rss_mb)" "$log" || true
    else
        grep -E "ERROR|SUMMARY|Test unit written" "$log" || tail -20 "$log"
        echo "!! $name found a crash: see build-fuzz/crashes/"
        status=1
    fi
done
exit $status
