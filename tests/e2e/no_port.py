"""Every COM link dangles: Ctrl+R shows the "Fehler" box ("Please select a COM-Port") and nothing else."""
import os

import e2e_lib as e2e


def scenario(s):
    os.makedirs(s.autosave_folder)
    window = s.window("-autosave")
    window.key("ctrl+r")
    s.wait_window("^Fehler$")
    s.screenshot()
    s.close_error_box()
    window.check_alive()
    e2e.check(window.caption() == e2e.START_CAPTION, "the caption changed to %r" % window.caption())
    e2e.check(os.listdir(s.autosave_folder) == [], "a file was written: %s" % os.listdir(s.autosave_folder))
    # The port shortcut of a port that cannot be opened does nothing; the read still has no port.
    window.key("ctrl+1", "ctrl+r")
    s.close_error_box()
    e2e.check(window.caption() == e2e.START_CAPTION, "the caption changed to %r" % window.caption())


e2e.run("no_port", scenario)
