"""Ctrl+O opens a saved read-out (caption names it); Ctrl+X and Ctrl+G switch the grids."""

import e2e_lib as e2e


def scenario(s):
    path = s.reference_file("saved unit.inf", "--g-count", "4", "--x-count", "3", "--x-type", "1")
    window = s.window()
    # Before anything is shown the View items are disabled: the shortcuts do nothing.
    window.key("ctrl+x", "ctrl+g")
    s.open_through_dialog(window, path)
    window.wait_caption(e2e.file_caption(path))
    s.screenshot("-ginfo")
    window.key("ctrl+x")
    s.screenshot("-xinfo")
    window.key("ctrl+g")
    s.screenshot("-ginfo-again")
    window.check_alive()
    e2e.check(window.caption() == e2e.file_caption(path), "the caption changed on switching grids")
    e2e.check("QWARN" not in window.stderr() and "Warning" not in window.stderr(),
              "warnings on standard error:\n" + window.stderr())


e2e.run("open_and_view", scenario)
