#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, the browser
# tests (tests/e2e, headless Chromium) included. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
export KQ_WITH_BROWSER=1
scripts/install_deps.sh
npm ci --prefer-offline --no-audit --no-fund --loglevel=error
scripts/build.sh Release
cd build
ctest --output-on-failure -j "$(nproc)" 2>&1 | tee ctest.log
