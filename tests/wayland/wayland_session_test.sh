#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# huegrab-cli in a Wayland session (see wayland_session.sh): the pixels
# must come through the Screenshot portal; what Wayland does not offer must
# be refused in plain words. On sway the seat's virtual pointer and
# keyboard (VIRTUAL_INPUT) click the points that pointer and pixel ask for
# through slurp. On GNOME the pointer comes with a screen cast: the first
# reading shows the share dialog, accepted through Mutter's remote-desktop
# interface (REMOTE_INPUT), which also moves the pointer.
#
#   wayland_session_test.sh gnome|sway HUEGRAB_CLI VIRTUAL_INPUT REMOTE_INPUT
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wayland_session.sh"
enter_test_namespace "${1:-}_session_test" "$@"
virtual_input=${3:-}
remote_input=${4:-}
# A copy of its own, so that its config.ini (which keeps the share's
# token) lands here.
mkdir -p "$work/bin" && cp "$2" "$work/bin/huegrab-cli" || exit 1
cli=$work/bin/huegrab-cli

start_session || exit 1
set_screenshot_permission yes || { show_logs; exit 1; }

# Runs huegrab-cli; its status, stdout and stderr land in $status, $out, $err.
run_cli() {
    out=$("$cli" "$@" 2>"$work/err") && status=0 || status=$?
    err=$(<"$work/err")
}
expect() { # expect STATUS OUT ERR-PATTERN -- ARGUMENTS...
    local want_status=$1 want_out=$2 want_err=$3
    shift 4
    run_cli "$@"
    [[ $status -eq $want_status && $out == "$want_out" && $err == $want_err ]] ||
        fail "huegrab-cli $*: status $status, out '$out', err '$err' (want $want_status, '$want_out', '$want_err')"
}

# GNOME may first show the window in the overview, scaled down; the middle
# of the screen is its background either way once it is there.
expect 0 "x=640 y=360 c=13395507 hex=CC6633 r=51 g=102 b=204 h=147 s=144 l=120" "" -- \
    wait-pixel 640 360 CC6633 --timeout 30
log "the foot window is on the screen"
[[ $status -eq 0 ]] || { show_logs; exit 1; }

expect 0 "#3366CC" "" -- pixel 640 360 --format '#{rrggbb}'
expect 0 "x=700 y=400 c=13395507 hex=3366CC r=51 g=102 b=204 h=147 s=144 l=120" "" -- \
    pixel --rgb 700 400
expect 0 "600,300" "" -- search --rgb 3366CC --region 600,300,100,100
expect 1 "" "huegrab-cli: pixel: 1280,0 is off the screen" -- pixel 1280 0
expect 1 "" "huegrab-cli: pixel: 0,-1 is off the screen" -- pixel 0 -1
# Timed: a reading is one screenshot.
before=$(date +%s%N)
for _ in 1 2 3 4 5; do "$cli" pixel 640 360 >/dev/null 2>&1; done
log "five readings took $((($(date +%s%N) - before) / 1000000)) ms"

