#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a built panel program (LR40 or PX80panel) in a virtual X display against the
# instrument simulator and drives it as an operator would, through the window system only:
#
#   connection window: Tab to "Finished", space        -> the preparation commands
#   "Results": Tab to the Config button, Enter         -> identification (LR40: "option 00 08 ")
#   "Configuration": pick "Sweep" with the arrow key, Tab to "Exit", Enter
#                    (PX80panel passes "Update Test" on the way and presses it too)
#   "Results": back to "Start", Enter                  -> an 11-point sweep
#   "Results": shift+Tab twice to "Plot", Enter        -> the "Sweep" view of that sweep
#   title-bar close of "Results" (the view goes with it), then of the connection window
#                                                      -> the program ends, status 0
#
# Each of the four windows is photographed (import -window) into --shots. The simulator's
# command log must hold the expected commands in order; the screenshots must show the grey
# windows, light grey buttons, green Start, red Stop, white entries and the view's two
# curves; the program's stderr must hold no style sheet or layout warning.
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb on this machine).
set -uo pipefail

usage() {
    echo "Usage: $0 --program PATH/LR40|PATH/PX80panel --simulator PATH/lcrsim --shots DIR" \
        "[--scale N] [--style NAME] [--suffix TEXT]" >&2
    exit 2
}

program='' simulator='' shots='' scale=1 style='' suffix=''
while [ $# -gt 0 ]; do
    case $1 in
        --program) program=$2 ;;
        --simulator) simulator=$2 ;;
        --shots) shots=$2 ;;
        --scale) scale=$2 ;;
        --style) style=$2 ;;
        --suffix) suffix=$2 ;;
        *) usage ;;
    esac
    shift 2 || usage
done
if [ -z "$program" ] || [ -z "$simulator" ] || [ -z "$shots" ]; then
    usage
fi

here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$program")
case $name in
    LR40)
        dialect=lr40
        caption='Marovex LR40 Vantorel V1\.0'
        last_preparation='syst:fres sci\r'
        # From the first control (TestNo) back past Exit to the sweep choice; then on to
        # Exit through the sweep frame.
        to_sweep_choice=(shift+Tab shift+Tab)
        to_exit=(Tab Tab Tab Tab Tab)
        fetch='MEAS:*WAIT:FETC?\r'
        ;;
    PX80panel)
        dialect=px80
        caption='Marovex PX80 Vantorel V1\.0'
        last_preparation='conf:fres sci\n'
        to_sweep_choice=(shift+Tab shift+Tab shift+Tab)
        to_exit=(Tab Tab Tab Tab Tab Return Tab)
        fetch='Fetch?\n'
        ;;
    *) echo "FAIL: unknown program $name (expected LR40 or PX80panel)" >&2; exit 1 ;;
esac

# The generous limit of every wait: a loaded two-core machine may be slow, never stuck.
wait_limit=${LCRPANEL_DISPLAY_WAIT:-90}

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: Xvfb is not installed (Debian package xvfb, installed by scripts/setup.sh)."
    exit 77
fi
missing=()
for tool in xdotool:xdotool import:imagemagick convert:imagemagick xwininfo:x11-utils; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool#*:}")
done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || missing+=(python3-xlib)
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: missing Debian packages: ${missing[*]} (scripts/setup.sh installs them)" >&2
    exit 1
fi
for f in "$program" "$simulator"; do
    [ -x "$f" ] || { echo "FAIL: $f is not a built program" >&2; exit 1; }
done

# Nothing here may touch the display the tests were started from.
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/lcrpanel-display-XXXXXX")
mkdir -p "$shots"
rm -f "$shots/$name$suffix-FAILED-screen.png"
xvfb_pid='' sim_pid='' panel_pid=''

stop_pid() {
    [ -n "$1" ] && kill "$1" 2>/dev/null && wait "$1" 2>/dev/null
}
cleanup() {
    stop_pid "$panel_pid"
    stop_pid "$sim_pid"
    stop_pid "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT

step() { echo "[$name${suffix}] $*"; }

# On failure: what the screen shows, which windows are up, what the program and the
# simulator said.
fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        import -window root "$shots/$name$suffix-FAILED-screen.png" 2>/dev/null &&
            echo "  screen at failure: $shots/$name$suffix-FAILED-screen.png" >&2
        echo "  windows shown:" >&2
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            echo "    $(xdotool getwindowname "$id" 2>/dev/null)" >&2
        done
    fi
    for log in panel.err sim.err; do
        [ -s "$work/$log" ] && { echo "  --- $log:" >&2; sed 's/^/    /' "$work/$log" >&2; }
    done
    if [ -s "$work/sim.log" ]; then
        echo "  --- the last commands the simulator received:" >&2
        tail -n 30 "$work/sim.log" | sed 's/^/    /' >&2
    fi
    exit 1
}

