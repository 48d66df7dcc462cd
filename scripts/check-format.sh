#!/usr/bin/env bash
# check-format.sh [PATH...]: checks that the C++ sources (tracked by git and
# new ones not yet added, below the given paths or the whole tree) are
# formatted as the repository's .clang-format says. Lists the files that are
# not and fails; `clang-format -i FILE` formats one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
if [ $# -eq 0 ]; then set -- .; fi
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- "$@" |
                     grep -E '\.(cc|h|cpp|hpp)$' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'check-format: not formatted: %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
