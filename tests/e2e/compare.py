"""Analysis > Compare with earlier read-out... on the second visit to a unit: the dialog proposes the
first visit's autosave read-out, Return takes it, and the message overview opens with a "New" column;
Return on its top row (fault -9, whose entries are new but for one) makes the column of the code's first
new entry current, not that of its first entry."""

import os
import struct

import e2e_lib as e2e
from message_overview import COLUMN_WIDTH, HEADING_WIDTH, crop, highlighted_cell, open_in_window, screen

# The first visit's G-Info log; by the second, the unit has overwritten its two oldest entries and
# logged four more: fault -9 three times (so that -9 stays the most frequent code) and -16431.
FIRST = [(-9, 1), (-16385, 2), (-4106, 3), (-9, 4), (-2063, 5)]
SECOND = FIRST[2:] + [(-9, 6), (-16431, 7), (-9, 8), (-9, 9)]
X_CODES = [(-16384, 1)]


def write_read_out(path, g_entries):
    def entry(code, size, day):
        slot = bytearray(size)
        slot[0:7] = bytes([1, 24, 6, day, 9, 15, 0])
        slot[8:10] = struct.pack("<h", code)
        return bytes(slot)
    with open(path, "wb") as f:
        f.write(struct.pack("<6H", 36, 0, len(g_entries), 196, 3, len(X_CODES)))
        f.write(b"".join(entry(c, 16, d) for c, d in g_entries))
        f.write(b"".join(entry(c, 96, d) for c, d in X_CODES))


def scenario(s):
    folder = os.path.join(s.tmp, "visits")
    os.makedirs(folder)
    write_read_out(os.path.join(folder, "4711-0815_01.inf"), FIRST)
    second = os.path.join(folder, "4711-0815_02.inf")
    write_read_out(second, SECOND)
    window, (x, y, w, h), status, right, before, empty = open_in_window(s, second)

    window.key("alt+a", "c")
    dialog = s.wait_window("^Compare with earlier read-out$")
    s.key(dialog, "Return")  # the proposed first visit
    s.wait_no_window("^Compare with earlier read-out$")
    e2e.wait_for("the panel beside the grid", lambda: crop(screen(s), *right) != empty)
    window.key("Return")

    def changed_status():
        shot = screen(s)
        return shot if crop(shot, *status) != before else None
    shot = e2e.wait_for("the status bar to change", changed_status)
    s.screenshot("-new-entries")
    cell = highlighted_cell(shot, x, y + 20, HEADING_WIDTH + COLUMN_WIDTH * len(SECOND), 120)
    e2e.check(cell is not None, "no current cell in the grid")
    column = (cell[0] - x - HEADING_WIDTH) // COLUMN_WIDTH + 1
    # SECOND: -9 of day 4 (known, column 2), -9 of day 6 (new, column 4).
    e2e.check(column == 4, "the current column is %d, not 4 (the first new entry of fault -9)" % column)
    window.check_alive()


if __name__ == "__main__":
    e2e.run("compare", scenario)
