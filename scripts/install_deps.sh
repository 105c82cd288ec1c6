#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the workstation need.
# Idempotent: does nothing (and needs no network) when everything is present.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build ccache pkg-config git
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libyaml-cpp-dev libcpp-httplib-dev
  libboost-dev libsodium-dev libicu-dev
  postgresql-15 libpq-dev
  libcairo2-dev libpango1.0-dev fonts-wqy-microhei poppler-utils
  libcups2-dev cups-daemon cups-client
)
if [[ "${KQ_WITH_BROWSER:-0}" == "1" ]]; then
  # The browser tests: Debian's Chromium, and Node.js with npm unless a node
  # and an npm are already there (another packaging of Node.js brings its own
  # npm, which Debian's npm package would conflict with).
  # ca-certificates: npm fetches packages over HTTPS.
  PACKAGES+=(chromium ca-certificates)
  command -v node >/dev/null 2>&1 || PACKAGES+=(nodejs)
  command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