# Runs a test command every 0.2 s until it succeeds; fails after the wait limit or when
# the program has ended unexpectedly.
wait_until() {
    local what=$1
    shift
    local end=$((SECONDS + wait_limit))
    until "$@"; do
        if [ -n "$panel_pid" ] && ! kill -0 "$panel_pid" 2>/dev/null; then
            fail "the program ended while waiting for $what"
        fi
        [ $SECONDS -lt $end ] || fail "no $what after ${wait_limit} s"
        sleep 0.2
    done
}

shown_window() { # caption pattern -> id of the shown window with exactly that caption
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}
is_shown() { [ -n "$(shown_window "$1")" ]; }
is_gone() { [ -z "$(shown_window "$1")" ]; }
window_of() { # caption pattern -> id, waiting for the window to be shown
    wait_until "window \"$1\"" is_shown "$1"
    shown_window "$1"
}

# Keys go to the window that has the input focus, as typed keys do.
type_keys() { # window id, keys...
    local id=$1
    shift
    xdotool windowfocus --sync "$id" || fail "cannot focus window $id"
    sleep 0.5 # the program activates the window and its focus widget
    xdotool key --delay 150 "$@" || fail "xdotool key $*"
}

window_system() { /usr/bin/python3 "$here/window_system.py" "$@"; }

# A screenshot once the window has stopped changing: three shots in a row alike, 0.7 s
# apart. The focus is taken away first, so that no text cursor blinks.
photograph() { # window id, file
    local id=$1 file=$2 previous='' current alike=0 tries=0
    window_system drop-focus || fail "cannot take the focus away"
    while [ $alike -lt 2 ]; do
        sleep 0.7
        import -window "$id" "$work/shot.png" 2>>"$work/import.err" ||
            fail "import -window $id failed: $(cat "$work/import.err")"
        current=$(identify -format '%#' "$work/shot.png")
        if [ "$current" = "$previous" ]; then
            alike=$((alike + 1))
        else
            alike=0
        fi
        previous=$current
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "window $id never stopped changing"
    done
    cp "$work/shot.png" "$file"
    step "screenshot $file ($(identify -format '%wx%h' "$file"))"
}

pixels_of() { # image, colour as #RRGGBB -> number of pixels of exactly that colour
    convert "$1" -depth 8 -format %c histogram:info:- |
        awk -v c="$2" 'toupper($0) ~ toupper(c) " " { n += $1 } END { print n + 0 }'
}
expect_colour() { # image, colour, what it is, smallest believable area at scale 1
    local n
    n=$(pixels_of "$1" "$2")
    [ "$n" -ge $(($4 * scale * scale)) ] ||
        fail "$(basename "$1"): $3 ($2) covers only $n pixels"
}

commands_logged() { # how many times the simulator received exactly this command
    grep -cxF -- "$1" "$work/sim.log" 2>/dev/null || true
}
has_logged() { [ "$(commands_logged "$1")" -ge "${2:-1}" ]; }

# The commands must appear in this order (other commands may come between them).
expect_in_order() {
    local line=1 command found
    for command in "$@"; do
        found=$(tail -n "+$line" "$work/sim.log" | grep -nxF -m 1 -- "$command" | cut -d: -f1)
        [ -n "$found" ] || fail "the simulator did not receive \"$command\" (in this order: $*)"
        line=$((line + found))
    done
}

# --- the display, the simulator, the program -------------------------------------------
width=$((1600 * scale)) height=$((1200 * scale))
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
    3>"$work/display-number" 2>"$work/xvfb.err" &
xvfb_pid=$!
display_ready() { grep -q '^[0-9]' "$work/display-number"; }
wait_until "display from Xvfb" display_ready
DISPLAY=":$(head -n 1 "$work/display-number")"
export DISPLAY
step "Xvfb on $DISPLAY (${width}x${height}), scale $scale${style:+, style $style}"

"$simulator" --dialect "$dialect" --link "$work/line" --log "$work/sim.log" \
    >/dev/null 2>"$work/sim.err" &
sim_pid=$!
line_ready() { [ -e "$work/line" ]; }
wait_until "simulator line" line_ready

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No session bus in the virtual display: libdbus then does not try to start one through
# the X server (which leaves memory behind that LeakSanitizer reports).
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
# Programs built with the sanitizers: leave the X11 client libraries' own reports out.
if [ -n "${ASAN_OPTIONS+set}" ] && [[ $ASAN_OPTIONS != *suppressions=* ]]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}suppressions=$here/x11-client.asan.supp"
fi
args=()
[ -n "$style" ] && args+=(-style "$style")
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale LCRPANEL_COM1="$work/line" \
    "$program" "${args[@]}" 2>"$work/panel.err" &
