#!/usr/bin/env bash
# Builds VorlanCSV with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh --tests
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
# The printing tests print onto a PDF queue of a local print spooler.
if [[ $(id -u) -eq 0 ]]; then
    tests/start-print-spooler.sh || echo "print spooler not available; its test will say so"
else
    sudo tests/start-print-spooler.sh || echo "print spooler not available; its test will say so"
fi
cd build
ctest --output-on-failure
