#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window in a GNOME session (see wayland_session.sh), as a user meets
# it: it runs on XWayland, and its tracking follows the pointer over native
# Wayland windows through the portal's screen cast. The first start shows
# the share dialog, accepted once through Mutter's remote-desktop interface,
# which also moves the pointer and clicks; the second start asks nothing,
# its token kept in config.ini. HUEGRAB_TEST_SHOTS, if set, names a folder
# for a screenshot of the window tracking.
#
#   window_session_test.sh gnome HUEGRAB_CLI HUEGRAB CONTROL_POINT REMOTE_INPUT
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wayland_session.sh"
gnome_x11=1
enter_test_namespace window_gnome_session_test "$@"
cli=$2 control_point=$4 remote_input=$5

start_session || exit 1
set_screenshot_permission yes && leave_overview "$cli" && rd_start "$remote_input" ||
    { show_logs; exit 1; }
# A copy of its own, so that its config.ini lands here.
mkdir -p "$work/program" && cp "$3" "$work/program/huegrab" || exit 1
x11() { DISPLAY=$xwayland_display XAUTHORITY=$xwayland_auth "$@"; }

start_window() {
    DISPLAY=$xwayland_display XAUTHORITY=$xwayland_auth "$work/program/huegrab" \
        >>"$work/huegrab.log" 2>&1 &
    window=$!
    local id
    id=$(x11 timeout 20 xdotool search --sync --onlyvisible --name '^Huegrab' | head -n 1)
    [[ -n $id ]] || { echo "$name: the window did not show" >&2; return 1; }
    # Its client area on the screen: XWayland's root is the desktop.
    origin=($(x11 xwininfo -id "$id" | awk -F: '/Absolute upper-left [XY]/ { print $2 }'))
    log "the window is up at ${origin[0]},${origin[1]}"
}
# The screen point just inside control NAME.
at() { # NAME
    local offset
    offset=($("$control_point" "$1")) || return 1
    echo "$((origin[0] + offset[0])) $((origin[1] + offset[1]))"
}
click() { # NAME
    rd_pointer_to $(at "$1") && rd_click
}
# The swatch shows COLOR (BBGGRR) within a few seconds.
swatch_shows() { # COLOR WHAT
    "$cli" wait-pixel $(at 得颜色) "$1" --timeout 5 >/dev/null ||
        fail "the swatch does not show $2: $("$cli" pixel $(at 得颜色) --format '{rrggbb}' 2>&1)"
}
# Tracking on; the pointer over foot, away from the window, then over the
# window's own lamp, red while tracking.
follow_pointer() {
    click Check1
    rd_pointer_to 100 650
    swatch_shows CC6633 "foot's #3366CC under the pointer"
    rd_pointer_to $(at Label8)
    swatch_shows 0000FF "the red lamp under the pointer"
}
stop_window() {
    kill -TERM "$window"
    wait "$window" && status=0 || status=$?
    [[ $status -eq 0 ]] || fail "the window ended with status $status on SIGTERM"
}

start_window || { show_logs; exit 1; }
accept_chooser "$cli" || { show_logs; exit 1; }
follow_pointer
if [[ -n ${HUEGRAB_TEST_SHOTS:-} ]]; then
    rd_pointer_to 250 500
    sleep 0.5
    portal_screenshot "$work/shot.png" && cp "$work/shot.png" "$HUEGRAB_TEST_SHOTS/huegrab-gnome.png"
fi
stop_window
grep -qE '^GNOME=[0-9a-f-]{36}'$'\r''?$' "$work/program/config.ini" ||
    fail "no share token in config.ini: '$(cat "$work/program/config.ini" 2>&1)'"
log "tracked through the share dialog; the token kept"

# Again, with no dialog: nothing accepts one now, and without the cast the
# swatch would stay as it is.
start_window || { show_logs; exit 1; }
follow_pointer
stop_window
log "tracked again with the kept token"
log "the compositor used $(cpu_seconds "$compositor") s of CPU"

if ((failures > 0)); then
    show_logs
    echo "$name: $failures check(s) failed" >&2
    exit 1
fi
log "all checks passed"
