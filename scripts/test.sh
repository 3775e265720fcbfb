#!/usr/bin/env bash
# Installs what is missing, builds Jarvane and runs every test: the core and
# GUI suites, the same suites built with AddressSanitizer and
# UndefinedBehaviorSanitizer, a bounded run of every fuzz target, a
# cross-compilation of the core library for Windows, and the Debian package
# built, installed, started and purged.
#
# Every part runs even when an earlier one fails. The closing line counts every
# test over all parts ("N passed, M failed"); a part that cannot build or
# cannot run counts as one failed test. The exit status is non-zero when
# anything failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

passed=0
failed=0
count() { # passed, failed, part's name
  passed=$((passed + $1))
  failed=$((failed + $2))
  [ "$2" -eq 0 ] || echo "-- $3: $2 failed"
}

# Counts one ctest run from its log: its "N tests failed out of M" line, or one
# failure when the run failed without one (no tests found, ctest itself broke).
count_ctest() { # log, ctest's exit status, part's name
  local line
  line=$(grep -E 'tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    count 0 1 "$3 (no test summary)"
    return
  fi
  local total=${line##* } nfailed
  nfailed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/')
  if [ "$2" -ne 0 ] && [ "$nfailed" -eq 0 ]; then
    nfailed=1
  fi
  count $((total - nfailed)) "$nfailed" "$3"
}

# Counts a part that ends with its own "NAME: N passed, M failed" line, or one
# failure when it ended without one.
count_summary() { # log, the part's exit status, NAME
  local line part_passed part_failed
  line=$(grep -E "^$3: [0-9]+ passed, [0-9]+ failed$" "$1" | tail -n 1)
  if [ -z "$line" ]; then
    count 0 1 "$3 (no summary)"
    return
  fi
  read -r _ part_passed _ part_failed _ <<<"$line"
  [ "$2" -ne 0 ] && [ "$part_failed" -eq 0 ] && part_failed=1
  count "$part_passed" "$part_failed" "$3"
}

run_suites() { # build folder, part's name, ctest options, extra cmake options...
  local build=$1 name=$2 ctest_options=$3
  shift 3
  if ! cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null ||
    ! cmake --build "$build" -j"$jobs"; then
    count 0 1 "$name build"
    return
  fi
  # shellcheck disable=SC2086 # the options are words
  scripts/with-display.sh ctest --test-dir "$build" --output-on-failure $ctest_options |
    tee "$results/$name.log"
  count_ctest "$results/$name.log" "${PIPESTATUS[0]}" "$name"
}

echo "== Installing what is missing"
scripts/install-deps.sh || count 0 1 "installing the dependencies"

echo "== Test suites"
run_suites build plain ""

echo "== Test suites with AddressSanitizer and UndefinedBehaviorSanitizer (black-box tests left out)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
run_suites build-asan asan "-LE blackbox" -DJARVANE_SANITIZE=ON -DJARVANE_BUILD_BENCH=OFF
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

echo "== Fuzzing"
scripts/fuzz.sh | tee "$results/fuzz.log"
count_summary "$results/fuzz.log" "${PIPESTATUS[0]}" fuzz

echo "== Core library cross-compiled for Windows (mingw-w64)"
# The *_win.cpp files are built nowhere else; warnings count as failures.
if cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DJARVANE_BUILD_GUI=OFF -DJARVANE_BUILD_TESTS=OFF -DJARVANE_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=-Werror "${launcher[@]}" >/dev/null &&
  cmake --build build-mingw -j"$jobs"; then
  count 1 0 "Windows build"
else
  count 0 1 "Windows build"
fi

echo "== The Debian package: built, checked, installed, started and purged"
tests/package/package_test.sh build | tee "$results/package.log"
count_summary "$results/package.log" "${PIPESTATUS[0]}" package

echo
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
