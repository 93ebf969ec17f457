"""The unit goes away in the middle of a block: every remaining entry gives one "Fehler" box, the read
ends and writes its file, and after reopening COM 1 (Ctrl+1) a new unit on it reads again."""
import os
import time

import e2e_lib as e2e

SERIAL = "4711-0815"
DATA = ("--g-count", "4", "--x-count", "1", "--seed", "9")


def entries(data):
    return [data[i:i + 16] for i in range(12, 12 + 4 * 16, 16)] + [data[12 + 4 * 16:]]


def scenario(s):
    expected = e2e.read_bytes(s.reference_file("reference.inf", *DATA))
    e2e.check(all(any(e) for e in entries(expected)), "a generated entry is all zeros")
    # Each answer 0.4 s late, so that the unit can be pulled after about two G-Info entries.
    unit = s.simulator("--unpaced", "--delay", "400", *DATA)
    os.makedirs(s.autosave_folder)
    first = os.path.join(s.autosave_folder, SERIAL + "_01.inf")
    window = s.window("-autosave")
    window.key("ctrl+r")
    window.wait_caption(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_01.inf"))
    time.sleep(1.0)  # the pacing of the scenario itself: some of the five answers arrive, not all
    unit.kill()

    boxes = 0
    deadline = time.monotonic() + 30
    while not os.path.exists(first):
        e2e.check(time.monotonic() < deadline, "the read did not end within 30 s of losing the unit")
        window.check_alive()
        if s.windows("^Fehler$"):
            if boxes == 0:
                s.screenshot("-error")
            s.close_error_box()
            boxes += 1
        else:
            time.sleep(0.05)
    e2e.wait_for("the whole file", lambda: os.path.getsize(first) == len(expected))
    got = entries(e2e.read_bytes(first))
    zero = [i for i, e in enumerate(got) if not any(e)]
    e2e.check(zero and zero == list(range(zero[0], 5)),
              "the entries after the loss are not all zeros (zero entries: %s)" % zero)
    e2e.check(boxes == len(zero), "%d error boxes for %d lost entries" % (boxes, len(zero)))
    e2e.check(got[:zero[0]] == entries(expected)[:zero[0]], "the entries read before the loss differ")
    e2e.check(e2e.read_bytes(first)[:12] == expected[:12], "the header differs")

    # A new unit behind COM1: the program still holds the old port until COM 1 is chosen again.
    s.simulator("--unpaced", *DATA)
    window.start_read(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_02.inf"), "ctrl+1")
    second = os.path.join(s.autosave_folder, SERIAL + "_02.inf")
    e2e.wait_for("the second file", lambda: os.path.exists(second) and os.path.getsize(second) == len(expected))
    e2e.check(e2e.read_bytes(second) == expected, "the read from the new unit differs")
    e2e.check(not s.windows("^Fehler$"), "an error box came up during the read from the new unit")
    s.screenshot()


e2e.run("unit_lost", scenario)
