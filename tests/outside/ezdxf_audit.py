#!/usr/bin/env python3
"""Reads drawings vtcad saved with ezdxf, strictly and through its recover module.

Usage: ezdxf_audit.py FILE...

A file passes when ezdxf.readfile (which refuses structure errors) loads it and the audit of
ezdxf.recover.readfile finds no errors. Prints one line per failing file and exits 1 when
there is any; the last line counts the files.
"""
import sys

import ezdxf
import ezdxf.recover


def problem(path):
    try:
        ezdxf.readfile(path)
    except Exception as error:  # ezdxf raises DXFStructureError and friends
        return f"readfile: {type(error).__name__}: {error}"
    try:
        _, auditor = ezdxf.recover.readfile(path)
    except Exception as error:
        return f"recover: {type(error).__name__}: {error}"
    if auditor.has_errors:
        return "audit: " + "; ".join(str(e.message) for e in auditor.errors[:3])
    return None


def main(paths):
    failed = 0
    for path in paths:
        what = problem(path)
        if what:
            failed += 1
            print(f"{path}: {what}")
    print(f"{len(paths) - failed} of {len(paths)} drawings read by ezdxf without errors")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
