#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every
# test with ctest (the layer check, the installed tree and the .deb among them), then
# the engine and command-line tests again with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/install-deps.sh

# A comma-decimal locale, so the tests can show that numbers never depend on it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || echo "note: could not generate de_DE.UTF-8"
fi

jobs=$(nproc 2>/dev/null || echo 2)

echo "== Build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLYFORGE_WERROR=ON \
  -DPLYFORGE_BUILD_BENCH=OFF > /dev/null
cmake --build build -j "$jobs"

echo "== Tests (the desktop program's run offscreen) =="
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Sanitizer build (address, undefined): engine and command-line tests =="
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLYFORGE_SANITIZE=ON -DPLYFORGE_WERROR=ON \
  -DPLYFORGE_BUILD_BENCH=OFF -DPLYFORGE_BUILD_GUI=OFF > /dev/null
cmake --build build-sanitize -j "$jobs" --target engine_tests cli_tests plyforge-cli
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -R '^(engine|cli)\.'
