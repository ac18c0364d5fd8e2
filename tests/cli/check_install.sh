#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh prefix and checks what lands there: both
# programs, a launcher entry and AppStream data that their validators
# accept, the icon at each size and as SVG in the hicolor theme, the manual
# pages, the licence, and a completion for huegrab-cli that completes; and
# that the installed programs find the file by which huegrab tells itself
# installed (its settings then go to the user's folder).
#   check_install.sh BUILD_FOLDER PROJECT_VERSION INSTALLATION_MARK
set -euo pipefail
build=$1
version=$2
mark=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "check_install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in huegrab huegrab-cli; do
  [[ -x $prefix/bin/$program ]] || fail "bin/$program is missing"
done
"$prefix/bin/huegrab-cli" lookup 0000FF | grep -qx 'c=255 hex=0000FF r=255 g=0 b=0 h=0 s=240 l=120' \
  || fail "the installed huegrab-cli does not run"

[[ -f $prefix/bin/$mark ]] || fail "bin/$mark is missing: huegrab would not know it is installed"

desktop=("$prefix"/share/applications/*.desktop)
[[ ${#desktop[@]} -eq 1 && -f ${desktop[0]} ]] || fail "expected one .desktop file"
desktop-file-validate "${desktop[0]}" || fail "desktop-file-validate refused ${desktop[0]}"
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
[[ -f ${metainfo[0]} ]] || fail "no metainfo file"
appstreamcli validate --no-net --pedantic "${metainfo[0]}" >/dev/null \
  || fail "appstreamcli refused ${metainfo[0]}"
# The licence and a release entry for the version being built.
python3 - "${metainfo[0]}" "$version" <<'PY' || fail "${metainfo[0]} lacks the licence or a release $version"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
assert root.findtext("project_license") == "GPL-3.0-or-later"
assert sys.argv[2] in [r.get("version") for r in root.iter("release")]
PY

# The icon the launcher names, at each size, as a PNG of that size.
icon=$(sed -n 's/^Icon=//p' "${desktop[0]}")
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [[ -f $png ]] || fail "no $size px icon $icon.png"
  read -r width height < <(python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read(24)
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
print(*struct.unpack(">II", data[16:24]))' "$png")
  [[ $width == "$size" && $height == "$size" ]] || fail "$png is ${width}x$height"
done

# The SVG is drawn, not a picture wrapped in SVG, on the 48-unit canvas.
svg=$prefix/share/icons/hicolor/scalable/apps/$icon.svg
[[ -f $svg ]] || fail "no SVG icon $icon.svg"
python3 - "$svg" <<'PY' || fail "$svg is not a drawn 48 x 48 SVG"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
names = {element.tag.split("}")[-1] for element in root.iter()}
assert root.get("viewBox") == "0 0 48 48", root.get("viewBox")
assert "path" in names and "image" not in names, names
PY

for page in huegrab huegrab-cli; do
  man1=$prefix/share/man/man1/$page.1
  [[ -f $man1 ]] || fail "no manual page $page.1"
  warnings=$(MANWIDTH=80 man --warnings -l "$man1" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man warns about $page.1: $warnings"
  MANWIDTH=80 man -l "$man1" 2>/dev/null | grep -q "^NAME" || fail "man -l does not show $page.1"
  MANWIDTH=80 man -l "$man1" 2>/dev/null | grep -Eq "^ *$page +- " || fail "$page.1 names another program"
done
grep -q "GNU GENERAL PUBLIC LICENSE" "$prefix"/share/doc/huegrab/LICENSE 2>/dev/null \
  || fail "no GPL licence under share/doc/huegrab"

completion=$prefix/share/bash-completion/completions/huegrab-cli
[[ -f $completion ]] || fail "no bash completion for huegrab-cli"
words=$(bash -c 'source "$1"; COMP_WORDS=(huegrab-cli wa); COMP_CWORD=1; _huegrab_cli
                 echo "${COMPREPLY[*]}"' _ "$completion")
[[ $words == "wait-pixel" ]] || fail "completing 'wa' gave '$words'"
words=$(bash -c 'source "$1"; COMP_WORDS=(huegrab-cli search --); COMP_CWORD=2; _huegrab_cli
                 echo "${COMPREPLY[*]}"' _ "$completion")
[[ $words == "--rgb --region --tolerance --help" ]] || fail "completing search options gave '$words'"
# --rgb where a colour is read or printed, and nowhere else.
for line in "pixel --rgb" "wait-pixel --rgb" "search --rgb" "lookup --rgb" "window-at " "pointer "; do
  command=${line%% *} expected=${line#* }
  words=$(bash -c 'source "$1"; COMP_WORDS=(huegrab-cli "$2" --rg); COMP_CWORD=2; _huegrab_cli
                   echo "${COMPREPLY[*]}"' _ "$completion" "$command")
  [[ $words == "$expected" ]] || fail "completing '$command --rg' gave '$words'"
done
echo "check_install: all installed files check out"
