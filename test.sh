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
trap '$sudo scripts/print-spooler.sh stop "$spooler_state"' EXIT
$sudo scripts/print-spooler.sh start "$spooler_state" || echo "print spooler not available; its tests will say so"
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

# The fuzz targets, fuzzed for 15 s each from their corpus in a build of their
# own with clang and libFuzzer (the replays of their inputs ran above).
if command -v clang++ >/dev/null; then
    started=$SECONDS
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLAN_FUZZ=ON \
        -DVORLAN_FUZZ_SECONDS=15
    cmake --build build-fuzz -j"$(nproc)" --target fuzz_reader fuzz_row fuzz_paste fuzz_layout
    (cd build-fuzz && ctest --verbose)
    echo "fuzz build and runs: $((SECONDS - started)) s"
else
    echo "clang not installed: the fuzz targets only replayed their inputs"
fi
