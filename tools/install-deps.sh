#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent; needs root.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgcrypt20-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-ipafont-gothic
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
