#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window on sway's XWayland (see wayland_session.sh), where no program
# may read the pointer: switching tracking on lets the user click one point
# through slurp, with the seat's virtual pointer here; the swatch then
# shows that point's colour, read from a screenshot taken as the pick
# began, and tracking goes off again. Closing the window during a pick
# ends slurp.
#
#   window_pick_session_test.sh sway HUEGRAB_CLI HUEGRAB CONTROL_POINT VIRTUAL_INPUT
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wayland_session.sh"
enter_test_namespace window_sway_session_test "$@"
cli=$2 control_point=$4 virtual_input=$5

start_session || exit 1
set_screenshot_permission yes || { show_logs; exit 1; }
"$cli" wait-pixel 640 360 CC6633 --timeout 30 >/dev/null || { fail "foot did not show"; finish_test; }
# sway starts XWayland as the first X client comes, on the socket it made
# in this session's own /tmp. It lets in clients of its own user: as root,
# sway's is nobody, who lets root in.
socket=$(find /tmp/.X11-unix -name 'X*' | head -n 1)
[[ -n $socket ]] || { fail "sway made no XWayland socket"; show_logs; exit 1; }
xwayland_display=:${socket##*/X} xwayland_auth=
if [[ $(id -u) -eq 0 ]]; then
    DISPLAY=$xwayland_display setpriv --reuid=65534 --regid=65534 --clear-groups \
        xhost +si:localuser:root >/dev/null || { fail "XWayland did not let root in"; finish_test; }
fi
window_program "$3" && start_window || { show_logs; exit 1; }
click() { input move $(at "$1") && input click; }
lamp_is() { "$cli" wait-pixel $(at Label8) "$1" --timeout "$2" >/dev/null; }
# sway draws a fullscreen window above the floating ones: foot, tiled
# instead, still fills the screen around the window.
SWAYSOCK=$(echo "$XDG_RUNTIME_DIR"/sway-ipc.*.sock) swaymsg '[app_id="foot"] fullscreen disable' \
    >/dev/null || fail "swaymsg could not end foot's fullscreen"
lamp_is 00FF00 10 || { fail "the window's green lamp did not show"; finish_test; }

# A point of foot's, beside the window, to click.
target=
for point in "40 680" "1240 680" "40 40" "1240 40"; do
    "$cli" wait-pixel $point CC6633 --timeout 1 >/dev/null && { target=$point; break; }
done
[[ -n $target ]] || { fail "no point of foot beside the window"; finish_test; }

# Switched on, the window takes a screenshot, then waits for the click on
# slurp's overlay; a click that only raised the window is repeated. Slurp
# is awaited before anything else is read: the wlroots portal writes every
# screenshot to the one file, and two at once spoil each other.
switch_on() {
    local i j
    for ((i = 0; i < 3; i++)); do
        click Check1 || fail "the click did not reach sway"
        for ((j = 0; j < 30; j++)); do
            pgrep -x slurp >/dev/null && { lamp_is 0000FF 2; return; }
            sleep 0.1
        done
    done
    return 1
}
switch_on || { fail "the tracking switch did not turn on"; finish_test; }
for ((i = 0; i < 100; i++)); do
    pgrep -x slurp >/dev/null && break
    sleep 0.1
done
pgrep -x slurp >/dev/null || { fail "the window started no slurp"; finish_test; }
sleep 0.3 # the overlay up
input move $target && input click || fail "the pick's click did not reach sway"
lamp_is 00FF00 5 || fail "tracking did not switch off after the pick"
for ((i = 0; i < 20; i++)); do
    pgrep -x slurp >/dev/null || break
    sleep 0.1
done
! pgrep -x slurp >/dev/null || fail "slurp still runs after the click"
"$cli" wait-pixel $(at 得颜色) CC6633 --timeout 5 >/dev/null ||
    fail "the swatch does not show foot's #3366CC: $("$cli" pixel $(at 得颜色) --format '{rrggbb}' 2>&1)"
log "picked a point by click; the swatch shows its colour; tracking went off"

# Closing the window while it waits for a click ends slurp with it.
switch_on || fail "the tracking switch did not turn on again"
for ((i = 0; i < 100; i++)); do
    slurp=$(pgrep -x slurp) && break
    sleep 0.1
done
kill -TERM "$window"
wait "$window" && status=0 || status=$?
[[ $status -eq 0 ]] || fail "the window ended with status $status on SIGTERM during a pick"
! pgrep -x slurp >/dev/null || fail "slurp outlived the window"
log "closing during a pick ended slurp"
finish_test
