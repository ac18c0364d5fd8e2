#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The user's consent to a screen cast on headless GNOME (see
# wayland_session.sh), as the Wayland desktop asks for it: the first cast
# shows the desktop's chooser, accepted here with the keyboard through
# Mutter's remote-desktop interface; the restore token it hands back starts
# the next cast with no chooser and no input, and so does the token that
# one gives. A chooser the user cancels is a refusal.
#
#   screencast_session_test.sh gnome HUEGRAB_CLI SCREENCAST_START REMOTE_INPUT
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/wayland_session.sh"
enter_test_namespace screencast_session_test "$@"
cli=$2 start=$3 remote_input=$4

start_session || exit 1
# huegrab-cli watches the screen for the chooser.
set_screenshot_permission yes || { show_logs; exit 1; }
leave_overview "$cli" || { show_logs; exit 1; }
rd_start "$remote_input" || { show_logs; exit 1; }
log "the desktop is up"

# Starts a cast in the background, its line going to $work/cast.
start_cast() { # TOKEN TIMEOUT-S
    "$start" "$1" "$2" >"$work/cast" 2>&1 &
    cast=$!
}
# Waits for the cast's program; its status and line land in $status, $line.
end_cast() {
    wait "$cast" && status=0 || status=$?
    line=$(<"$work/cast")
}
field() { # the value of NAME=… in $line
    sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$line"
}
start_cast "" 20
accept_chooser "$cli"
end_cast
log "the first cast, through the chooser: $line"
first_token=$(field token)
[[ $status -eq 0 && $(field node) =~ ^[0-9]+$ && $(field area) == 0,0,1280x720 &&
    $(field cursor) == metadata && -n $first_token ]] ||
    fail "the first cast: status $status, '$line'"

# With its token: no chooser, no input. A chooser would wait for the user
# until the cast gives up.
start_cast "$first_token" 5
end_cast
log "the second cast, with the token: $line"
second_token=$(field token)
[[ $status -eq 0 && $(field area) == 0,0,1280x720 && $(field cursor) == metadata &&
    -n $second_token ]] || fail "the second cast, with the first one's token: status $status, '$line'"
# The newest token is the one to keep: it must serve as well.
start_cast "$second_token" 5
end_cast
log "the third cast, with the second one's token: $line"
[[ $status -eq 0 && -n $(field token) ]] ||
    fail "the third cast, with the second one's token: status $status, '$line'"

# Cancelled in the chooser: refused, and said so.
start_cast "" 20
select_monitor "$cli" && rd_key 0xff09 0xff0d # Tab Return: "Cancel"
end_cast
[[ $status -eq 1 && $line == "screencast_start: the screen share was refused" ]] ||
    fail "a cancelled chooser: status $status, '$line'"
log "the compositor used $(cpu_seconds "$compositor") s of CPU"
finish_test
