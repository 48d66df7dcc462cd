#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the
# demo use. Idempotent: packages already present are skipped, and apt is not
# touched at all when nothing is missing.
set -euo pipefail

native=(build-essential cmake ninja-build clang libclang-rt-14-dev clang-format
        libgtest-dev googletest libbenchmark-dev
        liblhasa-dev lhasa libarchive-dev libarchive-tools libjlha-java
        libdeflate-tools gzip
        default-jdk-headless
        mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
        xvfb xdotool imagemagick x11-utils
        liblnk-utils mtools libstb-dev
        locales
        nsis)
# locales: the source of the non-Western locale the code-page test makes.
# nsis: the peer installer of bench/install-race.sh.
# fonts-wine: Wine's own metric-compatible faces for "MS Sans Serif",
# Tahoma and Marlett; without them Wine falls back to a wider face (texts
# laid out for the 8-point dialog font re-wrap) and caption buttons show
# letters instead of their glyphs.
i386=(wine wine32:i386 wine64 fonts-wine)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${native[@]}" "${i386[@]}"; do
  is_installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
