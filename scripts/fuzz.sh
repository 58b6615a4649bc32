#!/usr/bin/env bash
# Runs every fuzz target (or those named in FUZZ_TARGETS, blank-separated)
# for SECONDS each, default 60, one after the other, under AddressSanitizer
# and UndefinedBehaviorSanitizer. Needs clang; the build goes to build/fuzz.
#
# New inputs the fuzzer finds go to build/fuzz/corpus/<target>/, crashes,
# leaks, time-outs and out-of-memory inputs to build/fuzz/findings/ (a run
# goes on past time-outs and out-of-memory inputs, and stops at a crash). Once a
# finding is fixed, copy it into fuzz/corpus/<target>/ so that make test
# replays it from then on. The last line of each run gives its executions.
#
#   scripts/fuzz.sh 600                          every target for ten minutes
#   FUZZ_TARGETS="diagram render" scripts/fuzz.sh 60
#   FUZZ_JOBS=2 scripts/fuzz.sh 600             two targets at once
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz

bash scripts/install-deps.sh clang libclang-rt-14-dev

if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DKORVIMO_SANITIZE=ON -DKORVIMO_TESTS=OFF -DKORVIMO_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
fi
cmake --build "$build" --target fuzz_targets korvimo_data -j "${FUZZ_BUILD_JOBS:-$(nproc)}"

targets=${FUZZ_TARGETS:-$(for f in fuzz/targets/*.cpp; do basename "$f" .cpp; done)}
mkdir -p "$build/findings" "$build/logs"

run_one() {
  local name=$1
  mkdir -p "$build/corpus/$name"
  # Qt needs no display; leaks of Qt's one-time caches are no findings.
  local status=0
  QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/bin/fuzz_$name" "$build/corpus/$name" "fuzz/corpus/$name" \
      -fork=1 -ignore_ooms=1 -ignore_timeouts=1 \
      -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -max_len=262144 \
      -artifact_prefix="$build/findings/$name-" \
      >"$build/logs/$name.log" 2>&1 || status=$?
  # Fork mode goes on past out-of-memory and time-out inputs (they are kept
  # in the findings all the same) and stops at the first crash.
  local execs
  execs=$(grep -o '^#[0-9]*' "$build/logs/$name.log" | tail -1 | tr -d '#')
  echo "$name: exit $status, ${execs:-?} executions (log $build/logs/$name.log)"
  return $status
}

failed=0
jobs=${FUZZ_JOBS:-1}
running=0
for t in $targets; do
  if [ "$jobs" -le 1 ]; then
    run_one "$t" || failed=1
  else
    run_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n || failed=1
      running=$((running - 1))
    fi
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
