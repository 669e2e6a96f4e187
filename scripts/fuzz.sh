#!/usr/bin/env bash
# Fuzzes one target for longer than the tests do, in build-fuzz/ (clang):
#   scripts/fuzz.sh TARGET MINUTES     TARGET: reader, row, paste or layout
# An input that finds a fault is left as build-fuzz/tests/fuzz/TARGET/crash-*;
# once the fault is fixed, keep it in tests/fuzz/found/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh reader|row|paste|layout MINUTES}
minutes=${2:?usage: scripts/fuzz.sh TARGET MINUTES}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLAN_FUZZ=ON \
    -DVORLAN_FUZZ_SECONDS=$((minutes * 60))
cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$target"
cd build-fuzz && ctest -R "^fuzz_$target\$" --verbose --timeout $((minutes * 60 + 300))
