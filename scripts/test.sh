#!/usr/bin/env bash
# Installs what is missing, builds Jarvane and runs every test: the core and
# GUI suites, the same suites built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

scripts/install-deps.sh

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

run_suites() { # build folder, junit name, extra cmake options...
  local build=$1 name=$2
  shift 2
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build" -j"$jobs"
  scripts/with-display.sh ctest --test-dir "$build" --output-on-failure | tee "$results/$name.log"
}

echo "== Test suites"
run_suites build plain

echo "== Test suites with AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
run_suites build-asan asan -DJARVANE_SANITIZE=ON -DJARVANE_BUILD_BENCH=OFF
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

echo "== Fuzzing"
scripts/fuzz.sh | tee "$results/fuzz.log"

# One closing count over everything that ran: ctest's "N tests failed out of M"
# lines and the fuzzing's "N passed, M failed".
summary=$(cat "$results"/*.log | awk '
  /tests failed out of/ { failed += $(NF - 5); total += $NF }
  /^fuzz: [0-9]+ passed, [0-9]+ failed$/ { total += $2 + $4; failed += $4 }
  END { printf "%d passed, %d failed", total - failed, failed }')
echo "total: $summary"
