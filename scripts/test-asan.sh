#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs the whole suite (unit, integration, window tests) under them. The plugin programs the
# tests start are sanitized too, so a fault in them fails the test that ran them.
#   scripts/test-asan.sh [ctest arguments...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-asan"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORVID_SANITIZE=ON "${launcher[@]}"
cmake --build "$build" -j2

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:suppressions=$here/scripts/asan-interceptors.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/asan-leaks.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
cd "$build"
start=$(date +%s)
status=0
ctest --output-on-failure -j2 --timeout 1800 "$@" || status=$?
echo "test-asan: suite took $(( $(date +%s) - start )) s"
exit "$status"
