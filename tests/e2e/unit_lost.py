"""The unit hangs up in the middle of a block: one "Fehler" box says so, and "Abbrechen" ends the read
with nothing written under the file's name and the caption saying the read-out is partial. The next
read of the unit (Ctrl+R alone: the port is opened again) asks whether to continue; "&Ja" asks only for the
entries not yet read and writes the file an uninterrupted read writes. Then the window is killed in the
middle of a read, and a new window continues that read to the same file."""
import itertools
import os
import re

import e2e_lib as e2e

SERIAL = "4711-0815"
DATA = ("--g-count", "40", "--x-count", "6", "--seed", "9")
ENTRIES = 46
FIRST_REQUESTS = 4  # the flush, SN?, both headers


def entry_requests(log, start=0):
    if not os.path.exists(log):
        return []
    with open(log) as f:
        lines = f.read().splitlines()
    return [line for line in lines[start:] if re.match(r"^[GX]I@ \d+$", line)]


def request_count(log):
    with open(log) as f:
        return len(f.read().splitlines())


def check_continued(asked_before, asked_after, what):
    """The continued read asks a spread of kept entries again (the check), each once and a few dozen at
    most, then only what is missing."""
    check = list(itertools.takewhile(lambda r: r in asked_before, asked_after))
    e2e.check(check, "%s: no check of kept entries first" % what)
    e2e.check(len(check) == len(set(check)) <= 40, "%s: the check asks too much: %s" % (what, check))
    again = set(asked_after[len(check):]) & set(asked_before[:-1])
    e2e.check(not again, "%s: kept entries asked again: %s" % (what, sorted(again)))
    e2e.check(len(set(asked_before) | set(asked_after)) == ENTRIES, "%s: entries never asked" % what)


def scenario(s):
    expected = e2e.read_bytes(s.reference_file("reference.inf", *DATA))
    os.makedirs(s.autosave_folder)
    autosave = lambda n: e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_%02d.inf" % n
    first = os.path.join(s.autosave_folder, SERIAL + "_01.inf")
    second = os.path.join(s.autosave_folder, SERIAL + "_02.inf")

    # Hung up at the request for G-Info 13.
    lost_log = os.path.join(s.tmp, "lost.log")
    s.simulator("--unpaced", "--hang-up-after", str(FIRST_REQUESTS + 12), "--request-log", lost_log, *DATA)
    window = s.window("-autosave")
    window.key("ctrl+r")
    box = s.wait_window("^Fehler$")
    s.screenshot("-lost")
    s.key(box, "Escape")  # "Abbrechen"
    e2e.wait_for("the box to close", lambda: box not in s.windows("^Fehler$"))
    window.wait_caption(e2e.file_caption(autosave(1)) + " (partial)")
    e2e.check(not s.windows("^Fehler$"), "a second box came up")
    e2e.check(not os.path.exists(first), "the stopped read wrote its file")
    asked_before = entry_requests(lost_log)
    e2e.check(asked_before[-1] == "GI@ 12", "the line hung up at %s" % asked_before[-1])

    # The unit back on COM 1: continued.
    back_log = os.path.join(s.tmp, "back.log")
    s.simulator("--unpaced", "--request-log", back_log, *DATA)
    window.start_read(e2e.file_caption(autosave(1)))
    s.answer_question("Return")
    e2e.wait_for("the continued read's file", lambda: os.path.exists(first) and os.path.getsize(first) == len(expected))
    e2e.check(e2e.read_bytes(first) == expected, "the continued read's file differs from an uninterrupted read's")
    e2e.check(not s.windows("^Fehler$"), "an error box came up during the continued read")
    check_continued(asked_before, entry_requests(back_log), "after the hang-up")
    window.stop()

    # The window killed in the middle of a read (kill -9), a new one continues it.
    paced_log = os.path.join(s.tmp, "paced.log")
    s.simulator("--delay", "100", "--request-log", paced_log, *DATA)
    window = s.window("-autosave")
    window.key("ctrl+r")
    window.wait_caption(e2e.file_caption(autosave(2)))
    e2e.wait_for("ten entries asked", lambda: len(entry_requests(paced_log)) >= 10)
    window.process.kill()
    window.process.wait()
    asked_before = entry_requests(paced_log)
    restart = request_count(paced_log)
    window = s.window("-autosave")
    window.key("ctrl+r")
    window.wait_caption(e2e.file_caption(autosave(2)))
    s.answer_question("Return")
    e2e.wait_for("the file of the read continued after the kill",
                 lambda: os.path.exists(second) and os.path.getsize(second) == len(expected), timeout=60)
    e2e.check(e2e.read_bytes(second) == expected, "the file of the read continued after the kill differs")
    check_continued(asked_before, entry_requests(paced_log, restart), "after the kill")
    s.screenshot()


e2e.run("unit_lost", scenario)
