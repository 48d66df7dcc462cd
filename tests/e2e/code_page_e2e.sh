#!/usr/bin/env bash
# code_page_e2e.sh BUILD_DIR [LOCALE ACP]: a set whose names are code page
# 1252 but not ASCII ("Café Grüße", `Café.txt`, `Grüße.ini`, `Preis €.txt`),
# installed with /VERYSILENT on a Wine set to a Russian system (ru_RU.UTF-8,
# ANSI code page 1251) or the one LOCALE makes (ja_JP.UTF-8: 932), where
# none of these names has its form in the system's code page: the wizard's
# destination page drawn as on a Western system, every file under its right
# name, the Uninstall entry's DisplayName right, and the set's uninstaller
# removes it all again.
set -u
build=$1
wanted_locale=${2:-ru_RU.UTF-8}
wanted_acp=${3:-1251}
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_checks.sh"

use_locale "$wanted_locale" "$wanted_acp"

uninstaller="$build/src/app/uninstaller/uninstaller.exe"
title='Café Grüße'
installed="$WINEPREFIX/drive_c/Program Files/$title"
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title"

# The demo set renamed: the script in code page 1252, the source files
# under their (UTF-8) host names, three more beside the demo's.
source="$work/source"
rm -rf "$source" && cp -r "$top/samples/demo" "$source"
echo "plain" >"$source/Café.txt"
printf '[Grüße]\r\nWert=Größe\r\n' >"$source/Grüße.ini"
echo "10 €" >"$source/Preis €.txt"
sed -e 's/^Install Dir=.*/Install Dir=Café Grüße/' -e 's/^Folder=.*/Folder=Café Grüße/' \
    -e 's/^Header=.*/Header=Café Grüße/' \
    -e 's/^\[Files\]\r\?$/&\nFile20=Café.txt~<INSTALLDIR>\nFile21=Grüße.ini~<INSTALLDIR>\nFile22=Preis €.txt~<INSTALLDIR>/' \
    "$source/install.cfg" | iconv -f UTF-8 -t CP1252 >"$source/install.cfg.1252"
mv "$source/install.cfg.1252" "$source/install.cfg"
"$kavpack" build "$source" "$work/set" --installer "$exe" --uninstaller "$uninstaller" >/dev/null
expect "set built" "$?" 0

# The wizard as the user sees it: its destination page, which shows the
# install folder, captured (BUILD_DIR/e2e-artefacts/wizard-NAME.png) and
# the run cancelled there. Where the system has the page's raster face in
# its Western form, the page below its caption bar (drawn in the system's
# own face) is the same as on a Western system (C.UTF-8: code page 1252);
# where it has only another form (a Cyrillic system), the page is drawn in
# a TrueType face instead and its capture is the record.
destination_page() {  # destination_page NAME
    start_setup "$work/set"
    press "$wizard" "&Next"
    press "$wizard" "Accept"
    capture "$1"
    press "$wizard" "&Cancel"
    expect "attended run cancelled: $1" "$(ending)" "Your installation was canceled!"
}
LANG=C.UTF-8 LC_ALL=C.UTF-8 destination_page code-page-1252-destination
destination_page "code-page-$wanted_acp-destination"
raster_face=$("$run" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'MS Sans Serif' \
    2>/dev/null | tr -d '\r' | sed -n 's/^ *MS Sans Serif *REG_SZ *//p')
if [ "$raster_face" = sserife.fon ]; then
    for acp in 1252 "$wanted_acp"; do
        convert "$artefacts/wizard-code-page-$acp-destination.png" -gravity south -crop 0x266+0+0 +repage \
            "$work/client-$acp.png"
    done
    differing=$(compare -metric AE "$work/client-1252.png" "$work/client-$wanted_acp.png" null: 2>&1)
    expect "destination page as on a Western system (differing pixels)" "$differing" 0
else
    echo "note: \"MS Sans Serif\" is $raster_face here: the destination page is drawn in a TrueType face"
fi

rm -rf "$installed"
(cd "$work/set" && exec "$run" "$exe" /VERYSILENT)
expect "exit status" "$?" 0
for name in "Café.txt" "Grüße.ini" "Preis €.txt" readme.txt uninstaller.exe; do
    expect_true "installed: $name" test -f "$installed/$name"
done
expect "content of Preis €.txt" "$(cat "$installed/Preis €.txt" 2>/dev/null)" "10 €"
# reg's output goes through the console's code page; regedit exports the
# key as UTF-16.
"$run" regedit /E 'C:\uninstall-entry.reg' "HKEY_LOCAL_MACHINE${key#HKLM}" >/dev/null 2>&1
display=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/uninstall-entry.reg" 2>/dev/null |
    tr -d '\r' | sed -n 's/^"DisplayName"=//p')
expect "DisplayName" "$display" "\"$title\""
expect_true "reg query finds the Uninstall entry" "$run" reg query "$key" /v DisplayName

# The uninstaller hands the removal to its copy in the Temp folder and ends
# at once; the copy takes the folder, the uninstaller in it included.
"$run" "C:\\Program Files\\$title\\uninstaller.exe" /VERYSILENT "$title"
expect "uninstall exit status" "$?" 0
for _ in $(seq 40); do
    [ -e "$installed" ] || break
    sleep 0.5
done
expect "files gone after the uninstall" \
    "$(cd "$installed" 2>/dev/null && find . -type f | LC_ALL=C sort | tr '\n' ' ')" ""
expect "the install folder is gone" "$([ -e "$installed" ] && echo there || echo gone)" gone
expect "Uninstall entry gone" "$("$run" reg query "$key" 2>/dev/null | grep -c DisplayName)" 0

[ "$failures" -eq 0 ]
