#!/usr/bin/env bash
# Creates the project's Wine prefix (32-bit, quiet, no Mono or Gecko, Wine's
# fonts, X11 windows unmanaged so that hiding one never waits for a window
# manager, web addresses handed to a recorder). Does nothing when it exists.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
[ -f "$prefix/.velmarsh-ready" ] && exit 0
. "$(dirname "$0")/common.sh"

wine_environment "$prefix"
mkdir -p "$prefix"
wineboot -u </dev/null >/dev/null 2>&1 || true
wineserver -w
mkdir -p "$prefix/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ \
  /d "$root/scripts/record-url.sh" /f </dev/null >/dev/null 2>&1
wineserver -w
touch "$prefix/.velmarsh-ready"
