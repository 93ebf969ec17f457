"""The file cannot be written: a missing autosave folder, a full disk behind a file that exists, a link
to /dev/full. Each time the "Fehler" box comes up at the end of the read, nothing else is touched. What a
read without its file has read stays kept, so each later read asks whether to continue it ("&Ja")."""
import os
import resource
import signal

import e2e_lib as e2e

SERIAL = "4711-0815"
DATA = ("--g-count", "3", "--x-count", "1")  # a file of 156 bytes
FILE_SIZE_LIMIT = 64


def no_file_size_signal():
    # Writing beyond the file size limit then fails with EFBIG, as on a full disk, instead of
    # ending the program.
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)


def save_through_dialog(s, window, path):
    """Ctrl+R; in the save dialog the full path, Return, and "Yes" when asked to replace the file."""
    dialog = window.key_until("the save dialog", lambda: s.find_window("^Save As$"), "ctrl+r")
    s.fill_file_dialog(dialog, path)
    replace = e2e.wait_for("the dialog to close or to ask", lambda: (
        [w for w in s.windows("^Save As$") if w != dialog] or [None])[0] or
        (dialog not in s.windows("^Save As$") and "closed"))
    if replace != "closed":
        s.key(replace, "alt+y")
        s.wait_no_window("^Save As$")


def leftovers(folder):
    return [n for n in os.listdir(folder) if n.endswith(".tmp")]


def scenario(s):
    s.simulator("--unpaced", *DATA)

    # The drive is there, its folder geraete\Lexorant is not: number 01 is taken and cannot be written.
    window = s.window("-autosave")
    window.key("ctrl+r")
    name = e2e.AUTOSAVE_FOLDER + "\\" + SERIAL + "_01.inf"
    window.wait_caption(e2e.file_caption(name))
    s.wait_window("^Fehler$")
    s.screenshot("-missing-folder")
    s.close_error_box()
    window.check_alive()
    e2e.check(window.caption() == e2e.file_caption(name), "the caption changed after the failure: " + window.caption())
    e2e.check(os.listdir(s.drive) == [], "something was created on the drive: %s" % os.listdir(s.drive))
    window.stop()

    # An earlier read-out of the same name on a disk that has no room for the new one.
    folder = os.path.join(s.tmp, "service")
    os.makedirs(folder)
    earlier = os.path.join(folder, "earlier.inf")
    earlier_bytes = b"\x24\x00\x03\x00" + bytes(range(40))
    with open(earlier, "wb") as f:
        f.write(earlier_bytes)
    window = s.window(preexec=no_file_size_signal)
    # Only once the window is up: the start (font caches and the like) needs room of its own.
    resource.prlimit(window.process.pid, resource.RLIMIT_FSIZE, (FILE_SIZE_LIMIT, FILE_SIZE_LIMIT))
    save_through_dialog(s, window, earlier)
    window.wait_caption(e2e.file_caption(earlier))
    s.answer_question()
    s.wait_window("^Fehler$")
    s.screenshot("-disk-full")
    s.close_error_box()
    window.check_alive()
    e2e.check(e2e.read_bytes(earlier) == earlier_bytes, "the earlier file was changed")
    e2e.check(not leftovers(folder), "temporary files were left behind: %s" % leftovers(folder))

    # A name that is a link to /dev/full: the device takes nothing, and the link stays a link.
    full = os.path.join(folder, "full.inf")
    os.symlink("/dev/full", full)
    save_through_dialog(s, window, full)
    window.wait_caption(e2e.file_caption(full))
    s.answer_question()
    s.wait_window("^Fehler$")
    s.close_error_box()
    window.check_alive()
    e2e.check(os.path.islink(full) and os.readlink(full) == "/dev/full", "the link to /dev/full was replaced")
    e2e.check(not leftovers(folder), "temporary files were left behind: %s" % leftovers(folder))


if __name__ == "__main__":
    e2e.run("write_failure", scenario)
