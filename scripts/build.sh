#!/usr/bin/env bash
# Configures and builds one tree. Usage: scripts/build.sh [release|asan] (default release).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
gen=()
if command -v ninja >/dev/null; then gen=(-G Ninja); fi
case "$kind" in
  release) dir="$top/build"; opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan) dir="$top/build-asan"; opts=(-DCMAKE_BUILD_TYPE=Debug -DVTCAD_SANITIZE=ON -DVTCAD_BUILD_BENCH=OFF) ;;
  *) echo "usage: $0 [release|asan]" >&2; exit 2 ;;
esac
cmake -S "$top" -B "$dir" "${gen[@]}" "${opts[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
