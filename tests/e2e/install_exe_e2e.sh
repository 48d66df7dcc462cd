#!/usr/bin/env bash
# install_exe_e2e.sh BUILD_DIR: runs install.exe under Wine on the demo set
# (samples/demo, built by kavpack into two segments) and checks what the
# screen shows and the message boxes that ask and end each run.
#   1. The second segment held back: "Please Insert Disk #2 into Floppy
#      Drive." is asked while the expansion window is up; the segment is put
#      in place before OK and the run goes on to the completion message. The
#      main screen is captured then: gradient rows, the splash panel; the
#      picture was already on it while disk 2 was asked for.
#   Between expansion and ending the wizard is gone through with Next,
#   Accept and Install (window_driver.exe presses its buttons). The set of
#   run 1 also carries uninstaller.exe: the installed tree, uninstall.cfg
#   and the Uninstall key (read back with "reg query") are checked.
#   2. "Show Re-Boot" 1, the set named as argument: the restart is
#      announced. The test ends the program while the announcement waits,
#      so the restart itself is never requested from Wine; the set's own
#      files are removed from the argument directory and nothing else.
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_checks.sh"

window_of() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }
# The red, green and blue of one pixel of a captured image, as "R,G,B".
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+.5)],%[fx:int(255*p{$2,$3}.g+.5)],%[fx:int(255*p{$2,$3}.b+.5)]" info:
}
red_of() { pixel "$@" | cut -d, -f1; }

# 1. Two segments, the second put in at the prompt.
autoexec_before=$(cat "$WINEPREFIX/drive_c/autoexec.bat" 2>/dev/null)
make_set "$work/set1" 's/^File7=.*/&\nFile8=uninstaller.exe~<INSTALLDIR>/; s/^Header=.*/&\nPublisher=Zephyrin Works\nVersion=1.0.4/' uninstaller.exe
mkdir -p "$work/floppy2"
mv "$work/set1/disk.002" "$work/floppy2/"
(cd "$work/set1" && exec "$run" "$exe") &
pid=$!
text=$("$run" "$probe" --timeout 90 --leave-open | tr -d '\r')
expect "disk prompt" "$text" 'Please Insert Disk #2 into Floppy Drive.'
preparing=$(window_of "Preparing KAV Setup")
expect_true "expansion window shown during the prompt" test -n "$preparing"
if [ -n "$preparing" ]; then
    capture_window "$preparing" "$artefacts/expansion-window.png"
    eval "$(xdotool getwindowgeometry --shell "$preparing")"
    expect_true "expansion window about 375 x 92 inside its frame" \
        test "$WIDTH" -ge 375 -a "$WIDTH" -le 395 -a "$HEIGHT" -ge 92 -a "$HEIGHT" -le 125
fi
# The picture travels in an archive of its own at the start of the first
# disk: it is on the main screen before the second disk is asked for.
early=$(window_of "KAV 32Bit Installer")
expect_true "main window shown during the prompt" test -n "$early"
if [ -n "$early" ]; then capture_window "$early" "$artefacts/picture-before-disk-2.png"; fi
mv "$work/floppy2/disk.002" "$work/set1/"
"$run" "$probe" --timeout 10 >/dev/null
expect_true "wizard gone through" walk_wizard
text=$("$run" "$probe" --timeout 90 --leave-open | tr -d '\r')
expect "completion message" "$text" \
    'Your installation of \rZephyrin Demo Tool 1.0\rhas be completed.\r\rPlease Remove any floppies from drive.'
