#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every
# test with ctest (the layer check, the installed tree and the .deb among them), then
# the engine and command-line tests again with AddressSanitizer and UBSan, then fuzzes
# the file readers, the number rule and the whole pipeline from a project to its results
# for 20 seconds each (libFuzzer, the same sanitizers).
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

echo "== Fuzzing (clang, libFuzzer, address, undefined): 20 s for each target =="
# Warnings are the g++ builds' business: clang has some of its own, not findings.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLYFORGE_FUZZ=ON \
  -DPLYFORGE_WERROR=OFF -DPLYFORGE_BUILD_BENCH=OFF -DPLYFORGE_BUILD_GUI=OFF > /dev/null
cmake --build build-fuzz -j "$jobs" --target projectreader_fuzz readings_fuzz numberrule_fuzz pipeline_fuzz
# Every input a fuzzer ever failed on is kept under tests/data/fuzz/TARGET and replayed
# first, so an old finding fails at once whatever the random search does. Seeds then
# come straight from those, the examples and the test data (8 KB of each at most, for
# many runs); what the fuzzer finds new goes to build-fuzz/corpus, a finding to
# build-fuzz/artifacts and a failure: keep it under tests/data/fuzz/TARGET with the fix.
fuzz() {
  local target=$1; shift
  local binary="build-fuzz/tests/fuzz/${target}_fuzz" findings="tests/data/fuzz/$target"
  mkdir -p "build-fuzz/corpus/$target" build-fuzz/artifacts
  echo "-- $target"
  local found=("$findings"/*)
  if [ -e "${found[0]}" ] && ! "$binary" -timeout=10 -rss_limit_mb=2048 "${found[@]}" > "build-fuzz/$target.replay.log" 2>&1; then
    echo "an earlier finding fails again:"
    tail -n 40 "build-fuzz/$target.replay.log"
    return 1
  fi
  if ! "$binary" -max_total_time=20 -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
      -artifact_prefix=build-fuzz/artifacts/ "build-fuzz/corpus/$target" "$findings" "$@" > "build-fuzz/$target.log" 2>&1; then
    tail -n 40 "build-fuzz/$target.log"
    return 1
  fi
  tail -n 1 "build-fuzz/$target.log"
}
fuzz projectreader examples tests/data/projects
fuzz readings examples tests/data/readings
fuzz numberrule tests/data/readings
fuzz pipeline examples tests/data/projects
