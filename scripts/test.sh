#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both configurations, runs
# the native tests (under the sanitizers) and the Win32 tests (under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMARSH_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure --no-tests=error
echo "== Win32 tests under Wine"
"$root/scripts/wine-session.sh" "$build/win32" \
  ctest --test-dir "$build/win32" --output-on-failure --no-tests=error
