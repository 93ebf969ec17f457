"""Alt+A, R on an opened read-out writes its service report: a PDF whose text says what the unit logged."""

import os
import subprocess

import e2e_lib as e2e


def scenario(s):
    path = s.reference_file("4711-0815_02.inf", "--g-count", "30", "--x-count", "10", "--x-type", "3")
    window = s.window()
    s.open_through_dialog(window, path)
    window.wait_caption(e2e.file_caption(path))
    window.key("alt+a", "r")
    dialog = s.wait_window("^Report$")
    # The dialog starts in the read-out's folder; a bare name there gets ".pdf".
    s.fill_file_dialog(dialog, "service report")
    s.wait_no_window("^Report$")
    report = os.path.join(os.path.dirname(path), "service report.pdf")
    e2e.wait_for("the report %s" % report, lambda: os.path.exists(report))
    text = subprocess.run(["pdftotext", "-layout", report, "-"], stdout=subprocess.PIPE, check=True).stdout.decode()
    for expected in ("Service report", "4711-0815_02.inf", "Serial number:", "4711-0815", "G-Info entries:",
                     "Fault entries", "Page 1 of"):
        e2e.check(expected in text, "the report lacks %r:\n%s" % (expected, text))
    window.check_alive()


e2e.run("report", scenario)
