#!/usr/bin/env bash
# Runs the tests: installs what is missing, checks the sources' format
# (scripts/format.sh), builds both configurations, runs
# the native tests (under the sanitizers) and the Win32 tests (under Wine).
# The long comparisons and the release package's checks carry the ctest
# label "full" and run only with --full (as CI does).
# Usage: scripts/test.sh [--full]
set -euo pipefail
. "$(dirname "$0")/common.sh"
select=(-LE full)
case "${1:-}" in
  --full) select=() ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--full]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh"
"$root/scripts/format.sh" --check
"$root/scripts/build.sh"

echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure --no-tests=error "${select[@]}"
echo "== Win32 tests under Wine"
"$root/scripts/wine-session.sh" "$build/win32" \
  ctest --test-dir "$build/win32" --output-on-failure --no-tests=error "${select[@]}"
