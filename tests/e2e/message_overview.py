"""Ctrl+M on an opened read-out lists its messages, most frequent first; Return on the top row (a
fault) makes the column of its first entry current, and the status bar shows what a click on that
cell shows."""

import os
import struct
import subprocess

import e2e_lib as e2e

# G-Info codes by entry; fault -9 is the most frequent, its first entry is G-Info 3 (grid column 3).
G_CODES = [-16385, -16431, -9, -2063, -16385, -9, -16386, -9, -4106, -16385]
X_CODES = [-9, -16384]
HEADING_WIDTH, COLUMN_WIDTH = 100, 64


def write_read_out(path):
    def entry(code, size, day):
        slot = bytearray(size)
        slot[0:7] = bytes([1, 24, 5, day, 8, 30, 0])
        slot[8:10] = struct.pack("<h", code)
        return bytes(slot)
    with open(path, "wb") as f:
        f.write(struct.pack("<6H", 36, 0, len(G_CODES), 196, 3, len(X_CODES)))
        f.write(b"".join(entry(c, 16, 1 + i) for i, c in enumerate(G_CODES)))
        f.write(b"".join(entry(c, 96, 1 + i) for i, c in enumerate(X_CODES)))


def screen(s):
    """The whole screen as (width, height, RGB bytes)."""
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=s.env, capture_output=True,
                          timeout=30).stdout
    fields, offset = [], 0
    while len(fields) < 4:  # "P6", width, height, maximum
        while data[offset:offset + 1].isspace():
            offset += 1
        end = offset
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[offset:end])
        offset = end
    return int(fields[1]), int(fields[2]), data[offset + 1:]


def crop(shot, x, y, w, h):
    width, _, pixels = shot
    return b"".join(pixels[((y + r) * width + x) * 3:((y + r) * width + x + w) * 3] for r in range(h))


def geometry(s, window_id):
    text = s.xdotool("getwindowgeometry", "--shell", window_id).stdout
    values = dict(line.split("=") for line in text.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def highlighted_cell(shot, x0, y0, w, h):
    """Centre of the selection colour's area in the given part of the screen, or None."""
    width, _, pixels = shot
    xs, ys = [], []
    for y in range(y0, y0 + h):
        row = (y * width) * 3
        for x in range(x0, x0 + w):
            r, g, b = pixels[row + x * 3:row + x * 3 + 3]
            if b > 150 and b > r + 80 and g > r + 30:  # the style's selection blue
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return (min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2


def open_in_window(s, path):
    """A window at the screen's corner, 1240 x 700, showing the read-out: the window, its geometry,
    where its status text and the panel beside the grid appear, and what both show now."""
    window = s.window()
    s.xdotool("windowmove", window.id, 0, 0, check_result=True)
    s.xdotool("windowsize", window.id, 1240, 700, check_result=True)
    s.open_through_dialog(window, path)
    window.wait_caption(e2e.file_caption(path))
    x, y, w, h = geometry(s, window.id)
    status = (x + 2, y + h - 20, w // 3, 16)
    right = (x + w - 300, y + 80, 200, 100)
    shot = screen(s)
    return window, (x, y, w, h), status, right, crop(shot, *status), crop(shot, *right)


def scenario(s):
    path = os.path.join(s.tmp, "overview unit.inf")
    write_read_out(path)
    window, (x, y, w, h), status, right, before, empty = open_in_window(s, path)

    window.key("ctrl+m")
    e2e.wait_for("the panel beside the grid", lambda: crop(screen(s), *right) != empty)
    window.key("Return")
    def changed_status():
        shot = screen(s)
        return shot if crop(shot, *status) != before else None
    shot = e2e.wait_for("the status bar to change", changed_status)
    s.screenshot("-activated")
    shown = crop(shot, *status)

    # The grid is the left part of the window; the panel's own selection lies further right.
    cell = highlighted_cell(shot, x, y + 20, HEADING_WIDTH + COLUMN_WIDTH * 6, 120)
    e2e.check(cell is not None, "no current cell in the grid")
    column = (cell[0] - x - HEADING_WIDTH) // COLUMN_WIDTH + 1
    e2e.check(column == 3, "the current column is %d, not 3 (the first entry of fault -9)" % column)

    # A click on that cell, the pointer resting there, shows the same text.
    s.xdotool("mousemove", cell[0], cell[1], "click", "1", check_result=True)
    e2e.wait_for("the cell's message text in the status bar", lambda: crop(screen(s), *status) == shown)
    window.check_alive()


if __name__ == "__main__":
    e2e.run("message_overview", scenario)
