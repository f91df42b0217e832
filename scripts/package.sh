#!/usr/bin/env bash
# The release package of the plug-in: builds Velmarsh.dll and players.exe in
# a Release configuration (optimised; build/release-win32), strips them and
# writes dist/velmarsh-VERSION-win32.zip with the two, the user guide (the
# README's "Using the plug-in", with its pictures) and the licence.
# Usage: scripts/package.sh [--out FOLDER]    (default: dist)
set -euo pipefail
. "$(dirname "$0")/common.sh"
out=$root/dist
case "${1:-}" in
  --out) out=${2:?usage: scripts/package.sh [--out FOLDER]} ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--out FOLDER]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh"
dir=$build/release-win32
if [ ! -f "$dir/build.ninja" ]; then
  mkdir -p "$build"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log" >&2; exit 1; }
fi
cmake --build "$dir" -j "$(nproc)" --target Velmarsh players -- --quiet

version=$(sed -n 's/^project(Velmarsh VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
name=velmarsh-$version-win32
stage=$dir/stage
rm -rf "$stage"
mkdir -p "$stage/$name/images" "$out"
i686-w64-mingw32-strip --strip-all -o "$stage/$name/Velmarsh.dll" "$dir/bin/plugins/Velmarsh.dll"
i686-w64-mingw32-strip --strip-all -o "$stage/$name/players.exe" "$dir/bin/players.exe"
cp "$root/LICENSE" "$stage/$name/LICENSE.txt"
{
  echo "# Velmarsh $version"
  echo
  echo "\`Velmarsh.dll\` is a plug-in for the chess program Lumora. It keeps a player"
  echo "database built from FIDE's rating list and adds PGN header tags about the"
  echo "players (FIDE ID, title, Elo, sex, federation) to the host's games."
  echo "\`players.exe\` reads and searches the same player database from the command"
  echo "line (\`players.exe\` without arguments prints its usage)."
  echo
  # The README's user part, up to the next section, its pictures beside it.
  sed -n '/^## Using the plug-in/,/^## /p' "$root/README.md" | sed '$d' |
    sed -e '1s/.*/## Using the plug-in/' -e 's#docs/images/#images/#g' \
        -e '/^The screenshots are made/,/^$/d'
} > "$stage/$name/USER-GUIDE.md"
grep -o 'images/[a-z-]*\.png' "$stage/$name/USER-GUIDE.md" | sort -u |
  while read -r image; do cp "$root/docs/$image" "$stage/$name/images/"; done

zip=$out/$name.zip
rm -f "$zip"
(cd "$stage" && zip -qrX "$zip" "$name")
echo "package: $zip ($(wc -c <"$stage/$name/Velmarsh.dll") bytes Velmarsh.dll)"
