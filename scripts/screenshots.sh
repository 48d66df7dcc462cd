#!/usr/bin/env bash
# screenshots.sh [BUILD_DIR]: the pictures of the README, taken from the real
# programs under Wine on the demo set (samples/demo): the main screen with its
# picture and the wizard's welcome page in front, the destination page, and
# the uninstaller's closing message. Writes docs/images/*.png, their colours
# reduced so that each stays a few tens of KB.
# BUILD_DIR is a Windows build (default build/win32, or build/win64 when
# WINEARCH=win64); the programs are built there when missing.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
arch=${WINEARCH:-win32}
build=${1:-$top/build/$arch}
images="$top/docs/images"

if [ -z "${KAV_SCREENSHOTS_INSIDE:-}" ]; then
    if [ ! -x "$build/src/app/install/install.exe" ] || [ ! -x "$build/tests/e2e/window_driver.exe" ]; then
        (cd "$top" && cmake --preset "$arch" >/dev/null &&
            cmake --build --preset "$arch" -j2 --target install_exe uninstaller_exe window_driver msgbox_probe >/dev/null)
    fi
    mkdir -p "$images"
    build=$(cd "$build" && pwd)
    # A private display of its own (a fixed size, no window manager) and a
    # fresh prefix with Wine's own faces.
    export WINEARCH=$arch WINEPREFIX="$top/build/screenshots-wineprefix-$arch" KAV_FORCE_XVFB=1
    exec env KAV_SCREENSHOTS_INSIDE=1 "$top/scripts/with-wine.sh" bash "$0" "$build"
fi

. "$top/tests/e2e/e2e_checks.sh"
wizard="KAV32 - Setup"
window_of() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }
# small SOURCE NAME: SOURCE as docs/images/NAME.png with a reduced palette.
small() {
    convert "$1" -strip -dither None -colors 64 "PNG8:$images/$2.png"
    echo "$images/$2.png: $(stat -c %s "$images/$2.png") bytes"
}
# settle: a moment for the windows to finish painting before a capture.
settle() { sleep 1; }

uninstaller="$build/src/app/uninstaller/uninstaller.exe"
"$kavpack" build "$top/samples/demo" "$work/set" --installer "$exe" --uninstaller "$uninstaller" >/dev/null 2>&1

(cd "$work/set" && exec "$run" "$exe") &
setup=$!
"$run" "$driver" "$wizard" wait --timeout 90 >/dev/null
settle
import -window root "$work/main.png"
small "$work/main.png" main-screen
"$run" "$driver" "$wizard" click "&Next" >/dev/null
"$run" "$driver" "$wizard" click "Accept" >/dev/null
settle
capture_window "$(window_of "$wizard")" "$work/destination.png"
small "$work/destination.png" wizard-destination
for _ in 1 2 3 4 5; do
    "$run" "$driver" "$wizard" click "&Install" --timeout 5 2>/dev/null && break
    "$run" "$driver" "$wizard" click "&Next" --timeout 5 >/dev/null 2>&1 || true
done
"$run" "$probe" --timeout 90 >/dev/null
wait "$setup" || true

"$run" uninstaller --remove 'Zephyrin Demo Tool 1.0' >/dev/null 2>&1 &
remover=$!
"$run" "$driver" "KAV - Setup" click "&Yes" --timeout 60 >/dev/null
"$run" "$probe" --timeout 90 --leave-open >/dev/null
settle
capture_window "$(window_of "KAV - Setup")" "$work/closing.png"
small "$work/closing.png" uninstall-closing
"$run" "$probe" --timeout 10 >/dev/null
wait "$remover" || true
