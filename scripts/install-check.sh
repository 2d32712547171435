#!/usr/bin/env bash
# Checks the installed program as a user gets it, from the installed tree alone: installs the
# release build into a temporary DESTDIR, runs the example drawing and script with the
# installed vtcad (its bundled plug-in found from the installed tree), builds the hello-plugin
# example against the installed SDK and runs it with --load, formats the man page, then makes
# the Debian packages and runs the program unpacked from them.
# Usage: scripts/install-check.sh [BUILD_DIR] (default build/).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=/opt/vtcad-check

DESTDIR="$work/root" cmake --install "$build" --prefix "$prefix" >/dev/null
tree="$work/root$prefix"
for f in bin/vtcad lib/vtcad/libveltrace.so include/zcad/zced.h lib/cmake/vtcad/vtcadConfig.cmake \
         lib/pkgconfig/vtcad.pc share/man/man1/vtcad.1 share/doc/vtcad/README.md; do
  [ -e "$tree/$f" ] || { echo "install-check: $f was not installed" >&2; exit 1; }
done
# A build with the window brings its menu entry and icon; the entry starts the installed program.
if grep -q "Qt6Widgets_DIR:PATH=/" "$build/CMakeCache.txt"; then
  for f in share/applications/vtcad.desktop share/icons/hicolor/scalable/apps/vtcad.svg; do
    [ -e "$tree/$f" ] || { echo "install-check: $f was not installed" >&2; exit 1; }
  done
  grep -q "^Exec=vtcad --gui %f" "$tree/share/applications/vtcad.desktop" ||
    { echo "install-check: the desktop entry does not start vtcad --gui" >&2; exit 1; }
  if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$tree/share/applications/vtcad.desktop"; fi
fi

# The demo, in a folder of its own as the man page says (the script reads ../examples/).
mkdir -p "$work/demo/out"
cp -r "$tree/share/vtcad/examples" "$work/demo/"
(cd "$work/demo/out" && "$tree/bin/vtcad" --config "$work/config" ../examples/site-plan.dxf \
  -s ../examples/site-plan.scr -o site-plan-out.dxf >transcript.txt)
grep -q "Veltrace V" "$work/demo/out/transcript.txt" || { echo "install-check: Veltrace was not loaded" >&2; exit 1; }
[ -s "$work/demo/out/site-plan-out.dxf" ] && [ -s "$work/demo/out/site-plan-vertices.html" ]

# A third-party plug-in from the installed SDK (CMake package) alone; its test loads it with
# --load into the installed program.
gen=()
if command -v ninja >/dev/null; then gen=(-G Ninja); fi
cmake -S "$tree/share/vtcad/examples/hello-plugin" -B "$work/hello" "${gen[@]}" \
  -DCMAKE_PREFIX_PATH="$tree" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" >/dev/null
cmake --build "$work/hello" >/dev/null
ctest --test-dir "$work/hello" --output-on-failure >/dev/null
# The same source through pkg-config.
PKG_CONFIG_PATH="$tree/lib/pkgconfig" c++ -std=c++20 -shared -fPIC -Werror \
  "$tree/share/vtcad/examples/hello-plugin/hello.cpp" -o "$work/libhello-pc.so" \
  $(PKG_CONFIG_PATH="$tree/lib/pkgconfig" pkg-config --cflags --libs vtcad)
"$tree/bin/vtcad" --config "$work/config" --load "$work/libhello-pc.so" \
  -s "$tree/share/vtcad/examples/hello-plugin/hello.scr" | grep "LWPOLYLINE: 1" >/dev/null

# The man page formats without a warning.
warnings=$(MANWIDTH=80 man --warnings -l "$tree/share/man/man1/vtcad.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "install-check: man page: $warnings" >&2; exit 1; }

# The Debian packages: their dependencies come from the binaries; the program runs unpacked.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/deb/vtcad_*.deb)
dev=$(ls "$work"/deb/vtcad-dev_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libfreetype6 libcurl4 libedit2; do
  case "$depends" in *"$lib"*) ;; *) echo "install-check: $deb does not depend on $lib: $depends" >&2; exit 1 ;; esac
done
dpkg-deb -f "$dev" Depends | grep -q "vtcad (= " || { echo "install-check: vtcad-dev does not depend on vtcad" >&2; exit 1; }
# (grep reads to the end: -q would close the pipe on dpkg-deb.)
dpkg-deb -c "$dev" | grep "usr/include/zcad/zced.h" >/dev/null
if dpkg-deb -c "$deb" | grep "usr/include/" >/dev/null; then echo "install-check: headers in the runtime package" >&2; exit 1; fi
dpkg-deb -x "$deb" "$work/unpacked"
"$work/unpacked/usr/bin/vtcad" --config "$work/config" -s - <<<"PLDF" | grep "Veltrace V" >/dev/null
echo "install-check: the installed tree, the SDK and the Debian packages work ($(basename "$deb"), $(basename "$dev"))"
