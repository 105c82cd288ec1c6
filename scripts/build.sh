#!/usr/bin/env bash
# Configures (once) and builds into build/ with ccache. Usage: scripts/build.sh [Release|Debug] [targets...]
set -euo pipefail
cd "$(dirname "$0")/.."
TYPE="${1:-Release}"; shift || true
BUILD_DIR="${KQ_BUILD_DIR:-build}"
if [[ ! -f "$BUILD_DIR/build.ninja" ]] || ! grep -q "CMAKE_BUILD_TYPE:STRING=$TYPE" "$BUILD_DIR/CMakeCache.txt" 2>/dev/null; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$TYPE" \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
fi
# Paths below the checkout are hashed relative to the build folder, so that
# another checkout or build folder (a git worktree, KQ_BUILD_DIR) reuses the
# compiled objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
JOBS="${KQ_JOBS:-$(nproc)}"
if (($#)); then
  cmake --build "$BUILD_DIR" -j "$JOBS" --target "$@"
else
  cmake --build "$BUILD_DIR" -j "$JOBS"
fi
