"""Alt+A, E on an opened read-out writes the shown grid as lexorant-cli show --format csv does."""

import os

import e2e_lib as e2e


def scenario(s):
    path = s.reference_file("exported unit.inf", "--g-count", "5", "--x-count", "7", "--x-type", "3")
    window = s.window()
    s.open_through_dialog(window, path)
    window.wait_caption(e2e.file_caption(path))
    window.key("ctrl+x")
    window.key("alt+a", "e")
    dialog = s.wait_window("^Export$")
    # The dialog starts in the read-out's folder; a bare name there gets the chosen filter's suffix.
    s.key(dialog, "ctrl+a")
    s.type_text(dialog, "grid")
    s.key(dialog, "Return")
    s.wait_no_window("^Export$")
    exported = os.path.join(os.path.dirname(path), "grid.csv")
    expected = s.cli("show", path, "--block", "X", "--format", "csv")
    e2e.check(expected.returncode == 0, "lexorant-cli show failed")
    e2e.wait_for("the file %s" % exported,
                 lambda: os.path.exists(exported) and e2e.read_bytes(exported) == expected.stdout)
    window.check_alive()


e2e.run("export_grid", scenario)
