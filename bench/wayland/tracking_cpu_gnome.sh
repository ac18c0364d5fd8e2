#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's CPU use while tracking in a headless GNOME session (the
# session of tests/wayland/wayland_session.sh, with XWayland). First the
# floor: SECONDS of wall time with the pointer moving over foot one pixel
# every 20 ms and no program tracking it. Then tracking on, the share
# dialog accepted, SECONDS with the pointer still over foot and SECONDS
# with it moving as before, so that every tick sees a new position. For each
# stretch, the CPU time of the program, of GNOME Shell (which casts the
# screen and composes it), and of XWayland, PipeWire and WirePlumber, read
# from /proc.
#
#   tracking_cpu_gnome.sh gnome HUEGRAB_CLI HUEGRAB CONTROL_POINT REMOTE_INPUT [SECONDS]
set -uo pipefail

here=$(cd "$(dirname "$0")/../../tests/wayland" && pwd)
source "$here/wayland_session.sh"
gnome_x11=1
enter_test_namespace tracking_cpu_gnome "$@"
cli=$2 control_point=$4 remote_input=$5 seconds=${6:-20}

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
hz=$(getconf CLK_TCK)
# WHAT: the CPU of each process over $seconds of wall time while ACTION runs.
measure() { # WHAT ACTION
    local what=$1 action=$2 name
    declare -A before
    for name in "${!pids[@]}"; do before[$name]=$(ticks "${pids[$name]}"); done
    local start=$(date +%s%N)
    "$action"
    local wall=$((($(date +%s%N) - start) / 1000000))
    for name in huegrab gnome-shell Xwayland pipewire wireplumber; do
        [[ -n ${pids[$name]:-} ]] || continue
        awk -v used=$(($(ticks "${pids[$name]}") - before[$name])) -v hz="$hz" -v wall="$wall" \
            -v name="$name" -v what="$what" \
            'BEGIN { printf "%-28s %-12s %6.2f %% of one core\n", what ":", name, 100000 * used / hz / wall }'
    done
}
keep_still() { sleep "$seconds"; }
# One pixel every 20 ms, right and back over foot.
keep_moving() {
    local end=$((SECONDS + seconds)) step=1 i
    for ((i = 0; SECONDS < end; i++)); do
        ((i % 200 == 0)) && step=$((-step))
        rd_send move "$step" 0 || return 1
        sleep 0.02
    done
}

start_session && set_screenshot_permission yes && leave_overview "$cli" &&
    rd_start "$remote_input" || { show_logs; exit 1; }
declare -A pids=([gnome-shell]=$compositor [Xwayland]=$(pgrep -x Xwayland)
    [pipewire]=$(pgrep -x pipewire) [wireplumber]=$(pgrep -x wireplumber))
# The floor: the same moves with no program tracking them.
rd_pointer_to 100 600
measure "no program, pointer moving" keep_moving

window_program "$3" && start_window || { show_logs; exit 1; }
pids[huegrab]=$window
# The first tick asks for the share.
for ((i = 0; i < 3; i++)); do
    click Check1
    "$cli" wait-pixel $(at Label8) 0000FF --timeout 2 >/dev/null && break
done
accept_chooser "$cli" || { show_logs; exit 1; }
rd_pointer_to 100 600
"$cli" wait-pixel $(at 得颜色) CC6633 --timeout 5 >/dev/null ||
    { echo "$name: the window does not track" >&2; show_logs; exit 1; }
measure "tracking, pointer still" keep_still
measure "tracking, pointer moving" keep_moving
# Tracking off: the cast stays open, the window no longer changes.
click Check1
rd_pointer_to 100 600
measure "cast, not tracking, moving" keep_moving
