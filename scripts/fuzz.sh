#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ and runs each for a bounded
# time; fails when any of them crashes, leaks, trips a sanitizer or hangs.
#
# Usage: scripts/fuzz.sh [target...]        (default: every fuzz/*_fuzz.cpp)
# Environment:
#   FUZZ_SECONDS      time per target (default 60)
#   FUZZ_BUILD_DIR    build tree (default build-fuzz/ in the checkout)
#   VTCAD_SHARED      folder holding dxf-samples/ (default ../shared beside the checkout)
# Inputs that fail are kept in $FUZZ_BUILD_DIR/artifacts/<target>/ (crash-*, leak-*,
# timeout-*, oom-*); rerun one with: build-fuzz/fuzz/<target> <file>.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
dir=${FUZZ_BUILD_DIR:-$top/build-fuzz}
shared=${VTCAD_SHARED:-$top/../shared}

# CI clones into a new folder each time: paths relative to the checkout let ccache reuse the
# instrumented objects of an earlier run.
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=1

gen=()
if command -v ninja >/dev/null; then gen=(-G Ninja); fi
# -O1 with line tables: what libFuzzer is usually built with, and the instrumented host builds
# in a minute and a half on two cores. Assertions stay on.
CC=clang CXX=clang++ cmake -S "$top" -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=None \
  "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" -DVTCAD_WERROR=ON -DVTCAD_BUILD_FUZZ=ON -DVTCAD_BUILD_BENCH=OFF >/dev/null

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in "$top"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"

seed_dirs=("$top/fuzz/seeds")
if [ -d "$shared/dxf-samples" ]; then
  seed_dirs+=("$shared/dxf-samples")
else
  echo "fuzz.sh: $shared/dxf-samples not found; fuzzing from fuzz/seeds only" >&2
fi

failed=()
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"        # grows across local runs; the seeds are only read
  artifacts="$dir/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  log="$dir/$target.log"
  # A target with a seed folder of its own (fuzz/seeds/<name without _fuzz>/) starts from that
  # alone, without the DXF dictionary: the picture decoders.
  own_seeds="$top/fuzz/seeds/${target%_fuzz}"
  if [ -d "$own_seeds" ]; then
    inputs=("$own_seeds")
    dict=()
  else
    inputs=("${seed_dirs[@]}")
    dict=("-dict=$top/fuzz/dxf.dict")
  fi
  echo "fuzz.sh: $target for ${seconds}s (log: $log)"
  # -rss_limit_mb: a 200 kB input that needs 2 GB is a fault too.
  if "$dir/fuzz/$target" -max_total_time="$seconds" -max_len=200000 -timeout=10 -rss_limit_mb=2048 \
    "${dict[@]}" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "${inputs[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$log" | sed "s/^/  /" || true
  else
    failed+=("$target")
    tail -n 60 "$log" >&2
    echo "fuzz.sh: $target FAILED; reproducers:" >&2
    ls -1 "$artifacts" | sed "s|^|  $artifacts/|" >&2
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failures in: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds}s each without a fault"
