#!/usr/bin/env bash
# Builds everything and runs every test twice: in a normal build (build/) and in an
# AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/), each followed by a soak.
# Then the sound tests alone run a third time in a ThreadSanitizer build (build-tsan/): the mixer
# is the one place where two threads meet.
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

# One test program (its tests carry its name as their label) in a build of its own.
run_one_suite() {
  local dir=$1 suite=$2; shift 2
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" --target "$suite"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure -L "^${suite}\$"
}

# The soaks press every key, the screenshot key too: they play in a home of their own, so the
# screenshots and folders they make stay out of the user's.
soak_home=$(mktemp -d)
trap 'rm -rf "$soak_home"' EXIT
soak() {
  env HOME="$soak_home" XDG_CONFIG_HOME="$soak_home/config" XDG_DATA_HOME="$soak_home/data" \
    XDG_DOCUMENTS_DIR="$soak_home/documents" "$@"
}

run_suite build
# Ten simulated minutes of random play (kestrel-run --soak): the resident memory must stay flat
# after the first minute here, and in the sanitizer build nothing may leak or misbehave (a few
# seconds of wall time here, about 10 s there).
soak build/bin/kestrel-run --headless --soak 600 --seed 1
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DKESTREL_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  soak build-asan/bin/kestrel-run --headless --soak 600 --seed 1
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  run_one_suite build-tsan sound_tests -DKESTREL_SANITIZE_THREAD=ON
echo "All tests passed (normal and sanitizer builds)."
