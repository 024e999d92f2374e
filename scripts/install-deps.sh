#!/usr/bin/env bash
# Installs the Debian packages Plyforge builds and tests with, when any is missing.
# Sourced or run by run.sh and test.sh; safe to run again.
set -euo pipefail

PLYFORGE_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libeigen3-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-charts-dev qt6-svg-dev libgl-dev
  fonts-noto-cjk fonts-dejavu-core
  xvfb xauth
  locales
)

missing=()
for package in "${PLYFORGE_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
