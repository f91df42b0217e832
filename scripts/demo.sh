#!/usr/bin/env bash
# The main job: builds the plug-in and loads it under Wine in a recording
# host, which prints what the plug-in registered and how its menu follows a game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMARSH_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32
"$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$build/win32/bin/plugin-probe.exe"
