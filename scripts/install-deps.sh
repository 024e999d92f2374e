#!/usr/bin/env bash
# Installs the Debian packages Plyforge builds, tests and packages with, when any is
# missing. Run by run.sh and test.sh; safe to run again.
set -euo pipefail

PLYFORGE_PACKAGES=(
  # build
  g++ cmake ninja-build pkg-config
  libeigen3-dev nlohmann-json3-dev libfast-float-dev
  # the statistics of basis values: distributions, quantiles, root finding
  libboost-math-dev
  # the desktop program: Qt Charts needs Qt OpenGL's development files, which
  # qt6-charts-dev does not pull in
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev
  # the translations: Qt's CMake support for them and lrelease
  qt6-tools-dev qt6-l10n-tools
  fonts-noto-cjk fonts-dejavu-core
  # tests: GoogleTest, the offscreen and Xvfb displays, a comma-decimal locale,
  # the desktop entry and MIME type checks
  libgtest-dev xvfb xauth locales desktop-file-utils shared-mime-info
  # the finite-element solver that checks the composite section export, and the
  # reader of the reports' PDFs
  calculix-ccx poppler-utils
  # fuzzing of the file readers (clang's libFuzzer, with its sanitizers)
  clang libfuzzer-14-dev
  # benchmarks (built on request)
  libbenchmark-dev
  # the .deb package: dpkg-shlibdeps computes its dependencies
  dpkg-dev file
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
