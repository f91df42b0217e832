#!/usr/bin/env bash
# Configures and builds both configurations: build/native (Linux, sanitizers)
# and build/win32 (MinGW-w64 i686). Usage: scripts/build.sh [native|win32]...
set -euo pipefail
. "$(dirname "$0")/common.sh"
configs=("$@"); [ ${#configs[@]} -eq 0 ] && configs=(native win32)
# ccache, where installed, shares objects between clones and worktrees of
# the project: paths under the root are hashed relative to it.
launcher=()
if command -v ccache >/dev/null; then
  ccache=("env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER="${ccache[0]}" -DCMAKE_CXX_COMPILER_LAUNCHER="${ccache[0]}")
fi

for config in "${configs[@]}"; do
  dir="$build/$config"
  if [ ! -f "$dir/build.ninja" ]; then
    mkdir -p "$build"
    args=(-S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}")
    [ "$config" = win32 ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake")
    cmake "${args[@]}" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log" >&2; exit 1; }
  fi
  cmake --build "$dir" -j "$(nproc)" -- --quiet
done
