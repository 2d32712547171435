#!/usr/bin/env python3
"""End-to-end checks of the vtcad program: options, exit status, scripts, saving.

Run by ctest with VTCAD (the program) and VTCAD_TEST_PLUGIN (a plug-in file) in the
environment. The saved drawings are read back with ezdxf, an independent DXF reader.
"""
import os
import pty
import re
import select
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import ezdxf
import ezdxf.recover

VTCAD = os.environ["VTCAD"]
PLUGIN = os.environ.get("VTCAD_TEST_PLUGIN", "")
# The application name of a plug-in file: its name without "lib" and ".so".
APP = os.path.basename(PLUGIN).removeprefix("lib").removesuffix(".so")


class Run:
    def __init__(self, proc):
        self.status = proc.returncode
        self.out = proc.stdout
        self.err = proc.stderr


class CliTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.config = os.path.join(self.dir.name, "config")

    def tearDown(self):
        self.dir.cleanup()

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def script(self, name, text):
        path = self.path(name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def vtcad(self, *args, stdin=None, plugin=False):
        command = [VTCAD, "--config", self.config]
        if not plugin:
            command.append("--no-plugin")
        command += list(args)
        proc = subprocess.run(command, input=stdin, capture_output=True, text=True, timeout=120)
        return Run(proc)

    def entities(self, path):
        doc = ezdxf.readfile(path)
        return [e.dxftype() for e in doc.modelspace()]

    def test_the_man_page_names_every_option_of_the_help(self):
        usage = self.vtcad("--help").out
        options = {word.rstrip(",") for word in usage.split() if word.startswith("-") and len(word) > 1}
        self.assertIn("--script", options)
        page = os.path.join(os.path.dirname(__file__), "..", "..", "host", "app", "vtcad.1")
        with open(page, encoding="utf-8") as f:
            text = f.read().replace("\\-", "-")
        for option in sorted(options):
            self.assertIn(option, text, "the man page does not mention " + option)

    def test_usage_errors_exit_2(self):
        self.assertEqual(self.vtcad("--bogus").status, 2)
        self.assertEqual(self.vtcad("-s").status, 2)
        self.assertEqual(self.vtcad("a.dxf", "b.dxf").status, 2)
        run = self.vtcad("-s", self.path("missing.scr"))
        self.assertEqual(run.status, 2)
        self.assertIn("cannot read script", run.err)

    def test_a_drawing_that_cannot_be_opened_or_saved_exits_1(self):
        self.assertEqual(self.vtcad(self.path("missing.dxf")).status, 1)
        run = self.vtcad("-o", os.path.join(self.path("no-such-folder"), "out.dxf"))
        self.assertEqual(run.status, 1)

    def test_a_damaged_drawing_is_refused_and_recover_opens_what_can_be_read(self):
        # A drawing cut off inside its TABLES section (its entities gone), with a coordinate
        # that is no number: opening it as if it were sound would lose half of it unnoticed.
        whole = self.path("whole.dxf")
        made = self.vtcad("-s", self.script("w.scr", "CIRCLE 0,0 1\nLINE 0,0 5,5\n\n"), "-o", whole)
        self.assertEqual(made.status, 0, made.err)
        with open(whole, "rb") as f:
            text = f.read()
        tables = text.index(b"TABLES\r\n")
        x = text.index(b" 10\r\n", tables) + len(b" 10\r\n")
        damaged = text[:x] + b"not-a-number" + text[text.index(b"\r\n", x):]
        damaged = damaged[:damaged.index(b"AcDbLayerTableRecord", tables)]
        bad = self.path("bad.dxf")
        with open(bad, "wb") as f:
            f.write(damaged)

        run = self.vtcad(bad, "-o", bad)
        self.assertEqual(run.status, 1)
        self.assertRegex(run.err, r"was not opened: line \d+: ")
        self.assertIn("--recover", run.err)
        # A script's OPEN fails the same way and the open drawing stays.
        out = self.path("out.dxf")
        run = self.vtcad("-s", self.script("o.scr", "CIRCLE 9,9 1\nOPEN " + bad + "\n"), "-o", out)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("RECOVER opens what can be read", run.out)
        self.assertEqual(self.entities(out), ["CIRCLE"])

        recovered = self.path("recovered.dxf")
        run = self.vtcad("--recover", bad, "-o", recovered)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("lost: line", run.out)
        self.assertRegex(run.out, r"Audit of bad.dxf: \d+ problems?, [1-9]\d* of them loss")
        # What vtcad writes is sound for other readers: no value written back unreadable.
        ezdxf.readfile(recovered)
        doc, auditor = ezdxf.recover.readfile(recovered)
        self.assertFalse(auditor.has_errors, [str(e.message) for e in auditor.errors])
        # RECOVER in a script: QSAVE asks for a name instead of writing over the source.
        again = self.path("again.dxf")
        run = self.vtcad("-s", self.script("r.scr", "RECOVER " + bad + "\nQSAVE\n" + again + "\n"))
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("Save the recovered drawing as", run.out)
        self.assertTrue(os.path.exists(again))
        with open(bad, "rb") as f:
            self.assertEqual(f.read(), damaged, "the damaged source was written over")

    def test_script_draws_and_the_drawing_is_saved(self):
        scr = self.script("draw.scr", "; a square and a circle\nLINE 0,0 10,0 10,10 C\nCIRCLE 5,5 2\n")
        out = self.path("out.dxf")
        run = self.vtcad("-s", scr, "-o", out)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("Command: LINE", run.out)
        self.assertEqual(sorted(self.entities(out)), ["CIRCLE", "LINE", "LINE", "LINE"])

    def test_pictures_of_the_drawing_after_the_scripts(self):
        scr = self.script("draw.scr", "LINE 0,0 100,0 100,50 C\nCIRCLE 50,25 10\n")
        png, svg, pdf = self.path("a.png"), self.path("a.svg"), self.path("a.pdf")
        run = self.vtcad("-s", scr, "--png", png, "--svg", svg, "--pdf", pdf, "--size", "320x200")
        self.assertEqual(run.status, 0, run.err)
        with open(png, "rb") as f:
            head = f.read(24)
        self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual((int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")), (320, 200))
        with open(svg, encoding="utf-8") as f:
            self.assertIn("<svg", f.read())
        with open(pdf, "rb") as f:
            self.assertEqual(f.read(5), b"%PDF-")
        self.assertEqual(self.vtcad("--png", png, "--size", "0x10").status, 2)
        self.assertEqual(self.vtcad("--png", png, "--view", "sideways").status, 2)
        run = self.vtcad("--png", os.path.join(self.path("no-such-folder"), "a.png"))
        self.assertEqual(run.status, 1)
        self.assertIn("cannot", run.err)

    def test_script_ending_inside_a_command_keeps_what_was_drawn(self):
        scr = self.script("open.scr", "LINE 0,0 10,0")
        out = self.path("out.dxf")
        run = self.vtcad("-s", scr, "-o", out)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(self.entities(out), ["LINE"])

    def test_a_saved_drawing_tells_other_readers_its_code_page_insertion_base_and_limits(self):
        # Without $DWGCODEPAGE, ezdxf's recover took the UTF-8 texts of an R2013 file for
        # Windows-1252 and garbled every Cyrillic or Chinese text.
        out = self.path("out.dxf")
        run = self.vtcad("-s", self.script("t.scr", "TEXT 0,0 2.5 0 Копировал 图纸\n"), "-o", out)
        self.assertEqual(run.status, 0, run.err)
        doc, auditor = ezdxf.recover.readfile(out)
        self.assertEqual([e.dxf.text for e in doc.modelspace()], ["Копировал 图纸"])
        self.assertFalse(auditor.has_errors)
        for name in ("$ACADVER", "$DWGCODEPAGE", "$HANDSEED", "$INSBASE", "$EXTMIN", "$EXTMAX",
                     "$LIMMIN", "$LIMMAX", "$LTSCALE", "$MEASUREMENT", "$TILEMODE", "$DIMSTYLE"):
            self.assertIn(name, doc.header, name)

    def test_scripts_run_in_order_and_standard_input_is_a_script(self):
        first = self.script("one.scr", "CIRCLE 0,0 1\n")
        out = self.path("out.dxf")
        run = self.vtcad("-s", first, "-s", "-", "-o", out, stdin="ERASE L\n\n")
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(self.entities(out), [])

    def test_open_change_undo_and_save(self):
        base = self.path("base.dxf")
        self.assertEqual(self.vtcad("-s", self.script("b.scr", "CIRCLE 0,0 1\nCIRCLE 5,0 1\n"), "-o", base).status, 0)
        out = self.path("out.dxf")
        run = self.vtcad(base, "-s", self.script("e.scr", "ERASE ALL\n\nU\nERASE L\n\n"), "-o", out)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(self.entities(out), ["CIRCLE"])

    def test_quit_ends_the_run_and_still_saves(self):
        out = self.path("out.dxf")
        run = self.vtcad("-s", self.script("q.scr", "CIRCLE 0,0 1\nQUIT\nCIRCLE 2,2 1\n"),
                         "-s", self.script("never.scr", "CIRCLE 9,9 1\n"), "-o", out)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(self.entities(out), ["CIRCLE"])

    @unittest.skipUnless(PLUGIN, "no test plug-in")
    def test_loaded_plugin_adds_its_commands(self):
        run = self.vtcad("--load", PLUGIN, "-s", self.script("p.scr", "HELLO\nAPPUNLOAD " + APP + "\nHELLO\n"), plugin=True)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("Hello from the test plug-in", run.out)
        self.assertIn('Unknown command "HELLO"', run.out)

    def test_veltrace_loads_by_default_in_the_language_of_its_setting(self):
        # linkLineAuto ends silently when its second point is not given.
        scr = self.script("v.scr", "linkLineAuto\n0,0\n\nVTRC_DEMO2\n")
        run = self.vtcad("-s", scr, plugin=True)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("Veltrace V1.20 loaded successfully.", run.out)
        self.assertNotIn("is not available", run.out)
        self.assertIn("No address is set for the demonstration Demo2", run.out)
        with open(os.path.join(self.config, "registry.reg"), encoding="utf-8") as f:
            registry = f.read()
        self.assertIn('"pagetimes"=dword:00000001', registry)
        self.assertIn('"cmdtimes"=dword:00000002', registry)
        # The language is read at each load.
        registry = registry.replace("[HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace]",
                                    "[HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace]\n\"ChineseVersion\"=dword:00000001")
        with open(os.path.join(self.config, "registry.reg"), "w", encoding="utf-8") as f:
            f.write(registry)
        run = self.vtcad("-s", scr, plugin=True)
        self.assertIn("【Veltrace】 V1.20 已成功加载。", run.out)
        self.assertIn("演示 Demo2 未设置网址", run.out)

    def test_a_connector_follows_its_shape_in_a_second_run_of_the_saved_drawing(self):
        first = self.path("linked.dxf")
        run = self.vtcad("-s", self.script("l.scr", "PLINE 0,0 10,0 10,6 0,6 C\nPLINE 30,0 40,0 40,6 30,6 C\n"
                                                    "linkLineAuto\n10,3\n30,3\n"), "-o", first, plugin=True)
        self.assertEqual(run.status, 0, run.err)
        with open(first, encoding="utf-8", errors="replace") as f:
            text = f.read()
        self.assertIn("VTRC_DICT", text)
        self.assertIn("persreac", text)
        # Two reactor objects, one for each rectangle.
        self.assertEqual(len(re.findall(r"^  0\r?\nVTLinkLineToNotify\r?$", text, re.M)), 2)
        # Opened and saved without the plug-in, the reactors are kept.
        kept = self.path("kept.dxf")
        self.assertEqual(self.vtcad(first, "-o", kept).status, 0)
        # A second run moves the left rectangle (a window takes it, not the connector).
        moved = self.path("moved.dxf")
        run = self.vtcad(kept, "-s", self.script("m.scr", "MOVE W -1,-1 11,7 \n0,0\n5,5\n"), "-o", moved,
                         plugin=True)
        self.assertEqual(run.status, 0, run.err)
        splines = [e for e in ezdxf.readfile(moved).modelspace() if e.dxftype() == "SPLINE"]
        self.assertEqual(len(splines), 1)
        fit = [tuple(round(c, 9) for c in p) for p in splines[0].fit_points]
        self.assertEqual(fit[0][:2], (15.0, 8.0))
        self.assertEqual(fit[-1][:2], (30.0, 3.0))

    def test_formula_dialog_driven_by_the_script_draws_into_the_saved_drawing(self):
        scr = self.script("f.scr", "FORMULA\nselect curves 1\npress preview\n5,5\nslide slider1 4\n"
                                   "check axes\nclose\n")
        out = self.path("f.dxf")
        run = self.vtcad("-s", scr, "-o", out, plugin=True)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("[Math Formula Curves] 4010 slider at 4", run.out)
        self.assertIn("Please specify the origin>>", run.out)
        doc = ezdxf.readfile(out)
        kinds = [e.dxftype() for e in doc.modelspace()]
        self.assertEqual(kinds, ["SPLINE", "INSERT"])
        spline = doc.modelspace()[0]
        # Four waves of 36 samples from the origin.
        self.assertEqual(len(spline.fit_points), 144)
        self.assertAlmostEqual(spline.fit_points[0][0], 5.0)
        self.assertAlmostEqual(spline.fit_points[0][1], 5.0)

    def test_the_example_script_runs_the_veltrace_commands_on_the_example_drawing(self):
        # As scripts/demo.sh runs it: from a working folder beside examples/.
        examples = os.path.join(os.path.dirname(__file__), "..", "..", "examples")
        os.symlink(os.path.abspath(examples), self.path("examples"))
        work = self.path("build")
        os.mkdir(work)
        out = os.path.join(work, "out.dxf")
        proc = subprocess.run([VTCAD, "--config", self.config, os.path.join(examples, "site-plan.dxf"),
                               "-s", os.path.join(examples, "site-plan.scr"), "-o", out],
                              capture_output=True, text=True, timeout=120, cwd=work)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        self.assertNotIn("is not available", proc.stdout)
        self.assertIn("Added < 2> polylines.", proc.stdout)
        self.assertTrue(os.path.exists(os.path.join(work, "site-plan-vertices.html")))
        kinds = self.entities(out)
        # Two trees and seven more in a row; the plot, the divided spline, the footprint, four
        # terraces, the setback line and the surveyed path; the pond bank, which has height, as
        # a 3-D polyline; the survey point, five numbered corners and two numbered crossings;
        # the spline and the five gradient splines between it and the plot; two sheds and
        # their connector, which followed the moved shed; the label's outlines, a block.
        self.assertEqual(kinds.count("CIRCLE"), 9)
        self.assertEqual(kinds.count("SPLINE"), 7)
        self.assertEqual(kinds.count("LWPOLYLINE"), 11)
        self.assertEqual(kinds.count("INSERT"), 1)
        connector = [e for e in ezdxf.readfile(out).modelspace()
                     if e.dxftype() == "SPLINE" and len(e.fit_points) == 2]
        self.assertEqual([tuple(p)[:2] for p in connector[0].fit_points], [(210.0, 13.0), (225.0, 3.0)])
        self.assertEqual(kinds.count("POINT"), 8)
        self.assertEqual(kinds.count("POLYLINE"), 1)

    # Two polylines and an array of a million between them: seconds of work.
    LONG_WORK = ("PLINE 0,0 10,0 10,5\n\nPLINE 100,50 120,50 120,80\n\n"
                 "PLARR\n#18\n#19\n1000\n1000\n0\nCIRCLE 0,0 1\n")

    def test_long_work_shows_progress_on_a_terminal_and_ctrl_c_cancels_the_run(self):
        out = self.path("out.dxf")
        master, slave = pty.openpty()
        proc = subprocess.Popen([VTCAD, "--config", self.config, "-s", self.script("long.scr", self.LONG_WORK),
                                 "-o", out], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=slave)
        os.close(slave)
        seen = b""
        interrupted = False
        deadline = time.monotonic() + 300
        while time.monotonic() < deadline:
            ready, _, _ = select.select([master], [], [], 0.1)
            if ready:
                try:
                    chunk = os.read(master, 4096)
                except OSError:  # the program has ended and closed the terminal
                    break
                if not chunk:
                    break
                seen += chunk
                if b"\rPLARR  " in seen and not interrupted:
                    proc.send_signal(signal.SIGINT)  # what Ctrl+C at the terminal sends
                    interrupted = True
            elif proc.poll() is not None:
                break
        transcript = proc.stdout.read().decode()
        proc.wait(timeout=60)
        os.close(master)
        self.assertTrue(interrupted, seen)
        self.assertEqual(proc.returncode, 130, seen)
        self.assertIn("*Cancel*", transcript)
        self.assertNotIn("CIRCLE 0,0", transcript, "the rest of the script is not run")
        self.assertIn(b"\r\x1b[K", seen, "the progress line is wiped")
        self.assertIn(b"the drawing was not saved", seen)
        self.assertFalse(os.path.exists(out))

    def test_no_progress_goes_into_a_pipe(self):
        run = self.vtcad("-s", self.script("long.scr", self.LONG_WORK.replace("1000\n1000", "1000\n300")),
                         plugin=True)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(run.err, "")
        self.assertNotIn("\r", run.out)


if __name__ == "__main__":
    unittest.main(verbosity=2)
