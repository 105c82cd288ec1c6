#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh
scripts/build.sh Release
cd build
ctest --output-on-failure -j "$(nproc)" 2>&1 | tee ctest.log
