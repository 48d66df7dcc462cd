#!/usr/bin/env bash
# uninstall_exe_e2e.sh BUILD_DIR: installs the demo set, with the
# uninstaller.exe of this build, through install.exe under Wine, then
# removes it the way Windows does: Wine's own list of installed programs
# (`wine uninstaller --list`) shows the product; `wine uninstaller --remove`
# runs its registered UninstallString; the uninstaller hands over to its
# copy in the Temp folder, whose question is answered Yes and whose closing
# message is read; afterwards the list no longer shows the product, and its
# files, folder, links, registry value and AUTOEXEC.BAT block are gone; only
# the copy waits for the restart. The screen is captured at the question
# and at the closing message (BUILD_DIR/e2e-artefacts/uninstall-*.png).
# Then the quiet uninstall string on a second install: no window at all,
# exit 0 at once, and the product, its folder and its Uninstall entry gone
# within seconds.
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_checks.sh"

uninstaller="$build/src/app/uninstaller/uninstaller.exe"
title='Zephyrin Demo Tool 1.0'
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title"
installed="$WINEPREFIX/drive_c/Program Files/Zephyrin Demo"
autoexec="$WINEPREFIX/drive_c/autoexec.bat"
listed() { "$run" uninstaller --list 2>/dev/null | tr -d '\r' | grep -c "|||$title\$"; }

# One segment is enough here: the disks are install.exe's own test.
rm -rf "$work/source" && cp -r "$top/samples/demo" "$work/source"
"$kavpack" build "$work/source" "$work/set" --installer "$exe" --uninstaller "$uninstaller" >/dev/null 2>&1
install_demo() {
    (cd "$work/set" && exec "$run" "$exe") &
    local pid=$!
    walk_wizard || return 1
    "$run" "$probe" --timeout 90 >/dev/null
    wait "$pid"
}

# Earlier tests in this prefix may have left the demo installed: the
# machine as it was before any of them, so that no overwrite question comes
# between and "as before" means before this test's install.
rm -rf "$installed"
"$run" reg delete 'HKLM\Software\Zephyrin' /f >/dev/null 2>&1
printf '@ECHO OFF\r\nPATH C:\\WINDOWS\r\n' >"$autoexec"
autoexec_before=$(cat "$autoexec")
expect_true "demo installed" install_demo
expect "listed by Wine after the install" "$(listed)" 1
expect "uninstaller installed" "$(cmp "$installed/uninstaller.exe" "$uninstaller" && echo same)" same

"$run" uninstaller --remove "$title" >/dev/null 2>&1 &
remover=$!
expect_true "asked before removing" "$run" "$driver" "KAV - Setup" texts --timeout 60
question=$("$run" "$driver" "KAV - Setup" texts --timeout 5 2>/dev/null | tr -d '\r' | tr '\n' '|')
import -window root "$artefacts/uninstall-question.png"
expect_true "the question names the product" grep -q "Remove $title and all of its components?" <<<"$question"
"$run" "$driver" "KAV - Setup" click "&Yes" --timeout 10 >/dev/null
closing=$("$run" "$probe" --timeout 90 --leave-open | tr -d '\r')
import -window root "$artefacts/uninstall-closing.png"
"$run" "$probe" --timeout 10 >/dev/null
wait "$remover"
expect_true "closing message says it is removed" grep -q "^$title has been removed" <<<"$closing"
expect "closing message needs no restart" "$(grep -c "Windows restarts" <<<"$closing")" 0
expect "no longer listed by Wine" "$(listed)" 0
expect "the install folder is gone, the uninstaller with it" "$([ -e "$installed" ] && echo there || echo gone)" gone
for place in 'Common Desktop' 'Common Start Menu'; do
    folder=$(shell_folder "$place" | sed 's/^.:\\//' | tr '\\' '/')
    expect "links gone: $place" "$(cd "$WINEPREFIX/drive_c/$folder" && find . -name 'Zephyrin Demo*' | wc -l)" 0
done
expect "registry value gone" "$("$run" reg query 'HKLM\Software\Zephyrin\Demo\Settings' 2>/dev/null | grep -c InstallDir)" 0
expect "AUTOEXEC.BAT as before" "$(cat "$autoexec" 2>/dev/null)" "$autoexec_before"
expect "only the copy in the Temp folder waits for the restart" \
    "$("$run" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | grep -ci 'Temp\\uninstaller-[0-9]*\.exe')" 1

# The quiet uninstall string: nothing asked, no window; the original ends
# at once with 0 and its copy removes the product within seconds.
expect_true "demo installed again" install_demo
quiet=$("$run" reg query "$key" /v QuietUninstallString 2>/dev/null | tr -d '\r' | sed -n 's/^ *QuietUninstallString *REG_SZ *//p')
expect "QuietUninstallString" "$quiet" "\"C:\\Program Files\\Zephyrin Demo\\uninstaller.exe\" \"$title\" /VERYSILENT"
"$run" "C:\\Program Files\\Zephyrin Demo\\uninstaller.exe" "$title" /VERYSILENT
expect "exit status of the quiet uninstall string" "$?" 0
for _ in $(seq 40); do
    [ -e "$installed" ] || [ "$(listed)" != 0 ] || break
    sleep 0.5
done
expect "no longer listed after the quiet removal" "$(listed)" 0
expect "Uninstall entry gone after the quiet removal" "$("$run" reg query "$key" >/dev/null 2>&1 && echo there || echo gone)" gone
expect "the install folder is gone after the quiet removal" "$([ -e "$installed" ] && echo there || echo gone)" gone

[ "$failures" -eq 0 ]
