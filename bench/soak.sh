#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Soak runs of LR40 against lcrsim on a pseudo-terminal, logging on, driven through the
# windows like an operator. Builds nothing: build lcrpanel_soak and lcrsim first
# (cmake --build build --target lcrpanel_soak lcrsim). Run by hand; see docs/RELIABILITY.md.
#
# Usage: bench/soak.sh MODE [options]     (BUILD_DIR=build by default)
#   sweeps  [--minutes 30] [--steps 1000]                  back-to-back 1001-point sweeps
#   singles [--count 5000]                                 single measurements
#   cuts    [--minutes 30] [--cut-every 180] [--restore-ms 2000] [--steps 1000]
#                                                          the line cut and restored, reconnects
#   all                                                    the three, with their defaults
# Options of every mode: --log FILE (kept; default a temporary file). With LCRPANEL_TRACE
# set, the run also writes a byte trace. Exit status 0 when every check holds.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
driver=$build/bench/lcrpanel_soak
sim=$build/sim/lcrsim

for program in "$driver" "$sim"; do
    if [ ! -x "$program" ]; then
        echo "$program is not built: cmake --build $build --target lcrpanel_soak lcrsim" >&2
        exit 2
    fi
done

if [ "${1:-}" = all ]; then
    status=0
    for mode in sweeps singles cuts; do
        echo "== $mode"
        "$driver" "$mode" --lcrsim "$sim" || status=1
    done
    exit $status
fi
exec "$driver" "$@" --lcrsim "$sim"
