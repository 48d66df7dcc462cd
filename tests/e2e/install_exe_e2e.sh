#!/usr/bin/env bash
# install_exe_e2e.sh BUILD_DIR: runs install.exe under Wine on two small
# installation sets and checks the message box that ends each run.
#   1. "Show Re-Boot" 0, started in the set's directory: the completion
#      message names the set's "Header"; OK ends the program.
#   2. "Show Re-Boot" 1, the set named as argument: the restart is
#      announced. The test ends the program while the announcement waits,
#      so the restart itself is never requested from Wine.
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
run="$top/scripts/wine-run.sh"
exe="$build/src/app/install/install.exe"
probe="$build/tests/e2e/msgbox_probe.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

make_set() {  # make_set DIR SHOW_REBOOT
    mkdir -p "$1"
    printf '[Setup - Main]\r\nShow Re-Boot=%s\r\nHeader=E2E Product 2.5\r\n' "$2" >"$1/install.cfg"
    echo "payload" >"$1/readme.txt"
}

expect() {  # expect NAME ACTUAL EXPECTED
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        echo "  expected: $3"
        echo "  actual:   $2"
        failures=$((failures + 1))
    fi
}

# 1. Completion.
make_set "$work/set1" 0
(cd "$work/set1" && exec "$run" "$exe") &
pid=$!
text=$("$run" "$probe" --timeout 60 | tr -d '\r')
wait "$pid"
rc=$?
expect "completion message" "$text" \
    'Your installation of \rE2E Product 2.5\rhas be completed.\r\rPlease Remove any floppies from drive.'
expect "exit status after completion" "$rc" 0
expect "source directory without argument is kept" "$(ls "$work/set1" | tr '\n' ' ')" "install.cfg readme.txt "

# 2. Restart announced, never performed.
make_set "$work/set2" 1
winpath="Z:$(echo "$work/set2" | tr '/' '\\')"
(cd "$work" && exec "$run" "$exe" "$winpath") &
pid=$!
text=$("$run" "$probe" --timeout 60 --end-process | tr -d '\r')
wait "$pid"
expect "restart announcement" "$text" \
    'Zephyrin is about to RE-BOOT your PC\r\rPlease Remove any floppies from drive.\r\rClick on OK when ready.'
expect "argument directory cleared and removed" "$(ls -A "$work/set2" 2>/dev/null | wc -l)" 0

[ "$failures" -eq 0 ]