panel_pid=$!

# --- connection window ------------------------------------------------------------------
connection=$(window_of "$caption") || exit 1
step "connection window $connection"
photograph "$connection" "$shots/$name$suffix-connection.png"
type_keys "$connection" Tab Tab space # port, baud, "Finished"

# --- Results, and the configuration window -----------------------------------------------
results=$(window_of Results) || exit 1
step "Results $results"
wait_until "preparation commands" has_logged "$last_preparation"
type_keys "$results" Tab Tab Return # Start, Stop, Config

configuration=$(window_of Configuration) || exit 1
step "Configuration $configuration"
type_keys "$configuration" "${to_sweep_choice[@]}" Down # "Sweep" shows the sweep frame
photograph "$configuration" "$shots/$name$suffix-configuration.png"
type_keys "$configuration" "${to_exit[@]}" Return
wait_until "Configuration hidden by its Exit" is_gone Configuration

# --- a sweep in Results -----------------------------------------------------------------
type_keys "$results" shift+Tab shift+Tab Return # from Config back to Start
sweep_done() { has_logged "$fetch" 11; }
wait_until "11 measurements of the sweep" sweep_done
photograph "$results" "$shots/$name$suffix-results.png"

# --- the sweep view ---------------------------------------------------------------------
type_keys "$results" shift+Tab shift+Tab Return # from Start back past Exit to Plot
sweep_view=$(window_of Sweep) || exit 1
step "Sweep $sweep_view"
photograph "$sweep_view" "$shots/$name$suffix-sweep.png"

# --- title-bar closes -------------------------------------------------------------------
window_system close "$results" || fail "cannot close Results"
wait_until "Sweep closed with Results" is_gone Sweep
connection=$(window_of "$caption") || exit 1
window_system close "$connection" || fail "cannot close the connection window"
program_ended() { ! kill -0 "$panel_pid" 2>/dev/null; }
end=$((SECONDS + wait_limit))
until program_ended; do
    [ $SECONDS -lt $end ] || fail "the program did not end after its window was closed"
    sleep 0.2
done
wait "$panel_pid"
status=$?
panel_pid=''
[ $status -eq 0 ] || fail "the program ended with status $status"
step "program ended with status 0"

# --- what the instrument received --------------------------------------------------------
if [ $dialect = lr40 ]; then
    expect_in_order 'syst:trig ext\r' 'syst:disp dmeas\r' 'syst:fres sci\r' '*IDN?\r' \
        'option 00 08 \r' 'conf:freq 1000\n' 'MEAS:*WAIT:FETC?\r' 'conf:freq 100000\n' \
        'MEAS:*WAIT:FETC?\r'
else
    # PX80panel also uploads the test ("Update Test") before the sweep.
    expect_in_order 'conf:disp m\n' 'conf:fres sci\n' '*idn?\n' 'conf:trig ext\n' \
        'conf:freq 1000\n' 'conf:aver 1\n' 'conf:freq 1000\n' 'MEAS:\n' '*STB?\n' 'Fetch?\n' \
        'conf:freq 100000\n' 'Fetch?\n'
fi
[ "$(commands_logged 'option 00 08 \r')" -le 1 ] || fail "\"option 00 08 \" sent more than once"
step "the simulator received the expected commands"

# --- the looks -------------------------------------------------------------------------
expect_colour "$shots/$name$suffix-results.png" '#00FF00' 'the green Start button' 1000
expect_colour "$shots/$name$suffix-results.png" '#FF0000' 'the red Stop button' 1000
expect_colour "$shots/$name$suffix-results.png" '#C0C0C0' 'the grey background' 20000
for window in connection configuration; do
    expect_colour "$shots/$name$suffix-$window.png" '#C0C0C0' 'the grey background' 10000
    expect_colour "$shots/$name$suffix-$window.png" '#E0E0E0' 'the light grey buttons' 1000
    expect_colour "$shots/$name$suffix-$window.png" '#FFFFFF' 'the white entries' 2000
done
# The view's two curves drawn, in the chart's first two colours.
expect_colour "$shots/$name$suffix-sweep.png" '#C0C0C0' 'the grey background' 20000
expect_colour "$shots/$name$suffix-sweep.png" '#E0E0E0' 'the light grey buttons' 1000
expect_colour "$shots/$name$suffix-sweep.png" '#209FDF' 'the primary curve' 150
expect_colour "$shots/$name$suffix-sweep.png" '#99CA53' 'the secondary curve' 150
if grep -Ei 'stylesheet|style sheet|QLayout|setTabOrder|QWidget::' "$work/panel.err"; then
    fail "the program warned about its windows (above)"
fi
step "passed"
