"""The window program for Windows under Wine, driven as the end-to-end scenarios drive the Linux one
(called by scripts/wine-check, not by ctest):

1. the Linux lexorant reads a simulated unit with -autosave, for the file to expect;
2. lexorant.exe -autosave, COM1 on a new simulator of the same unit and O: on a temporary folder:
   Ctrl+R writes O:\\geraete\\Lexorant\\<serial>_01.inf byte for byte as Linux did; a screenshot;
   Alt+F4 ends the process;
3. lexorant.exe again: File > Open of that file shows it in the caption, and the grid's first date
   (copied with Ctrl+Insert) is what lexorant-cli show prints; File > Exit ends the process;
4. the installer: msiexec installs it, the installed lexorant.exe passes --smoke-test, msiexec
   uninstalls it and nothing of it is left.

Usage: wine_window.py NATIVE_BUILD --deploy DIR --prefix WINEPREFIX --com1 LINK --out DIR
                      [--picture PNG] [--msi FILE]
"""
import argparse
import os
import re
import shutil
import subprocess

import e2e_lib as e2e

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
SERIAL = "4711-0815"
G_COUNT, X_COUNT = 24, 8
UNIT = ("--unpaced", "--serial", SERIAL, "--g-count", str(G_COUNT), "--x-count", str(X_COUNT),
        "--seed", "7")
NAME = SERIAL + "_01.inf"
WINDOWS_NAME = e2e.AUTOSAVE_FOLDER + "\\" + NAME
FILE_SIZE = 12 + G_COUNT * 16 + X_COUNT * 96
INSTALLED = "C:\\Program Files\\Brenno Lexorant\\lexorant.exe"

# What Wine shows differently from Windows; said in the check's output, not worked around.
WINE_DIFFERENCES = [
    "Wine draws the window's frame and title bar itself (the prefix has no window manager to do "
    "it: X11 Driver 'Managed' = N), in the classic look, and Qt's windowsvista style falls back to "
    "the classic look, since Wine runs no visual theme.",
    "The prefix has no Windows fonts (Segoe UI, Tahoma): Wine and Qt fall back to a serif font.",
    "The file dialogs are Wine's own version of the Windows dialog; its title bar is empty where "
    "Windows writes \"Open\".",
    "Wine puts the installer's Start-menu entry into the user's Start menu; Windows puts a "
    "per-machine entry into the one of all users.",
    "Wine does not refuse a second open of a port that is held, and runs a cancelled serial read "
    "on to its time-out (the Windows tests of those two skip under Wine).",
]


def arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--deploy", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--com1", required=True, help="the link that the prefix's COM1 names")
    parser.add_argument("--out", required=True)
    parser.add_argument("--picture")
    parser.add_argument("--msi")
    return parser.parse_args()


ARGS = arguments()


