#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each one for a bounded time, seeded
# from tests/fuzz/corpus/<target>/. The repository's corpora are not changed.
# JARVANE_FUZZ_SECONDS sets the time per target (default 45).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${JARVANE_FUZZ_SECONDS:-45}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DJARVANE_FUZZ=ON -DJARVANE_BUILD_GUI=OFF \
  -DJARVANE_BUILD_TESTS=OFF -DJARVANE_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"

# The targets write their inputs to files: a memory file system keeps that fast.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp"
export TMPDIR=$work/tmp

run_one() {
  local name=$1
  mkdir -p "$work/corpus/$name" "$work/artifacts/$name"
  cp -r "tests/fuzz/corpus/$name/." "$work/corpus/$name/"
  "build-fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/$name/" \
    "$work/corpus/$name" >"$work/$name.log" 2>&1
}

names=()
for source in tests/fuzz/fuzz_*.cpp; do
  n=$(basename "$source" .cpp)
  names+=("${n#fuzz_}")
done

failed=0
pids=()
for name in "${names[@]}"; do
  run_one "$name" &
  pids+=($!)
  # As many at a time as there are cores.
  if [ ${#pids[@]} -ge "$(nproc)" ]; then
    wait "${pids[0]}" || true
    pids=("${pids[@]:1}")
  fi
done
wait || true

passed=0
for name in "${names[@]}"; do
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log" | tail -n 1)
  if ls "$work/artifacts/$name/"* >/dev/null 2>&1 || ! grep -q '^Done ' "$work/$name.log"; then
    echo "fuzz_$name: FAILED after ${runs:-?} executions"
    tail -n 40 "$work/$name.log"
    failed=$((failed + 1))
  else
    echo "fuzz_$name: ${runs} executions in ${seconds} s, nothing found"
    passed=$((passed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
