#!/usr/bin/env bash
# Checks vtcad's drawing files with programs written by others.
#
#   run_outside.sh ezdxf    VTCAD WORKDIR   drawings made by ezdxf, opened and saved by vtcad,
#                                           then loaded, audited and compared by ezdxf
#   run_outside.sh corpus   VTCAD WORKDIR   every drawing of librecad-data, dxf-samples and ezdxf's,
#                                           saved by vtcad (recovered when it refuses one), read by
#                                           ezdxf strictly and through its recover with no audit error
#   run_outside.sh librecad VTCAD WORKDIR   drawings saved by vtcad, printed to PDF by LibreCAD
#
# VTCAD_SHARED (optional) is the folder holding dxf-samples/. Exit status: 0 all passed, 1 some
# failed, 77 a needed program is not installed (ctest counts that as skipped).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
mode=${1:?mode}
vtcad=${2:?vtcad program}
work=${3:?work folder}
passed=0
failed=0
failures=()

# ezdxf is a Debian package: the system Python has it, a Python of the user's own may not.
python=""
for candidate in /usr/bin/python3 python3; do
  if "$candidate" -c "import ezdxf" 2>/dev/null; then
    python=$candidate
    break
  fi
done

skip() {
  echo "SKIPPED: $1 (scripts/install-deps.sh installs it)"
  exit 77
}

# Opens $1 in vtcad and saves it as $2; the log of the run goes to $2.log.
resave() {
  mkdir -p "$(dirname "$2")"
  "$vtcad" --no-plugin --config "$work/config" "$1" -o "$2" >"$2.log" 2>&1
}

fail() {
  failed=$((failed + 1))
  failures+=("$*")
  echo "FAIL $*"
}

finish() {
  echo
  for line in "${failures[@]}"; do echo "failed: $line"; done
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit $?
}

make_drawings() {
  [ -n "$python" ] || skip "python3-ezdxf"
  rm -rf "$work/original" "$work/resaved"
  "$python" "$here/make_ezdxf_drawings.py" "$work/original" >/dev/null || {
    echo "make_ezdxf_drawings.py failed"
    exit 1
  }
}

run_ezdxf() {
  make_drawings
  for original in "$work"/original/*.dxf; do
    name=$(basename "$original")
    resaved="$work/resaved/$name"
    if ! resave "$original" "$resaved"; then
      fail "$name: vtcad could not open and save it: $(tail -n 3 "$resaved.log")"
      continue
    fi
    # ezdxf writes sound drawings: vtcad has nothing to repair or leave out.
    if [ -s "$resaved.log" ]; then
      fail "$name: vtcad reports on a sound drawing: $(head -n 1 "$resaved.log")"
      continue
    fi
    # Saving settles: the copy opened and saved again is the same file.
    if ! resave "$resaved" "$resaved.again.dxf" || ! cmp -s "$resaved" "$resaved.again.dxf"; then
      fail "$name: saving vtcad's copy again gives another file"
      continue
    fi
    if "$python" "$here/ezdxf_check.py" "$original" "$resaved" >"$resaved.check" 2>&1; then
      passed=$((passed + 1))
      head -n 1 "$resaved.check"
    else
      cat "$resaved.check"
      fail "$name: $(sed -n 2p "$resaved.check" | sed 's/^ *//')"
    fi
  done
  finish
}

