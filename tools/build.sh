#!/usr/bin/env bash
# Configures and builds both launchers: the 32-bit one in BUILD, the 64-bit
# one in BUILD/x64. A tree whose tests this machine cannot run builds only
# its shipped executables (the bare launcher and the demo installer).
#   build.sh BUILD JOBS [TEST_ARCH] [CMAKE_FLAGS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1; jobs=$2; arch=${3:-auto}; flags=${4:-}
. "$top/tools/launchers.sh"
export WINE32_NOTE="$build/.wine32-missing"
choose_launchers "$arch"

# A compiler cache, where the machine has one, makes a rebuild of unchanged
# sources (a fresh clone, the other tree's shared tests) a matter of
# seconds. Paths below the source tree are hashed relative to it, so every
# clone shares the cache.
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=true
  flags="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache $flags"
fi

build_tree() {  # build_tree DIR TOOLCHAIN FULL
  local dir=$1 toolchain=$2 full=$3
  # The demo installer is made by the tree's own SetupBuilder under Wine
  # where this machine runs that tree's programs.
  local demo=ON
  [ "$full" = yes ] || demo=OFF
  # shellcheck disable=SC2086
  cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain" -DSETUP_DEMO_WITH_BUILDER=$demo \
        $flags >/dev/null
  if [ "$full" = yes ]; then cmake --build "$dir" -j "$jobs"
  else cmake --build "$dir" -j "$jobs" --target SetupLauncher SetupBuilder demo_setup; fi
}
build_tree "$build" mingw-i686.cmake "$TEST_X86"
build_tree "$build/x64" mingw-x86_64.cmake "$TEST_X64"
