#!/usr/bin/env bash
# wizard_walk_e2e.sh BUILD_DIR: walks the wizard of install.exe under Wine on
# the demo set (samples/demo, built by kavpack), pressing its buttons with
# window_driver.exe, capturing every page (BUILD_DIR/e2e-artefacts/wizard-*)
# and checking the texts its windows show.
#   1. The licence declined: the cancellation message.
#   2. The licence accepted; Back from the destination page to the licence,
#      where Next is disabled; Browse with a typed path and the question
#      answered Yes; the folders and ready pages; Install and the
#      completion message.
#   3. The wizard closed through its frame: the cancellation message.
#   4. The keyboard: Enter presses Next, Page Down scrolls the licence,
#      Escape is Cancel.
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)

. "$top/tests/e2e/e2e_checks.sh"
# expect_shows NAME TEXT: the wizard's windows show TEXT (a fixed string).
expect_shows() {
    if "$run" "$driver" "$wizard" texts | tr -d '\r' | grep -qF -- "$2"; then
        echo "ok: $1"
    else
        echo "FAIL: $1 (no \"$2\")"
        failures=$((failures + 1))
    fi
}
# expect_unbroken NAME WINDOW: every edit box of WINDOW shows its text whole:
# a multi-line box with its own line breaks only (no line wrapped because it
# did not fit), a one-line box from its start.
expect_unbroken() {
    local texts shown line
    texts=$("$run" "$driver" "$2" texts | tr -d '\r')
    shown=$("$run" "$driver" "$2" lines | tr -d '\r')
    while IFS= read -r line; do
        if ! grep -qxF -- "$line" <<<"$texts"; then
            echo "FAIL: $1 (shown as: $line)"
            failures=$((failures + 1))
            return
        fi
    done <<<"$shown"
    if [ -n "$shown" ]; then echo "ok: $1"; else echo "FAIL: $1 (no text box)"; failures=$((failures + 1)); fi
}

"$kavpack" build "$top/samples/demo" "$work/set" --installer "$exe" >/dev/null

# 1. Declined.
start_setup "$work/set"
expect_shows "welcome text" "It is strongly recommended that you exit all windows programs"
expect_unbroken "welcome lines unbroken" "$wizard"
capture 0-welcome
press "$wizard" "&Next"
expect_shows "licence shown" "ZEPHYRIN DEMO TOOL - LICENCE AGREEMENT"
capture 1-licence
press "$wizard" "Decline"
expect "declined licence" "$(ending)" "Your installation was canceled!"

# 2. Accepted, Back to the licence, Browse, Install.
start_setup "$work/set"
press "$wizard" "&Next"
press "$wizard" "Accept"
expect_shows "destination text" "you can choose not to install by clicking cancel."
expect_unbroken "destination lines unbroken" "$wizard"
capture 2-destination
press "$wizard" "&Back"
if "$run" "$driver" "$wizard" click "&Next" 2>/dev/null; then
    echo "FAIL: Next enabled on the licence after Back"; failures=$((failures + 1))
else
    echo "ok: Next disabled on the licence after Back"
fi
press "$wizard" "Accept"
press "$wizard" "Browse"
"$run" "$driver" "Select Directory" wait >/dev/null
id=$(xdotool search --name "^Select Directory\$" 2>/dev/null | head -n 1)
[ -n "$id" ] && import -window "$id" "$artefacts/wizard-chooser.png"
"$run" "$driver" "Select Directory" texts | tr -d '\r' | grep -qF "Double click on directory to open folder or type " \
    && echo "ok: chooser text" || { echo "FAIL: chooser text"; failures=$((failures + 1)); }
# Two lines of the chooser's text are wider than its box (about 220 px of
# 212 in the 8-point face): only its path box is checked, shown from the
# start of the destination.
expect "chooser path box from its start" \
    "$("$run" "$driver" "Select Directory" lines | tr -d '\r' | grep -c -xF 'Edit: C:\Program Files\Zephyrin Demo')" 1
"$run" "$driver" "Select Directory" type 'C:\Walk Target' >/dev/null
press "Select Directory" "&OK"
expect "confirmation" "$("$run" "$probe" --timeout 30 --leave-open | tr -d '\r')" \
    'Create New Directory for Installation [C:\Walk Target] ?'
press "KAV - Setup" "&Yes"
capture 2-destination-browsed
press "$wizard" "&Next"
expect_shows "folders page" "Add Folder to Start Menu"
capture 3-folders
press "$wizard" "&Next"
expect_shows "summary" 'Install to:\r\n  C:\Walk Target'
capture 5-ready
press "$wizard" "&Install"
expect "completed" "$(ending)" \
    'Your installation of \rZephyrin Demo Tool 1.0\rhas be completed.\r\rPlease Remove any floppies from drive.'

# 3. Closed through the frame.
start_setup "$work/set"
"$run" "$driver" "$wizard" close >/dev/null
expect "frame close" "$(ending)" "Your installation was canceled!"

# 4. Keys, typed into the focused wizard.
start_setup "$work/set"
id=$(xdotool search --name "^$wizard\$" 2>/dev/null | head -n 1)
xdotool windowfocus --sync "$id" 2>/dev/null
xdotool key Return
expect_shows "Enter is Next" "ZEPHYRIN DEMO TOOL - LICENCE AGREEMENT"
capture 1-licence-top
xdotool key Next
capture 1-licence-paged
# The licence's lower lines only: the caret blinks on its first line.
for shot in top paged; do
    convert "$artefacts/wizard-1-licence-$shot.png" -crop 380x90+20+90 +repage "$work/$shot.png"
done
changed=$(compare -metric AE "$work/top.png" "$work/paged.png" null: 2>&1)
expect_true "Page Down scrolls the licence" test "${changed%% *}" -gt 0
xdotool key Escape
expect "Escape is Cancel" "$(ending)" "Your installation was canceled!"

[ "$failures" -eq 0 ]
