#!/usr/bin/env bash
# demo.sh: builds the sample installation set from its source folder
# (samples/demo) with kavpack, with this build's uninstaller.exe, in
# segments small enough that it spans two "disks", and runs install.exe
# under Wine on it. With a display the window
# shows there; without one the run happens inside Xvfb, the wizard is gone
# through with its default choices, a screenshot of the closing message is
# saved to build/demo.png and the product installed into the prefix is listed.
#
# Hosts that cannot execute 32-bit programs run the 64-bit build of the
# same code (preset win64) under 64-bit Wine.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if ./scripts/host-runs-i386.sh; then
    preset=win32
    export WINEARCH=win32
else
    echo "demo: this host cannot run 32-bit programs; running the 64-bit build" >&2
    preset=win64
    export WINEARCH=win64
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target install_exe uninstaller_exe window_driver >/dev/null
driver="$top/build/$preset/tests/e2e/window_driver.exe"
exe="$top/build/$preset/src/app/install/install.exe"

cmake --preset native >/dev/null
cmake --build --preset native --target kavpack >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$top/build/native/src/app/kavpack/kavpack" build samples/demo "$work/set" \
    --segment-size 400000 --installer "$exe" \
    --uninstaller "$top/build/$preset/src/app/uninstaller/uninstaller.exe"
exe="$work/set/install.exe"
export KAV_KEEP_PREFIX=1
export WINEPREFIX="$top/build/demo-wineprefix-$WINEARCH"
# The prefix is kept between runs (making one takes a while); the product a
# previous run installed goes first, so that every run is a first install
# and no overwrite question comes between.
rm -rf "$WINEPREFIX/drive_c/Program Files/Zephyrin Demo"

if [ -n "${DISPLAY:-}" ]; then
    cd "$work/set"
    "$top/scripts/with-wine.sh" "$top/scripts/wine-run.sh" "$exe"
    exit 0
fi

# Headless: run inside the private Xvfb of with-wine.sh, wait until the set
# has been expanded and the wizard is up over the picture (or a message box
# is, after a failure), photograph the screen, then end the run: OK on a
# message box; the wizard, which waits for its user, is closed by ending
# the program.
shot="$top/build/demo.png"
capture() {
    set -eu
    (cd "$work/set" && exec "$top/scripts/wine-run.sh" "$exe") &
    local pid=$! shown=""
    for _ in $(seq 600); do
        if xdotool search --name "^KAV32 - Setup\$" >/dev/null 2>&1; then shown=wizard; break; fi
        if xdotool search --name "^KAV - Setup\$" >/dev/null 2>&1; then shown=message; break; fi
        sleep 0.1
    done
    sleep 1
    import -window root "$shot"
    if [ "$shown" = wizard ]; then
        # The default user: Accept on the licence, Next on every other page,
        # Install on the last; the photograph is then of the closing message.
        local drive="$top/scripts/wine-run.sh"
        for _ in 1 2 3 4 5 6 7; do
            "$drive" "$driver" "KAV32 - Setup" click "&Install" --timeout 5 2>/dev/null && break
            "$drive" "$driver" "KAV32 - Setup" click "Accept" --timeout 5 2>/dev/null ||
                "$drive" "$driver" "KAV32 - Setup" click "&Next" --timeout 5 2>/dev/null || true
        done
        for _ in $(seq 600); do
            if xdotool search --name "^KAV - Setup\$" >/dev/null 2>&1; then shown=message; break; fi
            sleep 0.1
        done
        sleep 1
        import -window root "$shot"
    fi
    if [ "$shown" = message ]; then
        # The program's hidden application window bears the same title:
        # the key goes to whichever window of that name takes it.
        local box
        for box in $(xdotool search --name "^KAV - Setup\$"); do
            xdotool key --window "$box" Return 2>/dev/null && break
        done
        wait "$pid"
    else
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
}
export -f capture
export top work exe shot driver
"$top/scripts/with-wine.sh" bash -c capture
echo "demo: screenshot saved to $shot"
installed="$WINEPREFIX/drive_c/Program Files/Zephyrin Demo"
if [ -f "$installed/uninstall.cfg" ]; then
    echo "demo: installed into $installed:"
    (cd "$installed" && find . -type f | sort | sed 's/^/  /')
    # The links lie in the shell's folders (the Start menu and desktop of
    # all users, or of the user).
    echo "demo: shortcuts made:"
    (cd "$WINEPREFIX/drive_c" && find ProgramData users -name 'Zephyrin Demo*.lnk' 2>/dev/null | sort | sed 's/^/  C:\\/; s|/|\\|g')
    echo "demo: to remove it again as Windows does (through its UninstallString):"
    echo "  WINEPREFIX=$WINEPREFIX wine uninstaller --remove 'Zephyrin Demo Tool 1.0'"
else
    echo "demo: nothing was installed" >&2
    exit 1
fi
