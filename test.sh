#!/usr/bin/env bash
# Builds everything under AddressSanitizer + UndefinedBehaviorSanitizer and runs every test.
# The exit status is the result.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j"$(nproc)" "$@"
