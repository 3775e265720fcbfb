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
  scripts/with-display.sh ctest --test-dir "$build" --output-on-failure \
    --output-junit "$results/$name.xml"
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
scripts/fuzz.sh

count() { # attribute name: the sum over the suites' JUnit reports
  grep -ho "<testsuite [^>]*" "$results"/*.xml | grep -o " $1=\"[0-9]*\"" | grep -o '[0-9]*' |
    awk '{ s += $1 } END { print s + 0 }'
}
total=$(count tests)
failed=$(( $(count failures) + $(count errors) ))
echo "all suites: $((total - failed)) passed, $failed failed"
