"""-autosave: Ctrl+R reads the unit into O:\\geraete\\Lexorant\\<serial>_01.inf, the next read into _02."""
import os

import e2e_lib as e2e

SERIAL = "E2E-4711"


def scenario(s):
    # The unit serves a read-out that lexorant-cli took of a generated unit, so that the window's
    # file must come out byte for byte the same.
    reference = s.reference_file("reference.inf", "--serial", SERIAL, "--g-count", "5", "--x-count", "3",
                                 "--seed", "7")
    expected = e2e.read_bytes(reference)
    e2e.check(len(expected) == 12 + 5 * 16 + 3 * 96, "the reference holds %d bytes" % len(expected))
    s.simulator("--unpaced", "--file", reference, "--serial", SERIAL)
    os.makedirs(s.autosave_folder)

    window = s.window("-autosave")
    for number in (1, 2):
        name = "%s_%02d.inf" % (SERIAL, number)
        path = os.path.join(s.autosave_folder, name)
        window.start_read(e2e.file_caption(e2e.AUTOSAVE_FOLDER + "\\" + name))
        e2e.wait_for(name, lambda: os.path.exists(path) and os.path.getsize(path) == len(expected))
        e2e.check(e2e.read_bytes(path) == expected, "%s differs from the unit's read-out" % name)
        e2e.check(not s.windows("^Fehler$"), "an error box is open after a clean read")
        s.screenshot("-%02d" % number)

    e2e.check(sorted(os.listdir(s.autosave_folder)) == ["%s_01.inf" % SERIAL, "%s_02.inf" % SERIAL],
              "unexpected files: %s" % os.listdir(s.autosave_folder))
    window.check_alive()


e2e.run("autosave_read", scenario)
