#!/usr/bin/env bash
# with-wine.sh COMMAND...: runs COMMAND with a fresh 32-bit Wine prefix under
# build/, a persistent wineserver (programs start in a fraction of a second
# instead of seconds) and, when there is no display, a private Xvfb server.
# Everything it started is stopped when COMMAND ends.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEDEBUG=-all
export WINEARCH=${WINEARCH:-win32}
export WINEPREFIX=${WINEPREFIX:-$top/build/wineprefix-$WINEARCH}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

started_xvfb=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ "${KAV_FORCE_XVFB:-0}" = 1 ]; then
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  started_xvfb=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

if [ "${KAV_KEEP_PREFIX:-0}" != 1 ]; then
  rm -rf "$WINEPREFIX"
fi
mkdir -p "$(dirname "$WINEPREFIX")"
# Started detached from our output so that a pipe reader never waits on it.
wineserver -p </dev/null >/dev/null 2>&1 &
# wineboot also starts the prefix's service processes (services.exe and the
# services it launches later, such as rpcss). Started here, detached from
# our output, they do not hold the pipes of a test runner open after its
# test programs have ended; a kept prefix needs this as much as a new one.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$top/scripts/wine-run.sh" wineboot -i </dev/null >/dev/null 2>&1 || true
else
  "$top/scripts/wine-run.sh" wineboot </dev/null >/dev/null 2>&1 || true
fi
# Debian's Wine does not look in its own font folder (fonts-wine's
# /usr/share/wine/fonts): without these faces in the prefix's Fonts folder,
# "MS Sans Serif", Tahoma (the dialog and caption faces) and Marlett (the
# caption button glyphs) all fall back to DejaVu Sans, which is wider, and
# the caption buttons show letters. Links are enough: Wine scans the folder
# when a program starts.
wine_fonts=/usr/share/wine/fonts
prefix_fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d "$wine_fonts" ] && [ -d "$prefix_fonts" ]; then
  for face in "$wine_fonts"/*; do
    [ -e "$prefix_fonts/$(basename "$face")" ] || ln -s "$face" "$prefix_fonts/"
  done
fi
# Our own Xvfb has no window manager, and Wine waits up to two seconds for
# one to acknowledge every managed window that is hidden: each dialog a test
# closes would cost that. Unmanaged windows are drawn by Wine itself, frame
# and caption included. KAV_WINE_MANAGED=1 keeps managed windows.
if [ -n "$started_xvfb" ] && [ "${KAV_WINE_MANAGED:-0}" != 1 ]; then
  "$top/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    </dev/null >/dev/null 2>&1 || true
fi
"$@"
