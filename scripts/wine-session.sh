#!/usr/bin/env bash
# Runs a command with a warm, project-local Wine: creates the prefix on first
# use, keeps one wineserver alive for the whole command (so each Windows
# program starts in a fraction of a second) and stops it afterwards. Runs
# under a virtual X display when there is none.
# Usage: scripts/wine-session.sh WIN32_BUILD_DIR COMMAND...
set -euo pipefail
. "$(dirname "$0")/common.sh"
win32=$(cd "${1:?usage: wine-session.sh WIN32_BUILD_DIR COMMAND...}" && pwd); shift

if [ -z "${DISPLAY:-}" ] && [ -z "${VELMARSH_IN_XVFB:-}" ]; then
  export VELMARSH_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$win32" "$@"
fi

wine_environment "$win32/wineprefix"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

# A server left from another display would serve the wrong X server.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wineserver -p
# Wine's background services and desktop start now, detached from the pipes
# of the programs that follow, so that none of those pipes is held open.
wine cmd /c exit </dev/null >/dev/null 2>&1
wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
"$@"
