#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds, starts the instrument simulator on a pseudo-terminal and opens the
# panel against it. Usage: scripts/demo.sh [LR40|PX80panel]
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-LR40}
case "$program" in
    LR40) dialect=lr40 ;;
    PX80panel) dialect=px80 ;;
    *) echo "Usage: $0 [LR40|PX80panel]" >&2; exit 2 ;;
esac

bash scripts/setup.sh
bash scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display to show the program on."
    echo "Run this from a desktop session, or with a virtual one:  xvfb-run -a bash $0 $program"
    echo "(under xvfb-run the windows are invisible; use it to check that the program starts)."
    exit 2
fi

link=$(mktemp -u /tmp/lcrsim-XXXXXX)
./build/sim/lcrsim --dialect "$dialect" --link "$link" >/dev/null &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

echo "Simulated $program instrument on $link (port 1). Press \"Finished\" to connect."
LCRPANEL_COM1="$link" "./build/src/$program"
