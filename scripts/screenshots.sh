#!/usr/bin/env bash
# Makes the README's screenshots into docs/images/: runs lumora-sim with
# Velmarsh.dll on scripts/screenshots.script over the demo's sample data,
# always under Xvfb (a desktop's window manager would frame the windows
# differently), and stores small PNGs without time stamps.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32

work="$build/screenshots"
rm -rf "$work"
"$root/scripts/demo-data.sh" "$work"
mkdir -p "$work/host/plugins"
cp "$build/win32/bin/lumora-sim.exe" "$work/host/"
cp "$build/win32/bin/plugins/Velmarsh.dll" "$work/host/plugins/"

SHOTS_DIR="$work" VELMARSH_URL_LOG="$work/urls.txt" env -u DISPLAY \
  "$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$work/host/lumora-sim.exe" \
  --script "$root/scripts/screenshots.script" --transcript "$work/transcript.txt" --timeout 120 \
  --site "$work/site" 2> >(grep -v "FS volume label and serial are not available" >&2)

# ImageMagick's own convert, by its full path; compressed, without the
# metadata that would change the files at every run.
convert=/usr/bin/convert
images="$root/docs/images"
mkdir -p "$images"
small=(-strip -define png:exclude-chunks=date,time -define png:compression-level=9)
# The main window cut down to its menu bar and the open menus.
"$convert" "$work/menu.png" -crop 480x250+0+0 +repage "${small[@]}" "$images/menu.png"
for shot in search-window status-window options; do
  "$convert" "$work/$shot.png" "${small[@]}" "$images/$shot.png"
done
ls -l "$images"
