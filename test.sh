#!/usr/bin/env bash
# Builds VorlanCSV with its tests and runs every test, with Qt 5, with Qt 6 and
# with Qt 5 in a checking build.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh --tests
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
# The printing tests print onto PDF queues of the local print spooler; when
# the tests end, the spooler is left as it was found.
sudo=$([[ $(id -u) -eq 0 ]] || echo sudo)
spooler_state=$PWD/build/print-spooler.state
trap '$sudo tests/print-spooler.sh stop "$spooler_state"' EXIT
$sudo tests/print-spooler.sh start "$spooler_state" || echo "print spooler not available; its tests will say so"
# Verbose, so that the log shows every test row.
(cd build && ctest --verbose)

# Every test once more built with Qt 6.
started=$SECONDS
cmake -S . -B build-qt6 -DCMAKE_BUILD_TYPE=Release -DVORLAN_QT_MAJOR=6
cmake --build build-qt6 -j"$(nproc)"
(cd build-qt6 && ctest --verbose)
echo "Qt 6 build and tests: $((SECONDS - started)) s"

# Every test once more in a checking build with AddressSanitizer (leaks
# included) and UndefinedBehaviorSanitizer; any finding fails the test.
started=$SECONDS
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVORLAN_SANITIZE=ON
cmake --build build-asan -j"$(nproc)"
(cd build-asan && ctest --verbose)
echo "sanitizer build and tests: $((SECONDS - started)) s"
