"""Quitting during a read: the close request asks "Warnung"; "&Nein" lets the read finish and write its
file, "&Ja" ends the program at once with exit code 0 and without complaints from Qt, and the next
window continues the read it ended to the file an uninterrupted read writes."""
import os
import re
import time

import e2e_lib as e2e

SERIAL = "4711-0815"
# At 1200 baud a G-Info answer takes 0.3 s and an X-Info answer 1.6 s: a read of about 7 s.
DATA = ("--g-count", "12", "--x-count", "2", "--seed", "5")


def kept_entries(s):
    """How many entries the kept read-out of the unit holds, as lexorant-cli show tells."""
    kept = os.path.join(s.tmp, ".local", "state", "brenno-lexorant", SERIAL + ".partial")
    said = re.search(r": (\d+) of \d+ entries have been read", s.cli("show", kept).stderr.decode(errors="replace"))
    return int(said.group(1)) if said else 0


def scenario(s):
    expected = e2e.read_bytes(s.reference_file("reference.inf", *DATA))
    s.simulator("--baud", "1200", *DATA)
    os.makedirs(s.autosave_folder)
    first = os.path.join(s.autosave_folder, SERIAL + "_01.inf")
    second = os.path.join(s.autosave_folder, SERIAL + "_02.inf")
    window = s.window("-autosave")

    # File > "&Exit", answered with Escape ("&Nein").
    window.key("ctrl+r")
    window.wait_caption(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_01.inf"))
    window.key("alt+f", "e")
    question = s.wait_window("^Warnung$")
    s.screenshot("-question")
    e2e.check(not os.path.exists(first), "the read ended before the question was answered")
    s.key(question, "Escape")
    s.wait_no_window("^Warnung$")
    window.check_alive()
    e2e.wait_for("the file of the read that went on", lambda: os.path.exists(first) and
                 os.path.getsize(first) == len(expected), timeout=20)
    e2e.check(e2e.read_bytes(first) == expected, "the file of the read that went on differs from the unit's")
    e2e.check(not s.windows("^Fehler$"), "an entry failed after the question")

    # Now as the window manager's close box or Alt+F4 does, answered with Return ("&Ja", the default).
    window.start_read(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_02.inf"))
    e2e.wait_for("an entry kept", lambda: kept_entries(s) > 0)
    s.request_close(window.id)
    question = s.wait_window("^Warnung$")
    s.focus(question)
    answered = time.monotonic()
    s.xdotool("key", "Return", check_result=True)
    e2e.wait_for("the program to end", lambda: not window.alive(), timeout=10, interval=0.01)
    # The read has seconds to go: ending well before that shows that it was not waited for.
    elapsed = time.monotonic() - answered
    e2e.check(elapsed < 3.0, "the program took %.2f s to end after \"&Ja\"" % elapsed)
    e2e.check(window.process.returncode == 0, "exit code %d" % window.process.returncode)
    complaints = [line for line in window.stderr().splitlines()
                  if re.search(r"QThread|Warning|QWARN|QObject|Critical", line)]
    e2e.check(not complaints, "standard error:\n" + "\n".join(complaints))
    e2e.check(not os.path.exists(second), "the interrupted read wrote its file")

    # What was read before the quit is kept: the next window continues it ("&Ja" to the question).
    window = s.window("-autosave")
    window.key("ctrl+r")
    window.wait_caption(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_02.inf"))
    s.answer_question("Return")
    e2e.wait_for("the file of the continued read", lambda: os.path.exists(second) and
                 os.path.getsize(second) == len(expected), timeout=20)
    e2e.check(e2e.read_bytes(second) == expected, "the continued read's file differs from the unit's")
    e2e.check(not s.windows("^Fehler$"), "an entry failed in the continued read")


e2e.run("quit_while_reading", scenario)
