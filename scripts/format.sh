#!/usr/bin/env bash
# Formats the C++ sources with clang-format and the repository's .clang-format.
# Usage: scripts/format.sh           reformat every source in place
#        scripts/format.sh --check   list the sources that differ; exit 1 if any
set -euo pipefail
. "$(dirname "$0")/common.sh"
cd "$root"

format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "format: clang-format is not installed (scripts/setup.sh installs it)" >&2
  exit 2
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t sources < <(find . -path ./build -prune -o -path ./dist -prune -o \
                           \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
fi

case "${1:-}" in
  "")
    "$format" -i --style=file "${sources[@]}"
    exit 0 ;;
  --check) ;;
  *) echo "usage: scripts/format.sh [--check]" >&2; exit 2 ;;
esac

# One run over all sources: each place that differs is a warning naming its file.
mapfile -t differ < <("$format" --style=file --dry-run "${sources[@]}" 2>&1 |
                       sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' |
                       sort -u)
if [ ${#differ[@]} -eq 0 ]; then
  echo "format: all ${#sources[@]} sources formatted"
  exit 0
fi
echo "format: these sources differ from .clang-format (run scripts/format.sh):" >&2
printf '  %s\n' "${differ[@]}" >&2
exit 1
