# SPDX-License-Identifier: GPL-3.0-or-later
# A Wayland session for tests, sourced by the test scripts here: a headless
# compositor with a 1280 x 720 output, the desktop portal and the
# compositor's portal backend on a private session bus, and a fullscreen
# foot terminal of background #3366CC as the known picture.
#
#   source "$here/wayland_session.sh"
#   enter_test_namespace NAME gnome|sway "$@"   # the script runs again inside
#   start_session                               # compositor, portals, foot
#
# gnome: GNOME Shell --headless with a virtual monitor, PipeWire and
# WirePlumber (for its screen casts) and xdg-desktop-portal-gnome. sway:
# sway on wlroots' headless backend with xdg-desktop-portal-wlr (which takes
# its screenshots with grim), the PipeWire daemon that portal needs to
# start, and a virtual pointer and keyboard in its seat: the program named
# by $virtual_input, which `input` drives.
#
# Everything runs in a PID and mount namespace of its own: when the test
# ends, however it ends, the kernel ends every process it started (the
# compositor, the portals, the buses, whatever D-Bus started on demand) and
# the document portal's FUSE mount goes with the namespace.
#
# On GNOME, rd_start opens a Mutter remote-desktop session through which
# rd_key, rd_pointer_to and rd_click give input as a user would, without
# any dialog.

# Re-runs the calling script inside the namespaces and exits with its
# status; inside, sets up the private folders and buses and returns. The
# script's arguments must start with the desktop's name.
enter_test_namespace() {
    name=$1
    desktop=$2
    shift 2
    local tools
    case $desktop in
    gnome) tools=(gnome-shell pipewire wireplumber /usr/libexec/xdg-desktop-portal-gnome) ;;
    sway) tools=(sway swaymsg pipewire grim setpriv slurp pgrep /usr/libexec/xdg-desktop-portal-wlr) ;;
    *) echo "$name: no such desktop: $desktop (gnome or sway)" >&2; exit 2 ;;
    esac
    if [[ -z ${HUEGRAB_IN_TEST_NAMESPACE:-} ]]; then
        local tool
        for tool in "${tools[@]}" foot dbus-daemon gdbus unshare /usr/libexec/xdg-desktop-portal; do
            command -v "$tool" >/dev/null ||
                { echo "$name: $tool is missing (scripts/install-deps --for-tests)" >&2; exit 1; }
        done
        work=$(mktemp -d "/tmp/huegrab-$desktop.XXXXXX")
        trap 'rm -rf "$work"' EXIT
        # Root may make the namespaces itself; anyone else makes them inside a
        # user namespace of their own, where they may.
        local own_user=()
        [[ $(id -u) -eq 0 ]] || own_user=(--user --map-current-user)
        HUEGRAB_IN_TEST_NAMESPACE=1 HUEGRAB_TEST_WORK=$work \
            unshare "${own_user[@]}" --pid --fork --mount --mount-proc --kill-child \
            bash "$0" "$desktop" "$@"
        exit $?
    fi

    work=$HUEGRAB_TEST_WORK
    failures=0
    started=$SECONDS
    private_tmp "$work" "$here" "$@" ||
        { echo "$name: cannot give the session a /tmp of its own" >&2; exit 1; }
    # A private home, runtime folder and settings: nothing of the user's
    # session is read or changed.
    export XDG_RUNTIME_DIR=$work/run HOME=$work/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
    mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_SESSION_TYPE=wayland GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
    unset DISPLAY WAYLAND_DISPLAY HUEGRAB_DESKTOP

    # Two buses: the session bus, and a stand-in for the system bus so that
    # the compositor asks no real system service of the machine anything.
    dbus-daemon --session --nofork --address="unix:path=$work/system_bus" >"$work/system_bus.log" 2>&1 &
    dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" >"$work/bus.log" 2>&1 &
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/system_bus
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -S $XDG_RUNTIME_DIR/bus && -S $work/system_bus ]] && break
        sleep 0.05
    done
}

