#!/usr/bin/env bash
# Installs what is missing, builds Plyforge and runs the command-line calculator on
# the bundled one-lamina example, then on the eight-ply quasi-isotropic laminate.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build --target plyforge-cli

cli=build/src/plyforge-cli
echo
echo "== Theory: examples/single-lamina.plyforge (trace follows) =="
"$cli" theory examples/single-lamina.plyforge --card build/single-lamina.inp
echo
echo "Calculation log: $(pwd)/build/src/TheoreticalLog.txt"
echo "ABAQUS material card: $(pwd)/build/single-lamina.inp"
cat build/single-lamina.inp
echo
echo "== Experiment: examples/three-specimens.plyforge =="
"$cli" experiment examples/three-specimens.plyforge
echo
echo "Calculation log: $(pwd)/build/src/ExperimentalLog.txt"
