#!/usr/bin/env bash
# Builds the fuzz targets (clang, ASan + UBSan) into build-fuzz/ and runs each in turn.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]    (default 600 s, every target)
# One fuzzer at a time, on one core. New inputs go to build-fuzz/corpus/<target>/ (the committed
# seeds in fuzz/corpus/ stay as they are); crashes to build-fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
shift || true
build=build-fuzz

if [ ! -f "$build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQORVID_FUZZ=ON -DQORVID_BUILD_GUI=OFF -DQORVID_BUILD_TESTS=OFF "${launcher[@]}"
fi
cmake --build "$build" -j"${FUZZ_JOBS:-2}" --target qorvid_fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

failed=0
summary=()
for t in "${targets[@]}"; do
  name="${t%_fuzz}"
  work="$build/corpus/$name" artifacts="$build/artifacts/$name"
  mkdir -p "$work" "$artifacts"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  log="$build/fuzz-$name.log"
  echo "== $name: ${seconds}s"
  start=$(date +%s)
  status=0
  # halt_on_error keeps the first report of each run readable; leaks count as findings.
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "${seeds[@]}" >"$log" 2>&1 || status=$?
  took=$(( $(date +%s) - start ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$status" -ne 0 ]; then
    failed=1
    summary+=("$name: FOUND a fault after ${took}s (see $log, $artifacts)")
    grep -m3 -E 'ERROR: |runtime error|deadly signal' "$log" || true
  else
    summary+=("$name: ${took}s, ${execs:-?} runs, no finding")
  fi
done
printf '%s\n' "${summary[@]}"
exit "$failed"
