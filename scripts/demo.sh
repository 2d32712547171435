#!/usr/bin/env bash
# Installs what is missing, builds, opens the example drawing, runs the example script on it
# and saves the result as build/site-plan-out.dxf.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" release
# The coordinate list the script writes lands in the working folder: build/.
cd "$top/build"
"$top/build/host/vtcad" --config "$top/build/demo-config" "$top/examples/site-plan.dxf" \
  -s "$top/examples/site-plan.scr" -o "$top/build/site-plan-out.dxf"
echo "demo.sh: the result is in build/site-plan-out.dxf, the coordinate list in build/site-plan-vertices.html"
