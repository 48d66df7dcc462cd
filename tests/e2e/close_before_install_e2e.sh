#!/usr/bin/env bash
# close_before_install_e2e.sh BUILD_DIR: install.exe under Wine on the demo
# set, each of its windows closed as Alt+F4 closes it (window_driver.exe
# posts the system menu's Close) before Install was pressed:
#   1. the main screen during its one-second wait before the expansion,
#   2. the expansion window before its timer starts the expansion,
#   3. the wizard on its destination page.
# Each run ends with the cancellation message and exit status 2, and leaves
# nothing in the destination.
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_checks.sh"

"$kavpack" build "$top/samples/demo" "$work/set" --installer "$exe" >/dev/null
target='C:\CloseTarget'
installed="$WINEPREFIX/drive_c/CloseTarget"

# close_run NAME TITLE [PAGES]: the driver waits for the window titled TITLE
# before install.exe starts, so that it closes the window as soon as it is
# shown; with PAGES, Next is pressed that many times first.
close_run() {
    local name=$1 title=$2 pages=${3:-0} closer status
    if [ "$pages" -eq 0 ]; then
        "$run" "$driver" "$title" altf4 --timeout 90 >/dev/null &
        closer=$!
    fi
    (cd "$work/set" && exec "$run" "$exe" "/DIR=$target") &
    pid=$!
    if [ "$pages" -gt 0 ]; then
        "$run" "$driver" "$title" wait --timeout 90 >/dev/null
        for _ in $(seq "$pages"); do
            "$run" "$driver" "$title" click "Accept" --timeout 5 2>/dev/null ||
                "$run" "$driver" "$title" click "&Next" --timeout 5 >/dev/null
        done
        "$run" "$driver" "$title" altf4 >/dev/null
    else
        wait "$closer" || echo "FAIL: $name: no window \"$title\""
    fi
    expect "$name: cancelled" "$("$run" "$probe" --timeout 60 | tr -d '\r')" \
        "Your installation was canceled!"
    wait "$pid"
    status=$?
    expect "$name: exit status" "$status" 2
    expect "$name: nothing installed" "$(test -e "$installed" && echo made)" ""
}

close_run "main screen" "KAV 32Bit Installer"
close_run "expansion window" "Preparing KAV Setup"
# Next on the welcome page, Accept on the licence: the destination page.
close_run "wizard" "KAV32 - Setup" 2

[ "$failures" -eq 0 ]
