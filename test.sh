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
# Verbose, so that the log shows every test row: the hostile files, the
# number of random tables, the failed save and the display check.
(cd build && ctest --verbose)

# Every test once more in a checking build with AddressSanitizer (leaks
# included) and UndefinedBehaviorSanitizer; any finding fails the test.
started=$SECONDS
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVORLAN_SANITIZE=ON
cmake --build build-asan -j"$(nproc)"
(cd build-asan && ctest --verbose)
echo "sanitizer build and tests: $((SECONDS - started)) s"