run_corpus() {
  make_drawings
  mapfile -t sources < <(
    ls "$work"/original/*.dxf
    dpkg -L librecad-data 2>/dev/null | grep '\.dxf$' | sort
    if [ -n "${VTCAD_SHARED:-}" ] && [ -d "$VTCAD_SHARED/dxf-samples" ]; then
      ls "$VTCAD_SHARED"/dxf-samples/*.dxf
    fi
  )
  saved=()
  recovered=0
  for source in "${sources[@]}"; do
    # Files of the same name in different folders stay apart.
    resaved="$work/resaved/corpus/$(echo "$source" | md5sum | cut -c1-8)-$(basename "$source")"
    if ! resave "$source" "$resaved"; then
      # A damaged file is refused; what RECOVER keeps of it must be as sound.
      mkdir -p "$(dirname "$resaved")"
      if ! "$vtcad" --no-plugin --config "$work/config" --recover "$source" -o "$resaved" >"$resaved.log" 2>&1; then
        fail "$(basename "$source"): neither opened nor recovered: $(tail -n 1 "$resaved.log")"
        continue
      fi
      recovered=$((recovered + 1))
    fi
    saved+=("$resaved")
  done
  echo "${#saved[@]} drawings saved by vtcad, $recovered of them recovered"
  if "$python" "$here/ezdxf_audit.py" "${saved[@]}" >"$work/audit.txt" 2>&1; then
    passed=$((passed + ${#saved[@]}))
  else
    while IFS= read -r line; do fail "$line"; done < <(head -n -1 "$work/audit.txt")
  fi
  tail -n 1 "$work/audit.txt"
  finish
}

# LibreCAD prints one drawing to OUTDIR/<name>.pdf within SECONDS; prints the PDF's size, or
# nothing when it failed (non-zero exit, no PDF, or still busy: on a file it cannot read it
# waits forever). The drawing is centred at its own scale: fitted to the page (--fit) LibreCAD
# takes half a minute and writes 50 MB for one wide polyline.
pdf_size() {
  local dxf=$1 outdir=$2 seconds=$3 pdf
  pdf="$outdir/$(basename "${dxf%.*}").pdf"
  mkdir -p "$outdir"
  rm -f "$pdf"
  timeout -k 5 "$seconds" librecad dxf2pdf --center -t "$outdir" "$dxf" >"$pdf.log" 2>&1
  echo "exit status $?" >>"$pdf.log"
  [ -s "$pdf" ] && stat -c %s "$pdf"
}

run_librecad() {
  command -v librecad >/dev/null || skip "librecad"
  export QT_QPA_PLATFORM=offscreen
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  make_drawings
  # A new drawing as vtcad saves it: LibreCAD's PDF of nothing gives the size of a blank page.
  mkdir -p "$work/resaved"
  "$vtcad" --no-plugin --config "$work/config" -o "$work/resaved/blank.dxf" >/dev/null 2>&1 || {
    echo "vtcad could not save a new drawing"
    exit 1
  }
  blank=$(pdf_size "$work/resaved/blank.dxf" "$work/pdf/blank" 30)
  if [ -z "$blank" ]; then
    fail "blank.dxf: LibreCAD could not print vtcad's new drawing"
    finish
  fi
  # The drawings: ezdxf's, every 25th of librecad-data and the whole shared collection.
  mapfile -t sources < <(
    ls "$work"/original/*.dxf
    dpkg -L librecad-data 2>/dev/null | grep '\.dxf$' | sort | awk 'NR % 25 == 1'
    if [ -n "${VTCAD_SHARED:-}" ] && [ -d "$VTCAD_SHARED/dxf-samples" ]; then
      ls "$VTCAD_SHARED"/dxf-samples/*.dxf
    fi
  )
  skipped=0
  for source in "${sources[@]}"; do
    name=$(basename "$source")
    case "$source" in
      "$work"/original/*) group=ezdxf ;;
      /usr/share/*) group=librecad-data ;;
      *) group=shared ;;
    esac
    resaved="$work/resaved/$group/$name"
    # Damaged drawings that vtcad refuses have nothing to print.
    resave "$source" "$resaved" || continue
    # Drawings by others that LibreCAD cannot print itself tell nothing about vtcad's copy.
    original_size=$(pdf_size "$source" "$work/pdf/$group/original" 10)
    if [ -z "$original_size" ] && [ "$group" != ezdxf ]; then
      skipped=$((skipped + 1))
      continue
    fi
    size=$(pdf_size "$resaved" "$work/pdf/$group/resaved" 30)
    if [ -z "$size" ]; then
      log="$work/pdf/$group/resaved/${name%.*}.pdf.log"
      fail "$group/$name: LibreCAD did not print vtcad's copy ($(tail -n 1 "$log"))"
      continue
    fi
    # What LibreCAD draws for the original it must draw for the copy: measured by the PDF's
    # bytes beyond a blank page, which stay within a few per cent for a faithful copy.
    if [ -n "$original_size" ] && [ $(((size - blank) * 2)) -lt $((original_size - blank)) ]; then
      fail "$group/$name: LibreCAD draws less of vtcad's copy:" \
        "PDF of $size bytes, of the original $original_size, of a blank page $blank"
      continue
    fi
    passed=$((passed + 1))
  done
  echo "$skipped drawings left out: LibreCAD cannot print the original either"
  finish
}

case "$mode" in
  ezdxf) run_ezdxf ;;
  corpus) run_corpus ;;
  librecad) run_librecad ;;
  *)
    echo "usage: run_outside.sh ezdxf|corpus|librecad VTCAD WORKDIR" >&2
    exit 2
    ;;
esac
