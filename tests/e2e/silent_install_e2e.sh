#!/usr/bin/env bash
# silent_install_e2e.sh BUILD_DIR [LOCALE ACP]: install.exe's unattended runs
# under Wine on the demo set, packed into two segments; with LOCALE, on a
# system of that locale whose ANSI code page is ACP (ru_RU.UTF-8: 1251).
#   1. /VERYSILENT /DIR=... /LOG=...: the set is installed with no window
#      shown at any time (the X window list is read while the program
#      runs), exit status 0, and the log lists every file of the set, as
#      expanded (with its size) and as installed. Version 1.1 installed
#      over it leaves one entry in Windows' list; uninstaller.exe
#      /VERYSILENT then exits 0 at once and its copy removes the product
#      and its folder, again without a window.
#   2. The second segment missing: the run ends by itself with status 3,
#      no window shown, and the log says which segment was missing.
#   3. /SILENT: the windows are shown, nothing is asked (no message box);
#      exit status 0.
#   4. A bad switch: status 1 and nothing installed.
#   5. Sets whose picture is a run-length coded BMP or a JPEG: installed
#      under /SILENT with status 0, the picture not left out.
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_checks.sh"
if [ $# -ge 3 ]; then use_locale "$2" "$3"; fi

drive_c="${WINEPREFIX:-$top/build/wineprefix-${WINEARCH:-win32}}/drive_c"
# The names of the windows mapped on the display while process $1 runs,
# one per line, each once.
watch_windows() {
    while kill -0 "$1" 2>/dev/null; do
        for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
            xdotool getwindowname "$id" 2>/dev/null
        done
        sleep 0.1
    done | sort -u
}
# The lines of the [Files] list of the demo script: the file names.
set_files() {
    sed -n '/^\[Files\]/,/^\[/p' "$top/samples/demo/install.cfg" | tr -d '\r' |
        sed -n 's/^File[0-9]*=\([^~]*\)~.*/\1/p'
}
in_log() {  # in_log LOG EXTENDED_REGEX
    tr -d '\r' <"$1" | grep -Eq "$2"
}

# 1. Very silent, into C:\Tools\Demo, with a log; the set carries the
# uninstaller, which then removes the product as quietly.
rm -rf "$work/source1" && cp -r "$top/samples/demo" "$work/source1"
"$kavpack" build "$work/source1" "$work/set1" --segment-size 16384 --installer "$exe" \
    --uninstaller "$build/src/app/uninstaller/uninstaller.exe" >/dev/null
(cd "$work/set1" && exec "$run" "$exe" /VERYSILENT '/DIR="C:\Tools\Demo"' '/LOG="C:\setup.log"') &
pid=$!
windows=$(watch_windows "$pid")
wait "$pid"
expect "very silent: exit status" "$?" 0
expect "very silent: no window shown" "$windows" ""
log="$drive_c/setup.log"
expect_true "very silent: log written" test -s "$log"
cp "$log" "$artefacts/silent-install.log" 2>/dev/null
missing=""
for name in $(set_files); do
    # A file the script names but the set does not carry is not expected.
    source=$(find "$top/samples/demo" -name "$name" | head -n 1)
    [ -n "$source" ] || continue
    size=$(stat -c %s "$source")
    in_log "$log" "expanded .*\\\\$name: $size bytes, checksum [0-9A-F]{8}$" || missing="$missing expanded:$name"
    in_log "$log" "installed C:\\\\Tools\\\\Demo\\\\(.*\\\\)?$name$" || missing="$missing installed:$name"
    [ -f "$(find "$drive_c/Tools/Demo" -name "$name" | head -n 1)" ] || missing="$missing file:$name"
done
expect "very silent: every file expanded, installed and logged" "$missing" ""
expect_true "very silent: log ends with the status" in_log "$log" "exit status 0 installed$"
expect_true "very silent: time-stamped lines" in_log "$log" \
    "^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3} configuration read from "

# Version 1.1 over 1.0 in the same folder: Windows lists one product.
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
rm -rf "$work/source1b" && cp -r "$top/samples/demo" "$work/source1b"
sed -i 's/^Header=.*/Header=Zephyrin Demo Tool 1.1/' "$work/source1b/install.cfg"
"$kavpack" build "$work/source1b" "$work/set1b" --segment-size 16384 --installer "$exe" \
    --uninstaller "$build/src/app/uninstaller/uninstaller.exe" >/dev/null
(cd "$work/set1b" && exec "$run" "$exe" /VERYSILENT '/DIR="C:\Tools\Demo"')
expect "upgrade: exit status" "$?" 0
expect "upgrade: the old entry is gone" \
    "$("$run" reg query "$uninstall_key\Zephyrin Demo Tool 1.0" 2>/dev/null | grep -c DisplayName)" 0
expect "upgrade: one entry listed" \
    "$("$run" uninstaller --list 2>/dev/null | tr -d '\r' | grep -c '|||Zephyrin Demo Tool')" 1

title='Zephyrin Demo Tool 1.1'
"$run" 'C:\Tools\Demo\uninstaller.exe' /VERYSILENT $title &
pid=$!
windows=$(watch_windows "$pid")
wait "$pid"
expect "very silent removal: exit status" "$?" 0
# Its copy in the Temp folder removes the product, the folder included,
# within seconds and without a window.
for _ in $(seq 100); do
    [ -e "$drive_c/Tools/Demo" ] || break
    windows+=$(xdotool search --onlyvisible --name '' getwindowname %@ 2>/dev/null)
    sleep 0.2
done
expect "very silent removal: no window shown" "$windows" ""
expect "very silent removal: the folder is gone" "$([ -e "$drive_c/Tools/Demo" ] && echo there || echo gone)" gone

# 2. The second segment missing: status 3 at once.
make_set "$work/set2"
rm "$work/set2/disk.002"
started=$(date +%s)
(cd "$work/set2" && exec timeout 120 "$run" "$exe" /VERYSILENT '/DIR=C:\Tools\Missing' \
    '/LOG=C:\missing.log') &
pid=$!
windows=$(watch_windows "$pid")
wait "$pid"
expect "missing segment: exit status" "$?" 3
expect_true "missing segment: ended without waiting" test $(($(date +%s) - started)) -lt 60
expect "missing segment: no window shown" "$windows" ""
expect_true "missing segment: logged" in_log "$drive_c/missing.log" 'segment #2: .*disk\.002 \(missing\)$'
expect_true "missing segment: nothing installed" test ! -e "$drive_c/Tools/Missing"

# 3. Silent: windows, no questions.
make_set "$work/set3"
(cd "$work/set3" && exec timeout 120 "$run" "$exe" /SILENT '/DIR=C:\Tools\Silent' '/LOG=C:\silent.log') &
pid=$!
windows=$(watch_windows "$pid")
wait "$pid"
status=$?
expect "silent: exit status" "$status" 0
tell_log_unless_installed "$status" "$drive_c/silent.log"
expect_true "silent: the wizard was shown" grep -qx "KAV32 - Setup" <<<"$windows"
expect_true "silent: no message box" test -z "$(grep -x "KAV - Setup" <<<"$windows")"
expect_true "silent: installed" test -f "$drive_c/Tools/Silent/readme.txt"

# 5. A picture saved as a run-length coded bitmap or as a JPEG: installed
# under /SILENT like any other set, the picture shown (not left out).
for picture in rle.bmp logo.jpg; do
    case $picture in
        rle.bmp) convert "$top/samples/demo/logo.gif[0]" -colors 16 -type Palette -compress RLE "BMP3:$work/$picture" ;;
        *) convert "$top/samples/demo/logo.gif[0]" -quality 80 "$work/$picture" ;;
    esac
    rm -rf "$work/source-$picture" && cp -r "$top/samples/demo" "$work/source-$picture"
    cp "$work/$picture" "$work/source-$picture/" && rm "$work/source-$picture/logo.gif"
    sed -i "s/^Bitmap File=logo.gif/Bitmap File=$picture/" "$work/source-$picture/install.cfg"
    "$kavpack" build "$work/source-$picture" "$work/set-$picture" --installer "$exe" --no-uninstaller \
        >"$work/kavpack-$picture.out" 2>&1
    expect_true "$picture: kavpack has no picture warning" test -z "$(grep -i 'picture' "$work/kavpack-$picture.out")"
    (cd "$work/set-$picture" && exec timeout 120 "$run" "$exe" /SILENT "/DIR=C:\\Tools\\$picture" "/LOG=C:\\$picture.log")
    status=$?
    expect "$picture: silent exit status" "$status" 0
    tell_log_unless_installed "$status" "$drive_c/$picture.log"
    expect_true "$picture: installed" test -f "$drive_c/Tools/$picture/readme.txt"
    expect_true "$picture: logged" test -s "$drive_c/$picture.log"
    expect_true "$picture: picture shown" test -z "$(grep -i 'picture left out' "$drive_c/$picture.log")"
done

# 4. A bad switch refuses the run.
make_set "$work/set4"
(cd "$work/set4" && exec timeout 60 "$run" "$exe" /VERYSILENT '/DIR=C:\Tools\Bad' /TYPE=minimal)
expect "bad switch: exit status" "$?" 1
expect_true "bad switch: nothing installed" test ! -e "$drive_c/Tools/Bad"

[ "$failures" -eq 0 ]
