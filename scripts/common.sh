# Sourced by the project's scripts: where the project, its build folders and
# the real test data are, and the environment of the project's Wine.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMARSH_BUILD_DIR:-$root/build}
testdata=${VELMARSH_TESTDATA:-$root/../shared/testdata}

# A quiet 32-bit Wine in the prefix $1, without Mono, Gecko or menu entries.
wine_environment() {
  export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}