# A /tmp of its own: the wlroots portal writes every screenshot to
# /tmp/out.png, and XWayland puts its socket and lock file there; sessions
# running side by side must not share them. What the test needs of the
# machine's /tmp (its work folder, a build tree, the scripts) is carried
# over: each path given that lies in /tmp, by its first folder there.
private_tmp() { # PATH...
    mount --bind /tmp /mnt && mount -t tmpfs -o mode=1777 tmpfs /tmp && mkdir -m 1777 /tmp/.X11-unix ||
        return 1
    local path top
    for path in "$@"; do
        [[ $path == /tmp/* && -e /mnt/${path#/tmp/} ]] || continue
        top=${path#/tmp/}
        top=${top%%/*}
        [[ -e /tmp/$top ]] && continue
        mkdir "/tmp/$top" && mount --bind "/mnt/$top" "/tmp/$top" || return 1
    done
}

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# The end of a test script: its status, the logs if a check failed.
finish_test() {
    if ((failures > 0)); then
        show_logs
        echo "$name: $failures check(s) failed" >&2
        exit 1
    fi
    log "all checks passed"
    exit 0
}
log() { echo "[$((SECONDS - started))s] $*"; }

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

# PipeWire, and the socket it listens on.
start_pipewire() {
    pipewire >"$work/pipewire.log" 2>&1 &
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -S $XDG_RUNTIME_DIR/pipewire-0 ]] && return 0
        sleep 0.05
    done
    echo "$name: PipeWire did not start" >&2
    return 1
}

start_gnome() {
    export XDG_CURRENT_DESKTOP=GNOME
    # Mutter casts the screen into PipeWire; WirePlumber links the streams
    # to whoever reads them.
    start_pipewire || return 1
    wireplumber >"$work/wireplumber.log" 2>&1 &
    # XWayland only where a test runs an X11 program ($gnome_x11 set).
    local x11=(--no-x11)
    [[ -z ${gnome_x11:-} ]] || x11=()
    gnome-shell --headless --wayland "${x11[@]}" --wayland-display=wayland-huegrab \
        --virtual-monitor 1280x720 >"$work/shell.log" 2>&1 &
    compositor=$!
    # The shell's screenshot service is there once the shell has started.
    wait_for_name org.gnome.Shell.Screenshot || return 1
    export WAYLAND_DISPLAY=wayland-huegrab
    log "GNOME Shell is up"
    if [[ -n ${gnome_x11:-} ]]; then
        # For X11 programs: XWayland's display, as the shell names it, and
        # the cookie it lets in.
        xwayland_display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$work/shell.log")
        xwayland_auth=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name '.mutter-Xwaylandauth.*' | head -n 1)
        [[ -n $xwayland_display && -n $xwayland_auth ]] || return 1
    fi
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
    start_pipewire || return 1
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

# Moves or clicks sway's virtual pointer or presses Esc; returns once sway
# has handled it.
input() {
    local reply=
    echo "$*" >&"${INPUT[1]}" && read -r -t 10 reply <&"${INPUT[0]}" && [[ $reply == ok ]]
}

# The compositor, its portal backend, the desktop portal and the foot
# window (not yet necessarily on the screen); the logs on failure.
start_session() {
    "start_$desktop" || { show_logs; return 1; }
    /usr/libexec/xdg-desktop-portal >"$work/portal.log" 2>&1 &
    wait_for_name org.freedesktop.portal.Desktop || { show_logs; return 1; }
    log "the desktop portal is up"
}

# Screenshots without a dialog (yes) or refused (no), for programs outside a
# sandbox (app id "").
set_screenshot_permission() {
    bus -d org.freedesktop.impl.portal.PermissionStore -o /org/freedesktop/impl/portal/PermissionStore \
        -m org.freedesktop.impl.portal.PermissionStore.SetPermission screenshot true screenshot '' \
        "['$1']" >/dev/null
}

# Leaves GNOME's overview, which the shell may show as it starts, so that
# windows are where they belong and a new one gets the keyboard; the foot
# window then fills the screen. HUEGRAB_CLI watches for that.
leave_overview() { # HUEGRAB_CLI
    "$1" wait-pixel 640 360 CC6633 --timeout 30 >/dev/null || return 1
    bus -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.Set \
        org.gnome.Shell OverviewActive '<false>' >/dev/null &&
        "$1" wait-pixel 640 700 CC6633 --timeout 10 >/dev/null
}

# The whole screen into FILE (PNG), through the Screenshot portal: GNOME
# Shell's own screenshot interface answers only its own tools. Needs the
# screenshot permission (set_screenshot_permission yes).
portal_screenshot() { # FILE
    local marker=$work/screenshot.marker shot i
    touch "$marker"
    bus -d org.freedesktop.portal.Desktop -o /org/freedesktop/portal/desktop \
        -m org.freedesktop.portal.Screenshot.Screenshot '' "{'interactive': <false>}" >/dev/null ||
        return 1
    for ((i = 0; i < 50; i++)); do
        shot=$(find "$HOME" -name '*.png' -newer "$marker" 2>/dev/null | head -n 1)
        # The file is watched for, not the portal's answer; then a moment
        # for its writing to end.
        [[ -n $shot ]] && sleep 0.2 && mv "$shot" "$1" && return 0
        sleep 0.1
    done
    return 1
}

# ---- Input through Mutter's remote-desktop interface (GNOME)
#
# Mutter keeps a remote-desktop session only while the connection that made
# it lasts: the remote_input program (built beside the tests) holds it and
# takes the commands.

# rd_start REMOTE_INPUT: starts the program; the other rd_ functions give
# input through it.
rd_start() {
    coproc RD { exec "$1" 2>&1; }
    local answer
    read -r -t 10 answer <&"${RD[0]}"
    [[ $answer == ready ]] || { echo "$name: remote input did not start: $answer" >&2; return 1; }
    # The first key of a new session got lost on GNOME 43: this one is a
    # Shift, which does nothing.
    rd_key 0xffe1
}
rd_send() { # one command, and its answer
    local answer
    echo "$*" >&"${RD[1]}" && read -r -t 10 answer <&"${RD[0]}"
    [[ $answer == ok ]] || { echo "$name: remote input: $*: ${answer:-no answer}" >&2; return 1; }
}
# Presses and releases each key, named by its X keysym number ("0xff09").
rd_key() {
    local keysym
    for keysym in "$@"; do
        rd_send key "$keysym" || return 1
    done
}
# Moves the pointer to X Y of the screen.
rd_pointer_to() { rd_send to "$1" "$2"; }
# Clicks the left button where the pointer is.
rd_click() { rd_send click 272; }

# ---- GNOME's screen-share chooser
#
# Where select_monitor clicks, on the chooser's heading.
chooser_click=(640 313)
# The chooser: its body, Adwaita's light grey, below the list of monitors.
wait_for_chooser() { # HUEGRAB_CLI
    "$1" wait-pixel 640 470 FAFAFA --timeout 10 >/dev/null ||
        { echo "$name: the chooser did not show" >&2; return 1; }
}
# The chooser comes up with the focus on "Remember this selection" (ticked:
# the cast asks to keep the consent) or, at times, on the monitor's row
# without selecting it. Tab moves on until the focus enters the row, which
# selects the monitor and makes "Share" clickable; from the row, Tab Tab
# reaches "Share" over "Cancel", and Return presses it.
select_monitor() { # HUEGRAB_CLI
    wait_for_chooser "$1" || return 1
    # A click on its heading gives it the keyboard, which a window that
    # came up with it may have taken. The pointer stays there.
    rd_pointer_to "${chooser_click[@]}" && rd_click || return 1
    local i
    for ((i = 0; i < 4; i++)); do
        rd_key 0xff09 || return 1
        # "Share" in Adwaita's blue, no longer faded.
        "$1" wait-pixel 880 240 E48435 --timeout 2 >/dev/null 2>&1 &&
            { log "Tab $((i + 1)) selected the monitor"; return 0; }
    done
    echo "$name: Tab did not select the monitor in the chooser" >&2
    return 1
}
# Accepts the chooser: the monitor, then a click on "Share" (Tab Tab Return
# from the row pressed "Cancel" at times). The pointer stays there.
chooser_share=(852 249)
accept_chooser() { # HUEGRAB_CLI
    select_monitor "$1" && rd_pointer_to "${chooser_share[@]}" && rd_click
}

# ---- The window on XWayland (GNOME with $gnome_x11 set)
#
# window_program HUEGRAB: a copy of the program of its own, so that its
# config.ini lands in the work folder; $control_point must name the
# control_point program.
window_program() { # HUEGRAB
    mkdir -p "$work/program" && cp "$1" "$work/program/huegrab"
}
x11() { DISPLAY=$xwayland_display XAUTHORITY=$xwayland_auth "$@"; }
# Starts the window and waits for it; $window is its process, $origin its
# client area's top-left corner on the screen.
start_window() {
    DISPLAY=$xwayland_display XAUTHORITY=$xwayland_auth "$work/program/huegrab" \
        >>"$work/huegrab.log" 2>&1 &
    window=$!
    local id
    id=$(x11 timeout 20 xdotool search --sync --onlyvisible --name '^Huegrab' | head -n 1)
    [[ -n $id ]] || { echo "$name: the window did not show" >&2; return 1; }
    # XWayland's root is the desktop.
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
