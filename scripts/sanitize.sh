#!/usr/bin/env bash
# Builds a second tree, build-asan, with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole test suite in it (Qt on the
# offscreen platform). The first report of either fails the run. Needs the
# packages scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DHALVORN_SANITIZE=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
cmake --build build-asan

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=0:detect_stack_use_after_return=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks inside the system's Qt, fontconfig and GL libraries (caches kept
# until exit) are not ours; leaks of the program's own code still fail.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure
