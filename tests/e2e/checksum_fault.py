"""A wrong checksum in G-Info entry 2: one "Fehler" box, the read goes on, the entry is zeros in the file."""
import os

import e2e_lib as e2e

SERIAL = "4711-0815"
DATA = ("--g-count", "3", "--x-count", "2", "--seed", "3")


def scenario(s):
    expected = bytearray(e2e.read_bytes(s.reference_file("reference.inf", *DATA)))
    e2e.check(expected[28:44] != bytes(16), "the generated entry 2 is all zeros already")
    expected[12 + 16:12 + 32] = bytes(16)
    s.simulator("--unpaced", "--fault", "G:1:checksum", *DATA)
    os.makedirs(s.autosave_folder)
    path = os.path.join(s.autosave_folder, SERIAL + "_01.inf")

    window = s.window("-autosave")
    window.key("ctrl+r")
    s.wait_window("^Fehler$")
    s.screenshot()
    e2e.check(not os.path.exists(path), "the file was written while the error box was still open")
    s.close_error_box()
    e2e.wait_for("the file", lambda: os.path.exists(path) and os.path.getsize(path) == len(expected))
    e2e.check(e2e.read_bytes(path) == bytes(expected),
              "the file is not the unit's read-out with G-Info entry 2 zeroed")
    e2e.check(not s.windows("^Fehler$"), "a second error box appeared")
    window.check_alive()
    window.wait_caption(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_01.inf"))


e2e.run("checksum_fault", scenario)
