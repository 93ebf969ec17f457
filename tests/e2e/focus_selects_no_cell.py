"""Giving the window the focus back selects no grid cell: after opening a file without entries, whose
grids hold one empty entry column, no message lookup runs and so no error box comes up by itself."""
import os
import struct

import e2e_lib as e2e


def scenario(s):
    good = s.reference_file("good.inf", "--g-count", "2", "--x-count", "1")
    empty = os.path.join(s.tmp, "no-entries.inf")
    with open(empty, "wb") as f:
        f.write(struct.pack("<6H", 36, 3, 0, 196, 3, 0))
    window = s.window()
    s.open_through_dialog(window, good)
    window.wait_caption(e2e.file_caption(good))
    try:
        s.open_through_dialog(window, empty)
        window.wait_caption(e2e.file_caption(empty))
        window.key("ctrl+x", "ctrl+g")
        # The open dialog coming up proves that every event before it has been handled.
        window.key("ctrl+o")
        s.key(s.wait_window("^Open$"), "Escape")
    except e2e.BoxInTheWay as box:
        s.screenshot()
        raise e2e.Failure("a box captioned %r came up although no cell was selected (the grid took the "
                          "focus back and reported its first cell as selected)" % box.caption)
    s.screenshot()


e2e.run("focus_selects_no_cell", scenario)
