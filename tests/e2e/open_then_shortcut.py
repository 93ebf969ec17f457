"""File > Open: the full path of a read-out typed into "File name", its completion list on screen,
Return, then at once a shortcut of the window (Alt+A, E: Export): it acts, with no window manager and
under openbox alike."""

import e2e_lib as e2e


def open_then_export(s, path):
    window = s.window()
    window.key("ctrl+o")
    dialog = s.wait_window("^Open$")
    s.key(dialog, "ctrl+a")
    s.type_text(dialog, path)
    e2e.wait_for("the completion list of the name", lambda: any(
        popup for _, _, popup in s.mapped_windows("^Brenno Lexorant$")))
    s.key(dialog, "Return")
    window.key("alt+a", "e")
    export = s.wait_window("^Export$")
    window.wait_caption(e2e.file_caption(path))
    s.key(export, "Escape")
    s.wait_no_window("^Export$")
    window.check_alive()
    window.stop()


def scenario(s):
    path = s.reference_file("typed unit.inf", "--g-count", "3", "--x-count", "2")
    open_then_export(s, path)
    s.start_window_manager()
    open_then_export(s, path)


e2e.run("open_then_shortcut", scenario)
