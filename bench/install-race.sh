#!/usr/bin/env bash
# bench/install-race.sh [ROUNDS]: one product of real files (Debian's
# documentation under names of their own, and the largest of Wine's own
# DLLs) installed silently under Wine, ROUNDS times (default 5), by this
# project's install.exe (/VERYSILENT, from a set kavpack built) and by an
# NSIS installer of the same files (makensis, zlib, /S), taking turns.
# Prints each round's wall times and peak resident memory, the median ratio
# install.exe / NSIS, the phases of install.exe's own log (expansion, copy
# step, the rest), the time the quiet uninstall string takes to remove
# the product, and the time of the same install with its windows shown.
# FILES sets the number of documentation files (default 1200); PROGRAMS=DIR
# races DIR/install/install.exe and DIR/uninstaller/uninstaller.exe instead
# of this tree's build (an earlier build, say).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
rounds=${1:-5}
files=${FILES:-1200}

# The 32-bit programs where this host runs them, else the same code built
# as 64-bit programs, raced against the NSIS stub of the same kind.
if ./scripts/host-runs-i386.sh; then
  arch=win32 nsis_target=x86-unicode dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
  program_files='$PROGRAMFILES'
else
  arch=win64 nsis_target=amd64-unicode dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
  program_files='$PROGRAMFILES64'
fi
export WINEARCH=$arch
if [ -n "${PROGRAMS:-}" ]; then
  winbuild=$(cd "$PROGRAMS" && pwd)
else
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" --target install_exe uninstaller_exe >/dev/null
  winbuild=$top/build/$arch/src/app
fi
cmake --preset native >/dev/null
cmake --build --preset native --target kavpack >/dev/null
kavpack=$top/build/native/src/app/kavpack/kavpack

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
product=$work/product
mkdir -p "$product"
# A later file of a name replaces an earlier one among the expanded files,
# so each gets a name of its own: its number and its name cut to safe
# characters.
i=0
while IFS= read -r -d '' source; do
  name=$(printf '%s' "${source##*/}" | tr -c 'A-Za-z0-9._-' '_' | cut -c1-60)
  folder=$product/d$((i % 19 + 1))
  mkdir -p "$folder"
  cp "$source" "$folder/$(printf '%05d' "$i")-$name"
  i=$((i + 1))
  [ "$i" -lt "$files" ] || break
