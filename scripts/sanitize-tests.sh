#!/bin/sh
# Builds Quarnet with AddressSanitizer and UndefinedBehaviorSanitizer (g++) in
# its own folder, build-asan, and runs the whole test suite there. Any memory
# error, leak of our own or undefined behaviour stops the test that met it,
# with a stack trace, and makes this script fail.
#
# Usage, from anywhere inside the repository:
#   scripts/sanitize-tests.sh [extra ctest arguments, e.g. -R Soak]
#
# Leaks inside third-party libraries (Qt, fontconfig, ...) that are left at
# exit are listed in tests/robustness/lsan-suppressions.txt; our own code is
# never suppressed. Benchmarks are not built.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-asan"
jobs=$(nproc 2>/dev/null || echo 2)
start=$(date +%s)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUARNET_SANITIZE=ON -DQUARNET_BUILD_BENCH=OFF -DQUARNET_FUZZ=OFF
cmake --build "$build" -j"$jobs"

# halt_on_error: the first finding ends the test; detect_leaks is on by
# default on Linux and stated here for the record.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/robustness/lsan-suppressions.txt:print_suppressions=0"

status=0
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 900 "$@" || status=$?
echo "sanitize-tests: $(( $(date +%s) - start )) s, ctest exit status $status"
exit $status
