#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program beside a private PipeWire daemon and WirePlumber (which
# links streams to the node they ask for), in a runtime folder of its own.
#
#   with_pipewire.sh PROGRAM [ARGUMENTS...]
#
# As in wayland_session_test.sh, everything runs in a PID and mount
# namespace of its own, so that the daemons end with the program however it
# ends.
set -uo pipefail

name=with_pipewire
if [[ -z ${HUEGRAB_IN_TEST_NAMESPACE:-} ]]; then
    for tool in pipewire wireplumber dbus-daemon unshare; do
        command -v "$tool" >/dev/null ||
            { echo "$name: $tool is missing (scripts/install-deps --for-tests)" >&2; exit 1; }
    done
    work=$(mktemp -d "/tmp/huegrab-pipewire.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    own_user=()
    [[ $(id -u) -eq 0 ]] || own_user=(--user --map-current-user)
    HUEGRAB_IN_TEST_NAMESPACE=1 HUEGRAB_TEST_WORK=$work \
        unshare "${own_user[@]}" --pid --fork --mount --mount-proc --kill-child \
        bash "$0" "$@"
    exit $?
fi

work=$HUEGRAB_TEST_WORK
# Nothing of the user's session: its bus, settings and devices' state.
export XDG_RUNTIME_DIR=$work/run HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_STATE_HOME=$HOME/.local/state
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
unset PIPEWIRE_REMOTE DISPLAY WAYLAND_DISPLAY

# WirePlumber will not run without a session bus.
dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" >"$work/bus.log" 2>&1 &
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
for ((i = 0; i < 100; i++)); do
    [[ -S $XDG_RUNTIME_DIR/bus ]] && break
    sleep 0.05
done

pipewire >"$work/pipewire.log" 2>&1 &
for ((i = 0; i < 200; i++)); do
    [[ -S $XDG_RUNTIME_DIR/pipewire-0 ]] && break
    sleep 0.05
done
if [[ ! -S $XDG_RUNTIME_DIR/pipewire-0 ]]; then
    echo "$name: the PipeWire daemon did not start" >&2
    tail -n 20 "$work/pipewire.log" >&2
    exit 1
fi
wireplumber >"$work/wireplumber.log" 2>&1 &

"$@"
status=$?
if [[ $status -ne 0 ]]; then
    for log in "$work"/*.log; do
        echo "---- $(basename "$log") (last lines)" >&2
        tail -n 15 "$log" >&2
    done
fi
exit $status
