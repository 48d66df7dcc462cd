#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's test prefix. CTest
# calls it as the cross build's emulator; scripts/with-wine.sh sets up the
# prefix, the display and the persistent wineserver around a whole run.
set -eu
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=${WINEARCH:-win32}
if [ -z "${WINEPREFIX:-}" ]; then
  top=$(cd "$(dirname "$0")/.." && pwd)
  export WINEPREFIX="$top/build/wineprefix-$WINEARCH"
fi
if [ "$WINEARCH" = win64 ]; then
  # Debian's wrapper prefers the 32-bit loader whenever it is installed.
  export WINELOADER=/usr/lib/wine/wine64
  exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
