#!/usr/bin/env bash
# Builds everything and runs every test twice: in a normal build (build/) and in an
# AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

run_suite build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DKESTREL_SANITIZE=ON
echo "All tests passed (normal and sanitizer builds)."
