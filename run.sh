#!/usr/bin/env bash
# Installs what is missing, builds Plyforge and starts the desktop program. With no
# display it says so and runs the command-line calculator on the bundled examples.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build --target plyforge plyforge-cli

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/plyforge "$@"
fi

echo "No display is available (DISPLAY is not set): running the command-line calculator instead."
echo "To see the desktop program without a screen: xvfb-run -a build/src/plyforge"
cli=build/src/plyforge-cli
echo
echo "== Theory: examples/single-lamina.plyforge (trace follows) =="
"$cli" theory examples/single-lamina.plyforge --card build/single-lamina.inp
echo
echo "Calculation log: $(pwd)/build/src/TheoreticalLog.txt"
echo "ABAQUS material card: $(pwd)/build/single-lamina.inp"
cat build/single-lamina.inp
echo
echo "== Experiment: examples/three-tensile-tests.plyforge =="
"$cli" experiment examples/three-tensile-tests.plyforge
echo
echo "Calculation log: $(pwd)/build/src/ExperimentalLog.txt"
