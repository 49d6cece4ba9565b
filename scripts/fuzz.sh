#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan (in build-fuzz) and runs
# each for a while on a working copy of its starting inputs (fuzz/corpus):
#   scripts/fuzz.sh [SECONDS] [TARGET...]    (default: 600 seconds, every target)
# CI runs scripts/fuzz.sh 10. Inputs that crash, leak or hang are kept in
# build-fuzz/findings/<target>/; a run with any finding exits with 1. Replay one with
#   build-fuzz/fuzz/fuzz_<target> build-fuzz/findings/<target>/<file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(profile conf config descriptor langconfig macro gunfile report)

dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOUSECFG_FUZZ=ON \
  -DMOUSECFG_SANITIZE=ON -DMOUSECFG_TESTS=OFF >/dev/null
cmake --build "$dir" --target "${targets[@]/#/fuzz_}" -j"$(nproc)"
echo "fuzz: built in ${SECONDS}s"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
export QT_QPA_PLATFORM=offscreen
failed=()
for t in "${targets[@]}"; do
  corpus=$dir/corpus/$t
  findings=$dir/findings/$t
  mkdir -p "$corpus" "$findings"
  log=$dir/findings/$t.log
  # The working corpus grows from run to run; the seeds in the repository stay as they are.
  started=$SECONDS
  if "$dir/fuzz/fuzz_$t" "$corpus" "fuzz/corpus/$t" -max_total_time="$seconds" -timeout=20 \
    -rss_limit_mb=3072 -max_len=16384 -print_final_stats=1 -artifact_prefix="$findings/" \
    >"$log" 2>&1; then
    status=ok
  else
    status=FINDING
    failed+=("$t")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  printf 'fuzz_%-11s %-7s %10s runs in %ss  (%s)\n' "$t" "$status" "${runs:-?}" \
    "$((SECONDS - started))" "$log"
done
echo "fuzz: built and ran in ${SECONDS}s"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}; the inputs are in $dir/findings/" >&2
  for t in "${failed[@]}"; do
    grep -m1 -E "ERROR|runtime error|deadly signal|timeout" "$dir/findings/$t.log" >&2 || true
  done
  exit 1
fi
