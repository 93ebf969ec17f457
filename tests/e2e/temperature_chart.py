"""Ctrl+T on an opened read-out shows the temperature chart; its "Save as..." (Ctrl+S) writes a PNG."""

import os

import e2e_lib as e2e

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def scenario(s):
    path = s.reference_file("charted unit.inf", "--x-count", "40", "--x-type", "3")
    window = s.window()
    s.open_through_dialog(window, path)
    window.wait_caption(e2e.file_caption(path))
    window.key("ctrl+t")
    chart = s.wait_window("^Temperatures$")
    s.screenshot("-chart")
    picture = os.path.join(s.tmp, "chart picture.png")
    s.key(chart, "ctrl+s")
    dialog = s.wait_window("^Save chart$")
    s.fill_file_dialog(dialog, picture)
    s.wait_no_window("^Save chart$")
    e2e.wait_for("the picture %s" % picture,
                 lambda: os.path.exists(picture) and e2e.read_bytes(picture).startswith(PNG_SIGNATURE))
    # The chart goes with the main window.
    s.request_close(window.id)
    s.wait_no_window("^Temperatures$")
    e2e.wait_for("the program to end", lambda: not window.alive())


e2e.run("temperature_chart", scenario)
