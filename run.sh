#!/usr/bin/env bash
# Builds VorlanCSV and opens it; the file dialog starts among the samples.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
# The program alone; ./test.sh builds the tests and the benchmark.
cmake --build build -j"$(nproc)" --target vorlancsv
cd examples
exec ../build/vorlancsv "$@"
