#!/usr/bin/env bash
# Installs what is missing, builds, and runs vtcad on the example drawing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" release
"$top/build/host/vtcad" --example
