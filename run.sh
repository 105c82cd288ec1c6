#!/usr/bin/env bash
# The main job: installs what is missing, builds (Release) and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh
scripts/build.sh Release kq_svc_309
BIN=build/kq_svc_309
"$BIN" --help
echo
echo "Sample conversion: $BIN upper-je 12345678.9 100000 -- -0.5"
"$BIN" upper-je 12345678.9 100000 -- -0.5