main=$(window_of "KAV 32Bit Installer")
expect_true "main window shown" test -n "$main"
if [ -n "$main" ]; then
    shot="$artefacts/main-screen.png"
    capture_window "$main" "$shot"
    width=$(identify -format '%w' "$shot")
    height=$(identify -format '%h' "$shot")
    # Dither From $FF0000 is blue, Dither To 0 black: the first band covers
    # the top rows in pure blue, the last the bottom rows in black.
    expect "first gradient row is pure blue" "$(pixel "$shot" 4 0)" "0,0,255"
    expect "last gradient row is black" "$(pixel "$shot" 4 $((height - 1)))" "0,0,0"
    # The splash panel: centred ("Align Center"), the 96 x 96 picture plus
    # 10 pixels, 30 pixels below the second header.
    x=$((width / 2)) panel=-1
    for y in $(seq 30 200); do
        if [ "$(red_of "$shot" "$x" "$y")" -gt 100 ]; then panel=$y; break; fi
    done
    expect_true "splash panel found below the headers" test "$panel" -ge 40 -a "$panel" -le 130
    if [ "$panel" -ge 0 ]; then
        left=$x right=$x row=$((panel + 3))
        while [ "$left" -gt 0 ] && [ "$(red_of "$shot" $((left - 1)) "$row")" -gt 100 ]; do left=$((left - 1)); done
        while [ "$right" -lt $((width - 1)) ] && [ "$(red_of "$shot" $((right + 1)) "$row")" -gt 100 ]; do right=$((right + 1)); done
        expect "splash panel width" "$((right - left + 1))" 106
        expect_true "splash panel centred" test $(((left + right) / 2 - width / 2)) -ge -1 -a $(((left + right) / 2 - width / 2)) -le 1
        # While disk 2 was asked for: the panel already there (the blue
        # gradient has no red), and inside it, where the picture lies, more
        # than the panel's one colour.
        early_shot="$artefacts/picture-before-disk-2.png"
        early_red=$(red_of "$early_shot" "$x" "$((panel + 3))" 2>/dev/null || echo 0)
        colours=$(convert "$early_shot" -crop "80x80+$((left + 13))+$((panel + 13))" \
            +repage -format '%k' info: 2>/dev/null || echo 0)
        expect_true "picture shown before disk 2 was asked for (panel red $early_red, $colours colours)" \
            test "$early_red" -gt 100 -a "$colours" -gt 1
    fi
fi
"$run" "$probe" --timeout 10 >/dev/null
wait "$pid"
expect "exit status after completion" "$?" 0
installed="$WINEPREFIX/drive_c/Program Files/Zephyrin Demo"
expect "installed tree" "$(cd "$installed" 2>/dev/null && find . -type f | LC_ALL=C sort | tr '\n' ' ')" \
    "./Bin/zdemo.cfg ./Data/words.dat ./Docs/first-steps.txt ./Docs/manual.txt ./install.cfg ./install.exe ./license.txt ./logo.gif ./readme.txt ./uninstall.cfg ./uninstaller.exe ./zdemo.ico ./zdemo.ini "
expect "installed file as packed" "$(cmp "$installed/Docs/manual.txt" "$top/samples/demo/docs/manual.txt" && echo same)" same
dir='C:\Program Files\Zephyrin Demo'
# The links go where the shell shows them to all users: its folders as the
# Shell Folders key names them. The folder boxes are left unticked, so the
# program folder is made under Programs only.
desk=$(shell_folder 'Common Desktop')
menu=$(shell_folder 'Common Start Menu')
programs=$(shell_folder 'Common Programs')
expect_true "shell folders named" test -n "$desk" -a -n "$menu" -a -n "$programs"
links() {  # links NAME [DIRECT]: the patterns of one Desktop entry's links
    echo "${2:+|$desk\\$1.*=}|$menu\\$1.*=|$programs\\Zephyrin Demo\\$1.*="
}
expect "uninstall.cfg" "$(tr -d '\r' <"$installed/uninstall.cfg" | grep -v '^$' | awk '/^\[/ { own = /^\[(File States|INI Entries|Registry Values|Registry Keys|AUTOEXEC Lines)\]$/ } !own' | tr '\n' '|')" \
    "[Program]|Title=Zephyrin Demo Tool 1.0|[UNINS]|$dir\\*.*=|$dir\\Setup\\*.*=|$dir\\readme.txt=|$dir\\license.txt=|$dir\\logo.gif=|$dir\\uninstaller.exe=|$dir\\zdemo.ico=|$dir\\Docs\\manual.txt=|$dir\\Docs\\first-steps.txt=|$dir\\Data\\words.dat=|$dir\\Bin\\zdemo.cfg=$(links 'Zephyrin Demo Read Me' desktop)$(links 'Zephyrin Demo Manual')|$dir\\zdemo.ini=|[Directories]|$dir=|$dir\\Docs=|$dir\\Data=|$dir\\Bin=|[Folders]|$programs\\Zephyrin Demo=|[Registry]|HKEY_LOCAL_MACHINE\\Software\\Zephyrin\\Demo\\Settings=|[AUTOEXEC.BAT]|C:\\autoexec.bat=|"
