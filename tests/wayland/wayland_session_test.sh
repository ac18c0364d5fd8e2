#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# huegrab-cli in a Wayland session: a headless compositor with a 1280 x 720
# output, the desktop portal and the compositor's portal backend on a
# private session bus, and a fullscreen foot terminal of background #3366CC
# as the known picture. The pixels must come through the Screenshot portal;
# what Wayland does not offer must be refused in plain words.
#
#   wayland_session_test.sh gnome|sway HUEGRAB_CLI VIRTUAL_INPUT
#
# gnome: GNOME Shell --headless with a virtual monitor and
# xdg-desktop-portal-gnome. sway: sway on wlroots' headless backend with
# xdg-desktop-portal-wlr (which takes its screenshots with grim) and the
# PipeWire daemon that portal needs to start. Its seat gets a pointer and a
# keyboard (virtual ones, VIRTUAL_INPUT), with which the points that
# pointer and pixel ask for are clicked through slurp.
#
# Everything runs in a PID and mount namespace of its own: when the test
# ends, however it ends, the kernel ends every process it started (the
# compositor, the portals, the buses, whatever D-Bus started on demand) and
# the document portal's FUSE mount goes with the namespace.
set -uo pipefail

desktop=$1
cli=$2
virtual_input=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
name="${desktop}_session_test"
case $desktop in
gnome) tools=(gnome-shell /usr/libexec/xdg-desktop-portal-gnome) ;;
sway) tools=(sway swaymsg pipewire grim setpriv slurp pgrep /usr/libexec/xdg-desktop-portal-wlr) ;;
*) echo "usage: wayland_session_test.sh gnome|sway HUEGRAB_CLI VIRTUAL_INPUT" >&2; exit 2 ;;
esac
if [[ -z ${HUEGRAB_IN_TEST_NAMESPACE:-} ]]; then
    for tool in "${tools[@]}" foot dbus-daemon gdbus unshare /usr/libexec/xdg-desktop-portal; do
        command -v "$tool" >/dev/null ||
            { echo "$name: $tool is missing (scripts/install-deps --for-tests)" >&2; exit 1; }
    done
    work=$(mktemp -d "/tmp/huegrab-$desktop.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    # Root may make the namespaces itself; anyone else makes them inside a
    # user namespace of their own, where they may.
    own_user=()
    [[ $(id -u) -eq 0 ]] || own_user=(--user --map-current-user)
    HUEGRAB_IN_TEST_NAMESPACE=1 HUEGRAB_TEST_WORK=$work \
        unshare "${own_user[@]}" --pid --fork --mount --mount-proc --kill-child \
        bash "$here/$(basename "$0")" "$desktop" "$cli" "$virtual_input"
    exit $?
fi

work=$HUEGRAB_TEST_WORK
failures=0
started=$SECONDS
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
log() { echo "[$((SECONDS - started))s] $*"; }

# A private home, runtime folder and settings: nothing of the user's session
# is read or changed.
export XDG_RUNTIME_DIR=$work/run HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
export XDG_SESSION_TYPE=wayland GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
unset DISPLAY WAYLAND_DISPLAY HUEGRAB_DESKTOP

# Two buses: the session bus, and a stand-in for the system bus so that the
# compositor asks no real system service of the machine anything.
dbus-daemon --session --nofork --address="unix:path=$work/system_bus" >"$work/system_bus.log" 2>&1 &
dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" >"$work/bus.log" 2>&1 &
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/system_bus
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus

bus() {
    gdbus call --session --timeout 5 "$@"
}
owned() {
    bus -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner "$1" \
        2>/dev/null | grep -q true
}
# Waits up to 30 s for a bus name to be taken.
wait_for_name() {
    local i
    for ((i = 0; i < 300; i++)); do
        owned "$1" && return 0
        sleep 0.1
    done
    echo "$name: $1 never appeared on the session bus" >&2
    return 1
}
show_logs() {
    local file
    for file in "$work"/*.log; do
        echo "---- $(basename "$file") (last lines)" >&2
        tail -n 15 "$file" >&2
    done
}
cpu_seconds() { # user + system time of a running process
    awk -v hz="$(getconf CLK_TCK)" '{ printf "%.1f", ($14 + $15) / hz }' "/proc/$1/stat" 2>/dev/null
}

for ((i = 0; i < 100; i++)); do
    [[ -S $XDG_RUNTIME_DIR/bus && -S $work/system_bus ]] && break
    sleep 0.05
done

start_gnome() {
    export XDG_CURRENT_DESKTOP=GNOME
    gnome-shell --headless --wayland --no-x11 --wayland-display=wayland-huegrab \
        --virtual-monitor 1280x720 >"$work/shell.log" 2>&1 &
    compositor=$!
    # The shell's screenshot service is there once the shell has started.
    wait_for_name org.gnome.Shell.Screenshot || return 1
    export WAYLAND_DISPLAY=wayland-huegrab
    log "GNOME Shell is up"
    # The GNOME backend first: the portal asks for it as it starts, and a
    # copy that D-Bus started meanwhile would lose the name and take the
    # screenshot interface with it.
    /usr/libexec/xdg-desktop-portal-gnome >"$work/portal-gnome.log" 2>&1 &
    wait_for_name org.freedesktop.impl.portal.desktop.gnome || return 1
    foot --override=colors.background=3366cc --fullscreen sleep 3600 >"$work/foot.log" 2>&1 &
}

start_sway() {
    export XDG_CURRENT_DESKTOP=sway
    local user=()
    # sway will not run as root: as root, its own user is nobody, which
    # must be able to make its socket here.
    if [[ $(id -u) -eq 0 ]]; then
        user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
        chown 65534:65534 "$XDG_RUNTIME_DIR" "$HOME"
        chmod 755 "$work"
    fi
    cat >"$work/sway.config" <<'CONFIG'
output HEADLESS-1 resolution 1280x720
default_border none
# foot runs a command of its own: without one it would run the login shell,
# and nobody's is nologin, which ends foot at once.
exec foot --override=colors.background=3366cc --fullscreen sleep 3600
CONFIG
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        "${user[@]}" sway -c "$work/sway.config" >"$work/sway.log" 2>&1 &
    compositor=$!
    local i socket
    for ((i = 0; i < 300; i++)); do
        for socket in "$XDG_RUNTIME_DIR"/wayland-[0-9]; do
            [[ -S $socket ]] && break 2
        done
        sleep 0.1
    done
    [[ -S $socket ]] || return 1
    export WAYLAND_DISPLAY=${socket##*/}
    log "sway is up"
    # The wlroots portal gives up without PipeWire, screenshots included.
    pipewire >"$work/pipewire.log" 2>&1 &
    for ((i = 0; i < 100; i++)); do
        [[ -S $XDG_RUNTIME_DIR/pipewire-0 ]] && break
        sleep 0.05
    done
    /usr/libexec/xdg-desktop-portal-wlr >"$work/portal-wlr.log" 2>&1 &
    wait_for_name org.freedesktop.impl.portal.desktop.wlr || return 1
    # A pointer and a keyboard in the seat from the start, and to the end:
    # a client such as slurp takes the seat's devices as it starts. (A
    # keyboard that comes and goes, wtype's, leaves the seat without a
    # keymap, and slurp 1.4 crashes on the next key state it gets.)
    coproc INPUT { "$virtual_input" 1280 720 2>"$work/input.log"; }
    local ready=
    read -r -t 10 ready <&"${INPUT[0]}"
    [[ $ready == ready ]] || return 1
}

