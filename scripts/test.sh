#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite twice: as built for release (GCC),
# then under AddressSanitizer + UndefinedBehaviorSanitizer (Clang); checks the installed tree,
# the plug-in SDK and the Debian packages (scripts/install-check.sh); then fuzzes the file
# readers (DXF, settings, pictures, metafiles) for a bounded time (scripts/fuzz.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/check-format.sh"
"$top/scripts/build.sh" release
ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)"
"$top/scripts/install-check.sh" "$top/build"
"$top/scripts/build.sh" asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$top/build-asan" --output-on-failure -j"$(nproc)"
# The file readers on arbitrary bytes, time-bounded (FUZZ_SECONDS per target).
"$top/scripts/fuzz.sh"
echo "test.sh: all tests passed (release and sanitizer builds, the installed tree, bounded fuzzing)"