done < <(find /usr/share/doc -type f -size -2M -print0 | sort -z)
# (A pipe into head would end ls early, which pipefail counts as a failure.)
mapfile -t largest < <(ls -S "$dlls"/*.dll)
cp "${largest[@]:0:8}" "$product/"
bytes=$(du -sb "$product" | cut -f1)

"$kavpack" init "$product" --title "Race Product" >/dev/null
"$kavpack" build "$product" "$work/set" --installer "$winbuild/install/install.exe" \
  --uninstaller "$winbuild/uninstaller/uninstaller.exe" >/dev/null
segments=$(ls "$work/set"/disk.* | wc -l)

cat >"$work/race.nsi" <<EOF
Unicode true
Target $nsis_target
SetCompressor zlib
Name "Race NSIS"
OutFile "$work/nsis-setup.exe"
InstallDir "$program_files\\Race NSIS"
RequestExecutionLevel admin
Section
  SetOutPath "\$INSTDIR"
  File /r "$product/*.*"
  WriteUninstaller "\$INSTDIR\\uninstall.exe"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Race NSIS" "DisplayName" "Race NSIS"
  WriteRegStr HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Race NSIS" "UninstallString" '"\$INSTDIR\\uninstall.exe"'
SectionEnd
Section "Uninstall"
  RMDir /r "\$INSTDIR"
  DeleteRegKey HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Race NSIS"
SectionEnd
EOF
makensis -V1 "$work/race.nsi" >/dev/null

echo "product: $((i + 8)) files, $((bytes / 1024)) KiB; our set: $segments segments; $arch Wine, NSIS $nsis_target"
export WINEPREFIX=$work/prefix
export KAV_RACE_WORK=$work KAV_RACE_ROUNDS=$rounds
./scripts/with-wine.sh bash -c '
  set -eu
  work=$KAV_RACE_WORK
  run=$PWD/scripts/wine-run.sh
  drive=$WINEPREFIX/drive_c
  now() { date +%s.%N; }
  for round in $(seq 1 "$KAV_RACE_ROUNDS"); do
    rm -rf "$drive/Program Files/Race Product" "$drive/Program Files/Race NSIS" "$work/ours.log"
    start=$(now)
    (cd "$work/set" && /usr/bin/time -o "$work/peak-ours" -f %M "$run" ./install.exe /VERYSILENT /NORESTART "/LOG=Z:${work//\//\\}\\ours.log" >/dev/null 2>&1) || echo "round $round: install.exe exit $?"
    middle=$(now)
    /usr/bin/time -o "$work/peak-nsis" -f %M "$run" "$work/nsis-setup.exe" /S >/dev/null 2>&1 || echo "round $round: NSIS exit $?"
    end=$(now)
    installed=$(find "$drive/Program Files/Race Product" -type f | wc -l)
    echo "round $round: $(echo "$start $middle $end" | awk "{ printf \"install.exe %.2f s, NSIS %.2f s\", \$2 - \$1, \$3 - \$2 }"), $installed files installed, peak resident $(tail -n 1 "$work/peak-ours") and $(tail -n 1 "$work/peak-nsis") KiB" | tee -a "$work/rounds"
    cp "$work/ours.log" "$work/ours-$round.log" 2>/dev/null || true
    # The quiet uninstall string: the uninstaller hands the removal to its
    # copy and returns, so the time is until the folder is gone.
    start=$(now)
    "$run" "C:\\Program Files\\Race Product\\uninstaller.exe" /VERYSILENT "Race Product" >/dev/null 2>&1 || echo "round $round: uninstaller exit $?"
    # Looked for every 10 ms, so that the polling adds little to a time of
    # a few tenths of a second.
    for _ in $(seq 6000); do [ -d "$drive/Program Files/Race Product" ] || break; sleep 0.01; done
    end=$(now)
    echo "round $round: uninstall $(echo "$start $end" | awk "{ printf \"%.2f\", \$2 - \$1 }") s, $(find "$drive/Program Files/Race Product" -type f 2>/dev/null | wc -l) files left" | tee -a "$work/uninstalls"
    # The same install with its windows shown (/SILENT: the main screen,
    # the expansion window and the wizard, played), which adds two timers
    # of one second each (the main screen and the expansion window).
    start=$(now)
    (cd "$work/set" && "$run" ./install.exe /SILENT /NORESTART "/LOG=Z:${work//\//\\}\\shown-$round.log" >/dev/null 2>&1) || echo "round $round: install.exe /SILENT exit $?"
    end=$(now)
    echo "round $round: install.exe /SILENT $(echo "$start $end" | awk "{ printf \"%.2f\", \$2 - \$1 }") s" | tee -a "$work/shown"
  done'
awk '{ gsub(/,/, ""); print $4 / $7 }' "$work/rounds" | sort -n | awk '{ ratio[NR] = $1 } END {
  m = NR % 2 ? ratio[(NR + 1) / 2] : (ratio[NR / 2] + ratio[NR / 2 + 1]) / 2
  printf "median ratio install.exe / NSIS over %d rounds: %.2f\n", NR, m }'

# Phases of the last round from install.exe's logs, silent and with its
# windows shown: the first segment to the last entry expanded, the engine's
# start to its last file, and the whole.
phases() { awk '
  function ms(line,    t) { split(substr(line, 12, 12), t, /[:.]/); return ((t[1] * 60 + t[2]) * 60 + t[3]) * 1000 + t[4] }
  NR == 1 { first = ms($0) }
  /segment #/ && !segment { segment = ms($0) }
  / expanded / { expanded = ms($0) }
  / install into / { into = ms($0) }
  / installed / { installed = ms($0) }
  { final = ms($0) }
  END { printf "phases (ms): start %d, expansion %d, wizard to engine %d, copy step %d, rest %d, whole %d\n",
        segment - first, expanded - segment, into - expanded, installed - into, final - installed, final - first }' "$1"; }
echo "silent: $(phases "$(ls "$work"/ours-*.log | tail -1)")"
echo "windows shown: $(phases "$(ls "$work"/shown-*.log | tail -1)")"