# huegrab-cli ARGUMENTS... in the background; 0.1 s after it has started
# slurp, `act` (a click, a key), repeated every 0.6 s until it has ended:
# slurp's overlay may not be up at the first. What lands on foot meanwhile
# does no harm, and no two clicks come close enough for a double click.
# Its status, stdout and stderr land in $status, $out, $err.
run_picking() { # run_picking ACT ARGUMENTS...
    local act=$1 i pid next=
    shift
    "$cli" "$@" >"$work/out" 2>"$work/err" &
    pid=$!
    for ((i = 0; i < 200; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        [[ -z $next ]] && pgrep -x -P "$pid" slurp >/dev/null && next=$((i + 2))
        if [[ -n $next ]] && ((i >= next)); then
            $act || fail "$act did not reach sway"
            next=$((i + 12))
        fi
        sleep 0.05
    done
    kill "$pid" 2>/dev/null && fail "huegrab-cli $* went on picking"
    wait "$pid" && status=0 || status=$?
    out=$(<"$work/out")
    err=$(<"$work/err")
}
click_at() { input move "$1" "$2" && input click; }
press_escape() { input escape; }
ask="huegrab-cli: click the point to read (Esc cancels)"
expect_picking() { # expect_picking STATUS OUT ERR ACT ARGUMENTS...
    local want_status=$1 want_out=$2 want_err=$3
    shift 3
    run_picking "$@"
    [[ $status -eq $want_status && $out == "$want_out" && $err == "$want_err" ]] ||
        fail "huegrab-cli ${*:2} with $1: status $status, out '$out', err '$err' (want $want_status, '$want_out', '$want_err')"
}
# A huegrab-cli killed while the user picks takes slurp with it: its
# overlay would otherwise hold every click of the session.
running() { [[ $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) =~ ^[RSD]$ ]]; }
expect_slurp_ends_with_cli() {
    local i pid slurp=
    "$cli" pointer >/dev/null 2>"$work/err" &
    pid=$!
    for ((i = 0; i < 200; i++)); do
        slurp=$(pgrep -x -P "$pid" slurp) && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [[ -n $slurp ]] || { fail "huegrab-cli pointer started no slurp: $(<"$work/err")"; return; }
    for ((i = 0; i < 40; i++)); do
        running "$slurp" || return 0
        sleep 0.05
    done
    fail "slurp outlived a killed huegrab-cli"
}

# What Wayland does not give another program, said as such. On sway the
# user clicks the point instead.
not_available="huegrab-cli: * not available in a Wayland session: *"
if [[ $desktop == sway ]]; then
    expect_picking 0 "321,123" "$ask" "click_at 321 123" pointer
    expect_picking 0 "x=700 y=400 c=13395507 hex=3366CC r=51 g=102 b=204 h=147 s=144 l=120" \
        "$ask" "click_at 700 400" pixel --rgb
    expect_picking 1 "" "$ask"$'\n'"huegrab-cli: pixel: no point was picked (slurp: selection cancelled)" \
        press_escape pixel
    expect_slurp_ends_with_cli
    # An output moved off the layout's origin: the screenshot starts at its
    # corner, and so do the points picked, up to its far one.
    sway() { SWAYSOCK=$(echo "$XDG_RUNTIME_DIR"/sway-ipc.*.sock) swaymsg "$@" >/dev/null; }
    sway output HEADLESS-1 position 100 50 || fail "swaymsg could not move the output"
    expect_picking 0 "1279,719 3366CC" "$ask" "click_at 1279 719" pixel --format '{x},{y} {rrggbb}'
    # On a scaled output slurp's layout coordinates are not the screenshot's:
    # no picking there, the plain refusal instead.
    sway output HEADLESS-1 scale 2 || fail "swaymsg could not scale the output"
    # (Limited in time: a pick here would wait for a click.)
    out=$(timeout 20 "$cli" pointer 2>"$work/err") && status=0 || status=$?
    err=$(<"$work/err")
    [[ $status -eq 2 && $err == $not_available ]] ||
        fail "huegrab-cli pointer on a scaled output: status $status, err '$err'"
    log "four picks by click; slurp ends with huegrab-cli; no pick on a scaled output"
else
    # The first reading of the pointer asks for the share; the dialog is
    # accepted once, and config.ini keeps the token for the next.
    # The pointer is where the dialog's "Share" was clicked.
    leave_overview "$cli" && rd_start "$remote_input" || { show_logs; exit 1; }
    "$cli" pointer >"$work/out" 2>"$work/err" &
    pid=$!
    accept_chooser "$cli" || fail "the share dialog was not accepted"
    wait "$pid" && status=0 || status=$?
    [[ $status -eq 0 && $(<"$work/out") == "${chooser_share[0]},${chooser_share[1]}" &&
        -z $(<"$work/err") ]] ||
        fail "huegrab-cli pointer through the share dialog: status $status, out '$(<"$work/out")', err '$(<"$work/err")'"
    grep -qE '^GNOME=[0-9a-f-]{36}'$'\r''?$' "$work/bin/config.ini" ||
        fail "no share token in config.ini: '$(cat "$work/bin/config.ini" 2>&1)'"
    # No dialog the second time (one would wait for the user: limited in time).
    rd_pointer_to 1000 600
    out=$(timeout 20 "$cli" pixel --rgb 2>"$work/err") && status=0 || status=$?
    [[ $status -eq 0 && $out == "x=1000 y=600 c=13395507 hex=3366CC r=51 g=102 b=204 h=147 s=144 l=120" ]] ||
        fail "huegrab-cli pixel with the kept token: status $status, out '$out', err '$(<"$work/err")'"
    log "the pointer from the screen cast; its token kept and used"
fi
expect 2 "" "$not_available" -- window-at 10 10
expect 2 "" "$not_available" -- windows
expect 2 "" "$not_available" -- find foot
expect 2 "" "$not_available" -- cursor-code
HUEGRAB_DESKTOP=gnome run_cli pixel 1 1
[[ $status -eq 2 && $err == *'HUEGRAB_DESKTOP is "gnome"'* ]] || fail "HUEGRAB_DESKTOP=gnome: $status '$err'"
HUEGRAB_DESKTOP=x11 run_cli pixel 1 1
[[ $status -eq 2 && $err == *'cannot open the X display'* ]] || fail "HUEGRAB_DESKTOP=x11: $status '$err'"

# Each reading's screenshot is gone once read.
left=$(find "$HOME" -name '*.png' | head -n 3)
[[ -z $left ]] || fail "screenshots left behind: $left"

# A refused screenshot is an error, never a colour. (The wlroots portal
# does not ask the permission store.)
if [[ $desktop == gnome ]]; then
    set_screenshot_permission no
    expect 2 "" "huegrab-cli: the screenshot portal gave no screenshot (not allowed*" -- pixel 640 360
fi
log "the compositor used $(cpu_seconds "$compositor") s of CPU"
finish_test
