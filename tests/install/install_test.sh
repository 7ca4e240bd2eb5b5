#!/usr/bin/env bash
# Installs the build given as $1 into a temporary prefix and runs the programs from
# there: the monitor on the installed demo machine, the assembler, and (when $2 is 1,
# a build with the window) the window program's options and its start without a
# display; then checks the desktop files and man pages.
set -euo pipefail
build=$1
with_qt=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
demo=$prefix/share/orlan/demo
for f in bin/orlan-cli bin/orlan-asm share/man/man1/orlan-cli.1 share/man/man1/orlan-asm.1 \
         share/orlan/demo/rom.bin share/orlan/demo/orlan.ini share/orlan/demo/smp0.bin; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
[ "$(wc -c < "$demo/smp0.bin")" -eq 1024 ] || fail "smp0.bin is not a blank 1024-byte cartridge"

# The demo machine boots from the installed folder; a copy keeps the prefix clean.
cp -r "$demo" "$prefix/run"
screen=$(printf 'run 1000.\nlcd\nclose\n' |
         "$prefix/bin/orlan-cli" --machine "$prefix/run" --time 2026-01-02T03:04:05)
[ "$(printf '%s\n' "$screen" | grep -c '^[#.]\{120\}$')" -eq 64 ] || fail "no display from the demo"
printf '%s\n' "$screen" | grep '#' >/dev/null || fail "the demo's display is blank"
[ -s "$prefix/run/rtc.bin" ] || fail "closing wrote no clock file"

printf 'mov #5,r0\n' > "$prefix/a.s"
"$prefix/bin/orlan-asm" --from 0 --to 3 -o "$prefix/a.bin" "$prefix/a.s"
[ "$(od -An -to2 "$prefix/a.bin" | tr -s ' ')" = " 012700 000005" ] || fail "orlan-asm image"

if [ "$with_qt" = 1 ]; then
  for f in bin/orlan share/applications/orlan.desktop share/metainfo/orlan.metainfo.xml \
           share/icons/hicolor/256x256/apps/orlan.png share/man/man1/orlan.1 \
           share/orlan/demo/face.bmp share/orlan/demo/keys.bmp share/orlan/demo/overlay.bmp; do
    [ -e "$prefix/$f" ] || fail "missing $f"
  done
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/orlan" --version)
  [[ $version == "orlan "* ]] || fail "orlan --version said: $version"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/orlan" --help |
    grep -- '--dir' >/dev/null || fail "orlan --help"
  status=0
  message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/orlan" 2>&1) ||
    status=$?
  [ "$status" -eq 1 ] || fail "orlan without a display ended with status $status"
  [ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || fail "more than one line: $message"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/orlan.desktop"
  fi
  if command -v appstreamcli >/dev/null; then
    # Errors only: the short component id "orlan" draws a style warning.
    report=$(appstreamcli validate --no-net "$prefix/share/metainfo/orlan.metainfo.xml" || true)
    ! printf '%s\n' "$report" | grep '^E:' || fail "AppStream metadata"
  fi
fi
if command -v man >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1; do
    MANWIDTH=80 man -l "$page" 2>&1 >/dev/null | (! grep .) || fail "man page $page has errors"
  done
fi
echo "install_test: passed"
