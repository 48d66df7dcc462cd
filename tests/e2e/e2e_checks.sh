# Shared by the end-to-end scripts (sourced, after `top` and `build` are set).
#
# The programs under test and the helpers, a scratch folder that goes when the
# script ends, and the native tools that make and play sets (built when they
# are missing).
run="$top/scripts/wine-run.sh"
exe="$build/src/app/install/install.exe"
probe="$build/tests/e2e/msgbox_probe.exe"
driver="$build/tests/e2e/window_driver.exe"
probe_shell="$build/tests/e2e/shell_probe.exe"
artefacts="$build/e2e-artefacts"
kavpack=${KAV_KAVPACK:-$top/build/native/src/app/kavpack/kavpack}
kavsetup=${KAV_KAVSETUP:-$top/build/native/src/app/kavsetup/kavsetup}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$artefacts"
if [ ! -x "$kavpack" ] || [ ! -x "$kavsetup" ]; then
    (cd "$top" && cmake --preset native >/dev/null && cmake --build --preset native --target kavpack kavsetup >/dev/null)
fi

# Sets and the wizard: a copy of the demo source, edited, packed into two
# segments; and the wizard gone through as a user who accepts every default.
make_set() {  # make_set DIR [SCRIPT_EDIT] [EXTRA_FILE]
    local source="$work/source-$(basename "$1")"
    rm -rf "$source" && cp -r "$top/samples/demo" "$source"
    if [ -n "${2:-}" ]; then sed -i "$2" "$source/install.cfg"; fi
    if [ -n "${3:-}" ]; then echo "MZ" >"$source/$3"; fi
    "$kavpack" build "$source" "$1" --segment-size 16384 --installer "$exe" --no-uninstaller >/dev/null
}

# Goes through the wizard as the default user: Accept on the licence, Next
# on every other page, Install on the last.
walk_wizard() {
    "$run" "$driver" "KAV32 - Setup" wait --timeout 90 >/dev/null || return 1
    for _ in 1 2 3 4 5 6 7; do
        "$run" "$driver" "KAV32 - Setup" click "&Install" --timeout 5 2>/dev/null && return 0
        "$run" "$driver" "KAV32 - Setup" click "Accept" --timeout 5 2>/dev/null ||
            "$run" "$driver" "KAV32 - Setup" click "&Next" --timeout 5 2>/dev/null
    done
    return 1
}

# The wizard run by a user: install.exe started on a set (its process in
# $pid), its buttons pressed, its window captured, and the message that ends
# the run read.
wizard="KAV32 - Setup"
press() { "$run" "$driver" "$1" click "$2" >/dev/null || { echo "FAIL: press $2 in $1"; failures=$((failures + 1)); }; }
capture() {  # capture NAME: the wizard's window as NAME.png
    local id
    sleep 0.5
    id=$(xdotool search --name "^$wizard\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then import -window "$id" "$artefacts/wizard-$1.png"; else echo "FAIL: no wizard to capture for $1"; failures=$((failures + 1)); fi
}
start_setup() {  # start_setup DIR: install.exe on the set in DIR, the wizard up
    (cd "$1" && exec "$run" "$exe") &
    pid=$!
    "$run" "$driver" "$wizard" wait --timeout 90 >/dev/null || { echo "FAIL: no wizard"; failures=$((failures + 1)); }
}
# tell_log_unless_installed STATUS LOG: a run that did not install shows the
# end of its log, so that a failure says why.
tell_log_unless_installed() {
    [ "$1" -eq 0 ] || tail -n 25 "$2" 2>/dev/null | sed 's/^/    log: /'
}
ending() { "$run" "$probe" --timeout 60 | tr -d '\r'; wait "$pid"; }

# use_locale LOCALE ACP: Wine runs, from here on, on a system of LOCALE
# (ru_RU.UTF-8), whose ANSI code page must be ACP (1251). Wine takes its code
# page from the Unix locale, which must exist.
use_locale() {
    local language=${1%%.*}
    if ! locale -a 2>/dev/null | grep -qi "^$language\.utf-\?8$"; then
        localedef -i "$language" -f UTF-8 "$1" >/dev/null 2>&1 ||
            { echo "FAIL: no $1 locale, and it cannot be made"; exit 1; }
    fi
    export LANG=$1 LC_ALL=$1
    expect "Wine's ANSI code page" "$("$run" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' \
        /v ACP 2>/dev/null | tr -d '\r' | sed -n 's/^ *ACP *REG_SZ *//p')" "$2"
}

# shell_folder NAME: a value of HKLM's Shell Folders key (a Windows path).
shell_folder() {
    "$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v "$1" 2>/dev/null |
        tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"
}

# capture_window WINDOW FILE: the screen where the window lies, with whatever
# lies in front of it (a message box). A window read alone leaves the parts
# another window covers undefined: Xvfb gives them black.
capture_window() {
    local geometry
    geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}')
    import -window root -crop "$geometry" +repage "$2"
}

# Checks: each prints "ok: NAME" or "FAIL: NAME" with what differed, and
# counts the failures in $failures.
failures=0
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
expect_true() {  # expect_true NAME CONDITION...
    local name=$1
    shift
    if "$@"; then echo "ok: $name"; else echo "FAIL: $name ($*)"; failures=$((failures + 1)); fi
}
