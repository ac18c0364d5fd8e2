#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window in a GNOME session (see wayland_session.sh), as a user meets
# it: it runs on XWayland, and its tracking follows the pointer over native
# Wayland windows through the portal's screen cast. The first start shows
# the share dialog as tracking starts, accepted once through Mutter's
# remote-desktop interface, which also moves the pointer and clicks; the
# second start asks nothing, its token kept in config.ini. A third, the
# dialog cancelled, reads nothing and says why. HUEGRAB_TEST_SHOTS, if set,
# names a folder for a screenshot of the window tracking.
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
window_program "$3" || exit 1
# The swatch shows COLOR (BBGGRR) within a few seconds.
swatch_shows() { # COLOR WHAT
    "$cli" wait-pixel $(at 得颜色) "$1" --timeout 5 >/dev/null && return 0
    fail "the swatch does not show $2: $("$cli" pixel $(at 得颜色) --format '{rrggbb}' 2>&1)"
    [[ -z ${HUEGRAB_TEST_SHOTS:-} ]] || portal_screenshot "$HUEGRAB_TEST_SHOTS/huegrab-gnome-failed.png"
}
# Tracking on. A click that comes as the window comes up may only raise
# it: clicked until the lamp turns red.
switch_on() {
    local i
    for ((i = 0; i < 3; i++)); do
        click Check1
        "$cli" wait-pixel $(at Label8) 0000FF --timeout 2 >/dev/null && return 0
    done
    fail "the tracking switch did not turn on"
}
# The pointer over foot, away from the window, then over the window's own
# lamp, red while tracking.
follow_pointer() {
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

# The first reading asks for the share, above the window.
start_window && switch_on && accept_chooser "$cli" || { show_logs; exit 1; }
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
start_window && switch_on || { show_logs; exit 1; }
follow_pointer
stop_window
log "tracked again with the kept token"

# The token forgotten and the dialog cancelled: no readings, and a line on
# stderr that says why.
sed -i '/^GNOME=/d' "$work/program/config.ini"
start_window && switch_on || { show_logs; exit 1; }
select_monitor "$cli" && rd_key 0xff09 0xff0d || fail "the share dialog was not cancelled" # Tab Return
for ((i = 0; i < 50; i++)); do
    grep -q "share was refused; no readings without it" "$work/huegrab.log" && break
    sleep 0.1
done
grep -q "share was refused; no readings without it" "$work/huegrab.log" ||
    fail "a refused share was not said: $(tail -n 3 "$work/huegrab.log")"
# No reading: the swatch never shows foot's blue.
rd_pointer_to 100 650
! "$cli" wait-pixel $(at 得颜色) CC6633 --timeout 2 >/dev/null ||
    fail "the swatch shows a reading without the share"
stop_window
log "a refused share said so, and nothing was read"
log "the compositor used $(cpu_seconds "$compositor") s of CPU"
finish_test
