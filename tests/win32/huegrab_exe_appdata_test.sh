#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# huegrab.exe started from a folder it cannot write to keeps config.ini in
# %APPDATA%\huegrab: here the folder is made immutable on the host (chattr),
# which stops even root, and the close stores the focused slot.
#   huegrab_exe_appdata_test.sh HUEGRAB_EXE WINE_STATE
set -euo pipefail
exe=$1
state=$2
export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
DISPLAY=$(cat "$state/display")
export DISPLAY
fail() { echo "huegrab_exe_appdata_test: $*" >&2; exit 1; }

folder=$(mktemp -d)
pid=""
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null
  chattr -i "$folder" 2>/dev/null || true
  rm -rf "$folder"
}
trap cleanup EXIT
cp "$exe" "$folder/huegrab.exe"
if ! chattr +i "$folder" 2>/dev/null || touch "$folder/probe" 2>/dev/null; then
  echo "huegrab_exe_appdata_test: cannot make a read-only folder here (chattr +i); skipped"
  exit 77
fi
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
[[ -d $appdata ]] || fail "no %APPDATA% folder ($appdata)"
rm -rf "$appdata/huegrab"

wine "$folder/huegrab.exe" </dev/null >/dev/null 2>&1 &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Huegrab' >/dev/null ||
  fail "the window did not come"
sleep 1
wine taskkill /im huegrab.exe >/dev/null 2>&1 # WM_CLOSE, as a close button
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "huegrab.exe did not end on WM_CLOSE"
pid=""

[[ ! -e $folder/config.ini ]] || fail "config.ini was written beside the program"
config=$appdata/huegrab/config.ini
[[ -f $config ]] || fail "no config.ini in %APPDATA%\\huegrab"
# The focused slot, the first, stored empty on the close.
printf '[P0]\r\nX=\r\nY=\r\nC=\r\nR=\r\nG=\r\nB=\r\nH=\r\nS=\r\nL=\r\n' >"$folder.expected"
cmp -s "$config" "$folder.expected" || fail "unexpected $config: $(od -c "$config" | head)"
rm -f "$folder.expected"
rm -rf "$appdata/huegrab"
echo "huegrab_exe_appdata_test: config.ini went to %APPDATA%\\huegrab"