# Moves or clicks the virtual pointer or presses Esc; returns once sway has
# handled it.
input() {
    local reply=
    echo "$*" >&"${INPUT[1]}" && read -r -t 10 reply <&"${INPUT[0]}" && [[ $reply == ok ]]
}

"start_$desktop" || { show_logs; exit 1; }
/usr/libexec/xdg-desktop-portal >"$work/portal.log" 2>&1 &
wait_for_name org.freedesktop.portal.Desktop || { show_logs; exit 1; }
log "the desktop portal is up"

# Screenshots without a dialog, for programs outside a sandbox (app id "").
set_permission() {
    bus -d org.freedesktop.impl.portal.PermissionStore -o /org/freedesktop/impl/portal/PermissionStore \
        -m org.freedesktop.impl.portal.PermissionStore.SetPermission screenshot true screenshot '' \
        "['$1']" >/dev/null
}
set_permission yes || { show_logs; exit 1; }

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
    expect 2 "" "$not_available" -- pointer
    expect 2 "" "$not_available; give the point as X Y" -- pixel
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
    set_permission no
    expect 2 "" "huegrab-cli: the screenshot portal gave no screenshot (not allowed*" -- pixel 640 360
fi
log "the compositor used $(cpu_seconds "$compositor") s of CPU"

if ((failures > 0)); then
    show_logs
    echo "$name: $failures check(s) failed" >&2
    exit 1
fi
log "all checks passed"