key='HKLM\Software\Microsoft\Windows\currentversion\uninstall\Zephyrin Demo Tool 1.0'
values=$("$run" reg query "$key" 2>/dev/null | tr -d '\r' | grep -E 'REG_(SZ|DWORD)' | sed 's/^ *//; s/  */ /g' | LC_ALL=C sort | tr '\n' '|')
# The size: what the install copied (not the script, not the INI it wrote).
kib=$(find "$installed" -type f ! -name uninstall.cfg ! -name zdemo.ini -printf '%s\n' | awk '{ s += $1 } END { printf "%x", int((s + 1023) / 1024) }')
command="\"$dir\\uninstaller.exe\" \"Zephyrin Demo Tool 1.0\""
expect "Uninstall key" "$values" \
    "DisplayIcon REG_SZ $dir\\zdemo.ico|DisplayName REG_SZ Zephyrin Demo Tool 1.0|DisplayVersion REG_SZ 1.0.4|EstimatedSize REG_DWORD 0x$kib|InstallLocation REG_SZ $dir|NoModify REG_DWORD 0x1|NoRepair REG_DWORD 0x1|Publisher REG_SZ Zephyrin Works|QuietUninstallString REG_SZ $command /VERYSILENT|UninstallString REG_SZ $command|"
# What the set's script puts on the machine besides the files: links, the
# registry value, the INI entry and the AUTOEXEC.BAT block. The links are
# compared with those the simulated machine writes for the same set, field by
# field as lnkinfo reads them, and through the shell's own IShellLinkA.
windir="$WINEPREFIX/drive_c/windows"
drive_c="$WINEPREFIX/drive_c"
# The simulated machine's shell folders of all users.
sim_c="$work/sim/drive_c"
sim_desk='Users/Public/Desktop'
sim_menu='ProgramData/Microsoft/Windows/Start Menu'
links_below() {  # links_below DRIVE_C DESKTOP START_MENU: "Desktop/..." and "Start Menu/..."
    (cd "$1/$2" 2>/dev/null && find . -name 'Zephyrin Demo*.lnk' | sed 's|^\.|Desktop|')
    (cd "$1/$3" 2>/dev/null && find . -name 'Zephyrin Demo*.lnk' | sed 's|^\.|Start Menu|')
}
unix_below_c() { echo "${1#?:\\}" | tr '\\' '/'; }
wine_links=$(links_below "$drive_c" "$(unix_below_c "$desk")" "$(unix_below_c "$menu")" | LC_ALL=C sort)
"$kavsetup" --root "$work/sim" "$work/set1" >/dev/null 2>&1
sim_links=$(links_below "$sim_c" "$sim_desk" "$sim_menu" | LC_ALL=C sort)
expect "links made" "$(echo "$wine_links" | wc -l)" 5
expect "no link below the Windows directory" "$(find "$windir" -name 'Zephyrin Demo*.lnk' | wc -l)" 0
expect "no program folder on the desktop" "$(test -e "$drive_c/$(unix_below_c "$desk")/Zephyrin Demo" && echo made)" ""
expect "the same links as on the simulated machine" "$wine_links" "$sim_links"
wine_path() { case $1 in Desktop/*) echo "$desk\\${1#Desktop/}" ;; *) echo "$menu\\${1#Start Menu/}" ;; esac | tr '/' '\\'; }
sim_path() { case $1 in Desktop/*) echo "$sim_c/$sim_desk/${1#Desktop/}" ;; *) echo "$sim_c/$sim_menu/${1#Start Menu/}" ;; esac; }
link_fields() { lnkinfo "$1" | grep -E 'Local path|Working directory|Icon location|Icon index' | tr -d '\t' | tr '\n' '|'; }
while IFS= read -r link; do
    [ -n "$link" ] || continue
    expect "lnkinfo: $link" "$(link_fields "$drive_c/$(unix_below_c "$(wine_path "$link")")")" "$(link_fields "$(sim_path "$link")")"
    expect "IShellLinkA: $link" \
        "$("$run" "$probe_shell" link "$(wine_path "$link")" | tr -d '\r' | tr '\n' '|')" \
        "$("$run" "$probe_shell" link "Z:$(sim_path "$link" | tr '/' '\\')" | tr -d '\r' | tr '\n' '|')"
done <<<"$wine_links"
expect "desktop link read by the shell" \
    "$("$run" "$probe_shell" link "$desk\\Zephyrin Demo Read Me.lnk" | tr -d '\r' | tr '\n' '|')" \
    "Target: $dir\\readme.txt|Working directory: $dir\\|Icon: $dir\\zdemo.ico,0|"
expect "registry value" \
    "$("$run" reg query 'HKLM\Software\Zephyrin\Demo\Settings' /v InstallDir 2>/dev/null | tr -d '\r' | grep REG_SZ | sed 's/^ *//; s/  */ /g')" \
    "InstallDir REG_SZ $dir\\"
expect "INI entry" "$(tr -d '\r' <"$installed/zdemo.ini" | grep -v '^$' | tr '\n' '|')" \
    "[Options]|DataDir=$dir\\Data|"
short=$("$run" "$probe_shell" short "$dir" | tr -d '\r')
autoexec="$WINEPREFIX/drive_c/autoexec.bat"
expect "AUTOEXEC.BAT backup is the file as it was" "$(cat "$WINEPREFIX/drive_c/autoexec.kav" 2>/dev/null)" "$autoexec_before"
expect "AUTOEXEC.BAT keeps its lines" "$(head -n -3 "$autoexec")" "$autoexec_before"
expect "AUTOEXEC.BAT block" "$(tail -n 3 "$autoexec" | tr '\r\n' '#|')" \
    "REM - Starting Zephyrin Update#|PATH %PATH%;$short\\BIN#|REM - End of Zephyrin#|"
expect "the set's directory is kept when started in it" \
    "$(ls "$work/set1" | tr '\n' ' ')" "disk.001 disk.002 install.cfg install.exe "

# 2. Restart announced, never performed; the argument directory loses only the set.
# A fresh destination, so that no overwrite question comes between.
rm -rf "$installed"
make_set "$work/set2" 's/^Show Re-Boot=0/Show Re-Boot=1/'
echo "keep" >"$work/set2/notes.txt"
winpath="Z:$(echo "$work/set2" | tr '/' '\\')"
(cd "$work" && exec "$run" "$exe" "$winpath") &
pid=$!
expect_true "wizard gone through with the restart preselected" walk_wizard
text=$("$run" "$probe" --timeout 90 --end-process | tr -d '\r')
wait "$pid"
expect "restart announcement" "$text" \
    'Zephyrin is about to RE-BOOT your PC\r\rPlease Remove any floppies from drive.\r\rClick on OK when ready.'
expect "argument directory keeps what is not the set's" "$(ls -A "$work/set2" | tr '\n' ' ')" "notes.txt "

[ "$failures" -eq 0 ]
