#!/usr/bin/env bash
# Configures and builds one tree with warnings as errors. Usage: scripts/build.sh [release|asan]
# (default release). The release tree is built by GCC, the sanitizer tree by Clang, so the
# suite covers both compilers.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
gen=()
if command -v ninja >/dev/null; then gen=(-G Ninja); fi
case "$kind" in
  release)
    dir="$top/build"
    compilers=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++)
    opts=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan)
    dir="$top/build-asan"
    compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    opts=(-DCMAKE_BUILD_TYPE=Debug -DVTCAD_SANITIZE=ON -DVTCAD_BUILD_BENCH=OFF) ;;
  *) echo "usage: $0 [release|asan]" >&2; exit 2 ;;
esac
# A tree configured earlier with another compiler cannot switch in place.
if [ -f "$dir/CMakeCache.txt" ] && ! grep -q "CMAKE_CXX_COMPILER:[A-Z]*=.*${compilers[1]##*=}\$" "$dir/CMakeCache.txt"; then
  rm -rf "$dir"
fi
cmake -S "$top" -B "$dir" "${gen[@]}" "${compilers[@]}" -DVTCAD_WERROR=ON "${opts[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