class WineSide:
    """lexorant.exe in the Wine prefix, on the session's X server, with O: on a temporary folder."""

    def __init__(self, session):
        self.session = session
        self.env = dict(session.env, WINEPREFIX=ARGS.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.drive = os.path.join(session.tmp, "drive-o-windows")
        self.autosave_folder = os.path.join(self.drive, "geraete", "Lexorant")
        os.makedirs(self.autosave_folder)
        self.drive_link = os.path.join(ARGS.prefix, "dosdevices", "o:")
        if os.path.lexists(self.drive_link):
            os.remove(self.drive_link)
        os.symlink(self.drive, self.drive_link)
        session.cleanups.append(self.stop_wine)
        self.runs = 0

    def stop_wine(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        if os.path.islink(self.drive_link):
            os.remove(self.drive_link)

    def start(self, *args):
        """Starts lexorant.exe; returns the process and its main window."""
        self.runs += 1
        err = open(os.path.join(ARGS.out, "lexorant-%d.stderr" % self.runs), "wb")
        process = subprocess.Popen([WINE, os.path.join(ARGS.deploy, "lexorant.exe")] + list(args),
                                   env=self.env, cwd=ARGS.deploy, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=err)
        self.session.cleanups.append(lambda: process.poll() is None and process.kill())

        def shown():
            e2e.check(process.poll() is None, "lexorant.exe ended with %s before its window showed"
                      % process.returncode)
            return self.session.find_window("^" + re.escape(e2e.START_CAPTION) + "$")
        # A first start in the prefix also starts Wine's own processes.
        return process, e2e.wait_for("the main window of lexorant.exe", shown, timeout=120.0)

    def wine(self, *args, timeout=300):
        return subprocess.run([WINE] + list(args), env=self.env, capture_output=True,
                              timeout=timeout)

    def unix_path(self, windows_path):
        return os.path.join(ARGS.prefix, "drive_c", *windows_path[3:].split("\\"))


def ends(process, what):
    e2e.wait_for("lexorant.exe to end after %s" % what, lambda: process.poll() is not None, 60.0)
    e2e.check(process.returncode == 0, "lexorant.exe ended with %d after %s"
              % (process.returncode, what))


def linux_read(s):
    """The file that the Linux window writes for the unit."""
    s.simulator(*UNIT)
    os.makedirs(s.autosave_folder)
    window = s.window("-autosave")
    path = os.path.join(s.autosave_folder, NAME)
    window.start_read(e2e.file_caption(WINDOWS_NAME))
    e2e.wait_for(NAME, lambda: os.path.exists(path) and os.path.getsize(path) == FILE_SIZE, 120.0)
    window.check_alive()
    window.stop()
    return e2e.read_bytes(path)


def windows_read(s, w, expected):
    sim = s.simulator(*UNIT, link=None)
    if os.path.lexists(ARGS.com1):
        os.remove(ARGS.com1)
    os.symlink(sim.pty, ARGS.com1)
    process, window = w.start("-autosave")
    path = os.path.join(w.autosave_folder, NAME)
    caption = e2e.file_caption(WINDOWS_NAME)
    s.key(window, "ctrl+r")
    e2e.wait_for("the caption %r" % caption, lambda: s.window_name(window) == caption, 60.0)
    e2e.wait_for(NAME, lambda: os.path.exists(path) and os.path.getsize(path) == FILE_SIZE, 120.0)
    e2e.check(e2e.read_bytes(path) == expected, "lexorant.exe wrote another file than Linux")
    e2e.check(not s.windows("^Fehler$"), "an error box is open after a clean read")
    print("read: O:\\geraete\\Lexorant\\%s is byte for byte the Linux file (%d bytes)" % (NAME, FILE_SIZE))
    shot = os.path.join(ARGS.out, "window-after-read.png")
    subprocess.run(["import", "-window", "root", shot], env=s.env, check=True, timeout=60)
    if ARGS.picture:
        shutil.copyfile(shot, ARGS.picture)
    s.key(window, "alt+F4")
    ends(process, "Alt+F4")
    sim.stop()
    print("read: the screenshot is %s; Alt+F4 ended the program" % shot)
    return path


def clipboard(s):
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=s.env,
                            capture_output=True, timeout=20)
    return result.stdout.decode(errors="replace") if result.returncode == 0 else ""


def windows_open(s, w, path):
    process, window = w.start()
    s.key(window, "ctrl+o")
    # Wine's open dialog has no title of its own: it is the window that takes the input focus.
    def dialog():
        focus = s.xdotool("getwindowfocus").stdout.strip()
        return focus.isdigit() and int(focus) != window and int(focus)
    e2e.wait_for("the open dialog to take the input focus", dialog, 60.0)
    s.xdotool("type", "--delay", "2", WINDOWS_NAME, check_result=True)
    s.xdotool("key", "Return", check_result=True)
    caption = e2e.file_caption(WINDOWS_NAME)
    e2e.wait_for("the caption %r" % caption, lambda: s.window_name(window) == caption, 60.0)

    # The grid's first cell is current; one row down is the first entry's date.
    show = subprocess.run([s.cli_program, "show", path], env=s.env, capture_output=True,
                          check=True, timeout=60).stdout.decode().splitlines()
    headings, first = show[0].split("\t"), show[1].split("\t")
    expected = first[headings.index("Date")]
    s.key(window, "Down", "ctrl+Insert")
    copied = e2e.wait_for("the copied cell on the clipboard", lambda: clipboard(s), 30.0)
    e2e.check(copied == expected, "the grid shows %r where lexorant-cli show prints %r"
              % (copied, expected))
    print("open: the caption names the file; the first entry's date %s is what lexorant-cli show "
          "prints" % copied)
    s.key(window, "alt+f", "e")
    ends(process, "File > Exit")
    print("open: File > Exit ended the program")


def installer(s, w):
    result = w.wine("msiexec", "/i", ARGS.msi, "/qn")
    e2e.check(result.returncode == 0, "msiexec /i failed (%d)" % result.returncode)
    installed = w.unix_path(INSTALLED)
    e2e.check(os.path.isfile(installed), "no %s after the installation" % INSTALLED)
    progid = w.wine("reg", "query", "HKLM\\Software\\Classes\\.inf\\OpenWithProgids").stdout.decode()
    e2e.check("BrennoLexorant.inf" in progid, "\".inf\" does not offer lexorant.exe: %s" % progid)
    command = w.wine("reg", "query",
                     "HKLM\\Software\\Classes\\BrennoLexorant.inf\\shell\\open\\command").stdout.decode()
    e2e.check('"%s" "%%1"' % INSTALLED in command, "the open command is %r" % command)
    smoke = w.wine(INSTALLED, "--smoke-test", timeout=180)
    e2e.check(smoke.returncode == 0 and b"the window has been drawn" in smoke.stderr,
              "the installed lexorant.exe --smoke-test failed (%d): %s"
              % (smoke.returncode, smoke.stderr.decode(errors="replace")))
    print("installer: installed to %s, \".inf\" offers it, --smoke-test drew the window" % INSTALLED)

    result = w.wine("msiexec", "/x", ARGS.msi, "/qn")
    e2e.check(result.returncode == 0, "msiexec /x failed (%d)" % result.returncode)
    folder = os.path.dirname(installed)
    e2e.check(not os.path.exists(folder), "%s is still there after the uninstall: %s"
              % (folder, os.listdir(folder) if os.path.isdir(folder) else ""))
    left = w.wine("reg", "query", "HKLM\\Software\\Classes\\BrennoLexorant.inf")
    e2e.check(left.returncode != 0, "the file type is still registered after the uninstall")
    shortcuts = subprocess.run(["find", os.path.join(ARGS.prefix, "drive_c"), "-name", "Brenno Lexorant.lnk"],
                               capture_output=True, text=True).stdout.strip()
    e2e.check(not shortcuts, "the Start-menu entry is still there: %s" % shortcuts)
    print("installer: msiexec /x removed the folder, the file type and the Start-menu entry")


def scenario(s):
    os.makedirs(ARGS.out, exist_ok=True)
    expected = linux_read(s)
    w = WineSide(s)
    path = windows_read(s, w, expected)
    windows_open(s, w, path)
    if ARGS.msi:
        installer(s, w)
    notes = os.path.join(ARGS.out, "wine-differences.txt")
    with open(notes, "w") as f:
        f.write("".join(line + "\n" for line in WINE_DIFFERENCES))
    print("Where Wine differs from Windows (%s):" % notes)
    for line in WINE_DIFFERENCES:
        print("  - " + line)


e2e.run("wine_window", scenario)
