"""Helpers for the end-to-end scenarios: a private X server, a private device folder, the
simulated unit, the window program, and xdotool to drive it.

Every scenario runs as  python3 <scenario>.py <build folder>  and ends with exit code 0 on
success; a failed check raises Failure, which prints the reason and gives exit code 1.
With LEXORANT_E2E_KEEP=1 the scenario's folder (screenshots, the program's error output) is kept.
"""

import ctypes
import ctypes.util
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

START_CAPTION = "Brenno Lexorant V1.3"
AUTOSAVE_FOLDER = "O:\\geraete\\Lexorant"


class Failure(Exception):
    pass


class BoxInTheWay(Failure):
    """A modal box of the program holds the input focus."""

    def __init__(self, window_id, caption):
        super().__init__("a box captioned %r is open" % caption)
        self.window_id = window_id
        self.caption = caption


# Captions of the program's modal boxes: errors (and the lost line), the quit question, the question
# whether to continue a kept read-out, errors that escaped a handler.
BOX_CAPTIONS = "^(Fehler|Warnung|Frage|Brenno Lexorant)$"


def check(condition, message):
    if not condition:
        raise Failure(message)


def file_caption(name):
    return "Brenno Lexorant V1.2 - [" + name + "]"


# Deadlines are generous: CI runs the scenarios two at a time on two busy cores. They only bound
# how long a failing scenario takes.
def wait_for(what, predicate, timeout=20.0, interval=0.05):
    """Polls predicate until it returns something true; returns that value or fails."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Simulator:
    """lexorant-sim on a pseudo-terminal, linked as a COM port of the session's device folder."""

    def __init__(self, session, args, link="com1"):
        command = [session.sim_program]
        if link:
            command += ["--link", link]
        command += list(args)
        self.process = subprocess.Popen(command, env=session.env, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        session.cleanups.append(self.stop)
        # The first line names the pseudo-terminal; the link exists once it is printed.
        ready, _, _ = select.select([self.process.stdout], [], [], 10.0)
        check(ready, "the simulator printed no device within 10 s")
        self.pty = self.process.stdout.readline().decode().strip()
        check(self.pty.startswith("/dev/"), "the simulator printed %r, not a device" % self.pty)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def kill(self):
        """Ends the unit the hard way, as a pulled cable would: no clean-up of its link."""
        self.process.kill()
        self.process.wait()


class Window:
    """The running window program."""

    def __init__(self, session, args=(), preexec=None):
        self.session = session
        self.stderr_path = os.path.join(session.tmp, "lexorant-%d.stderr" % len(session.cleanups))
        self.stderr_file = open(self.stderr_path, "wb")
        self.process = subprocess.Popen([session.window_program] + list(args), env=session.env,
                                        stdout=subprocess.DEVNULL, stderr=self.stderr_file,
                                        stdin=subprocess.DEVNULL, cwd=session.tmp,
                                        preexec_fn=preexec)
        session.cleanups.append(self.stop)
        # By caption and process: the window of a program stopped just before may still be on screen.
        # A program that has ended will never show its window: say so at once, with what it said.
        def shown():
            if self.process.poll() is not None:
                self.stderr_file.flush()
                with open(self.stderr_path, "rb") as err:
                    said = err.read().decode(errors="replace").strip()
                raise Failure("the program ended with %s before its window showed: %s"
                              % (self.process.returncode, said or "(nothing on standard error)"))
            return self.session.find_window("^" + re.escape(START_CAPTION) + "$", pid=self.process.pid)
        # Start-up is the slowest step on a loaded machine (Qt, fonts, the port scan).
        self.id = wait_for("the main window", shown, timeout=90.0)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stderr_file.close()

    def alive(self):
        return self.process.poll() is None

    def stderr(self):
        self.stderr_file.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def caption(self):
        return self.session.window_name(self.id)

    def wait_caption(self, expected, timeout=20.0):
        wait_for("the caption %r (it is %r)" % (expected, self.caption()),
                 lambda: self.caption() == expected, timeout)

    def key(self, *keys):
        self.session.key(self.id, *keys)

    def key_until(self, what, done, *keys, timeout=30.0, every=3.0):
        """Sends the keys, and again every few seconds, until done() gives something true; returns
        it. At the end of a read the menus come back a moment after the file is written or the
        last box is closed, and nothing on screen shows when: keys typed before are dropped. A
        read or dialog that has started locks the same keys, so a repeat does nothing then."""
        deadline = time.monotonic() + timeout
        while True:
            value = done()
            if value:
                return value
            self.key(*keys)
            left = deadline - time.monotonic()
            try:
                return wait_for(what, done, timeout=max(0.1, min(every, left)))
            except BoxInTheWay:
                raise
            except Failure:
                if time.monotonic() >= deadline:
                    raise

    def start_read(self, caption, *keys, timeout=30.0):
        """Ctrl+R (after the given keys) until the caption names the read's file."""
        self.key_until("the caption %r" % caption, lambda: self.caption() == caption, *keys, "ctrl+r",
                       timeout=timeout)

    def check_alive(self):
        check(self.alive(), "the program ended (exit code %s); standard error:\n%s"
              % (self.process.returncode, self.stderr()))


class Session:
    """One scenario's world: Xvfb, a temporary folder with the device folder and the drive o:."""

    def __init__(self, name):
        if len(sys.argv) < 2:
            sys.exit("usage: %s BUILD_FOLDER" % sys.argv[0])
        self.name = name
        self.build = os.path.abspath(sys.argv[1])
        self.window_program = os.path.join(self.build, "lexorant")
        self.sim_program = os.path.join(self.build, "lexorant-sim")
        self.cli_program = os.path.join(self.build, "lexorant-cli")
        self.shots = os.path.join(self.build, "e2e-shots")
        os.makedirs(self.shots, exist_ok=True)
        self.cleanups = []
        self.tmp = tempfile.mkdtemp(prefix="lexorant-e2e-%s-" % name)
        self.config = os.path.join(self.tmp, "config")
        self.devices = os.path.join(self.config, "brenno-lexorant", "dosdevices")
        self.drive = os.path.join(self.tmp, "drive-o")
        self.autosave_folder = os.path.join(self.drive, "geraete", "Lexorant")
        runtime = os.path.join(self.tmp, "runtime")
        os.makedirs(self.devices)
        os.makedirs(self.drive)
        os.mkdir(runtime, 0o700)
        # Every port leads nowhere until a simulator links itself in; no real port is probed.
        for n in range(1, 16):
            os.symlink(os.path.join(self.tmp, "no-such-port-%d" % n),
                       os.path.join(self.devices, "com%d" % n))
        os.symlink(self.drive, os.path.join(self.devices, "o:"))
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.tmp,
            "XDG_CONFIG_HOME": self.config,
            "XDG_RUNTIME_DIR": runtime,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            "QT_ACCESSIBILITY": "0",
            "NO_AT_BRIDGE": "1",
        }
        self.display = None
        self.xvfb = None

    # ---- X server -------------------------------------------------------------------------

    def start_x(self):
        first = 140 + (os.getpid() % 50) * 2
        for n in list(range(first, 240)) + list(range(140, first)):
            if os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
                continue
            # -noreset: the server keeps running, unchanged, when its last client (a window manager
            # that is taken down, say) leaves.
            process = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                        "-noreset"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       stdin=subprocess.DEVNULL)
            deadline = time.monotonic() + 30
            while process.poll() is None and time.monotonic() < deadline:
                # Another session may have started a server on the same number a moment earlier: the
                # one that answers is ours only when the display's lock names our process.
                if self._locked_by(n, process) and self._x_answers(n):
                    self.xvfb = process
                    self.display = ":%d" % n
                    self.env["DISPLAY"] = self.display
                    return
                time.sleep(0.05)
            if process.poll() is None:
                process.kill()
            process.wait()
        raise Failure("no free X display between :140 and :239")

    @staticmethod
    def _locked_by(n, process):
        try:
            with open("/tmp/.X%d-lock" % n) as lock:
                return lock.read().strip() == str(process.pid)
        except (OSError, ValueError):
            return False

    def _x_answers(self, n):
        env = dict(self.env, DISPLAY=":%d" % n)
        return subprocess.run(["xdotool", "getmouselocation"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def start_window_manager(self):
        """openbox on the session's display, as on a user's desktop: it frames, places and maximises
        the windows and gives the focus to the one it activates. Taken down with the session."""
        process = subprocess.Popen(["openbox", "--sm-disable"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)

        def stop():
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.cleanups.append(stop)

        # A window manager that runs names itself on the root window.
        def running():
            check(process.poll() is None, "openbox ended with %s" % process.returncode)
            return "window id #" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                                  capture_output=True, text=True, timeout=20).stdout
        wait_for("the window manager", running, timeout=30.0)

    def xdotool(self, *args, check_result=False):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, capture_output=True,
                                text=True, timeout=20)
        if check_result and result.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
        return result

    def mapped_windows(self, *patterns):
        """(id, caption, pop-up) of the mapped windows whose caption matches any of the regular
        expressions, in stacking order (the topmost last), from one look at the screen.
        Pop-ups (menus, completion lists: override-redirect windows, which xdotool's search misses)
        count too, marked as such: they share the application's caption with the stop box."""
        # The whole tree: under a window manager a program's window sits inside the manager's frame.
        listing = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, capture_output=True,
                                 text=True, timeout=20).stdout
        found = []
        for line in listing.splitlines():
            match = re.match(r'\s*(0x[0-9a-f]+) "(.*)": \(', line)
            if not match or not any(re.search(p, match.group(2)) for p in patterns):
                continue
            state = subprocess.run(["xwininfo", "-id", match.group(1)], env=self.env, capture_output=True,
                                   text=True, timeout=20).stdout
            if "Map State: IsViewable" in state:
                found.append((int(match.group(1), 16), match.group(2),
                              "Override Redirect State: yes" in state or
                              self.helper_window(match.group(1), match.group(2))))
        return found

    def helper_window(self, window_id, caption):
        """Whether a window that carries the application's name is something other than its stop
        box: every window without a title of its own (a tooltip, a list, a drag image) gets that
        name, while the box is a dialog."""
        if caption != "Brenno Lexorant":
            return False
        types = subprocess.run(["xprop", "-id", window_id, "_NET_WM_WINDOW_TYPE"], env=self.env,
                               capture_output=True, text=True, timeout=20).stdout
        return "_NET_WM_WINDOW_TYPE_DIALOG" not in types

    def windows(self, pattern):
        """Ids of the mapped top-level windows whose caption matches, in stacking order."""
        return [window_id for window_id, _, _ in self.mapped_windows(pattern)]

    def boxes(self):
        """Ids of the program's modal boxes on screen (pop-ups of the same caption left out)."""
        return [w for w, _, popup in self.mapped_windows(BOX_CAPTIONS) if not popup]

    def find_window(self, pattern, pid=None):
        ids = self.windows(pattern)
        if pid is not None:
            ids = [i for i in ids if self.xdotool("getwindowpid", i).stdout.strip() == str(pid)]
        return ids[-1] if ids else None

    def window_name(self, window_id):
        result = self.xdotool("getwindowname", window_id)
        return result.stdout.rstrip("\n") if result.returncode == 0 else None

    def wait_window(self, pattern, timeout=20.0):
        """Waits for a window captioned to match; a box of the program that shows up instead
        raises BoxInTheWay."""
        def seen():
            # One look for both: a window that shows up between two looks must not count as a box
            # in the way when it is the one awaited.
            found = self.mapped_windows(pattern, BOX_CAPTIONS)
            awaited = [w for w, caption, _ in found if re.search(pattern, caption)]
            if awaited:
                return awaited[-1]
            for box, caption, popup in found:
                if not popup and self.keeps_caption(box, caption):
                    raise BoxInTheWay(box, caption)
            return None

        return wait_for("a window captioned /%s/" % pattern, seen, timeout)

    def keeps_caption(self, window_id, caption):
        """Whether a box still has its caption a while on. A dialog that the program has just made
        carries the application's name until its own title reaches the X server: the awaited
        dialog itself, seen a moment too early, not the stop box (which keeps the name)."""
        if caption != "Brenno Lexorant":
            return True
        try:
            wait_for("a title of its own on window %d" % window_id,
                     lambda: self.window_name(window_id) != caption, timeout=5.0)
            return False
        except Failure:
            return True

    def wait_no_window(self, pattern, timeout=20.0):
        wait_for("no window captioned /%s/" % pattern, lambda: not self.windows(pattern), timeout)

    def focus(self, window_id):
        """Gives the window the input focus. When a modal box of the program takes it instead (the
        program passes the focus on to its open box), raises BoxInTheWay."""
        # No window manager: the program takes a window for active only when the pointer is on it
        # as the input focus arrives, so move the pointer there first, then set the focus.
        self.xdotool("mousemove", "--window", window_id, 20, 40)
        self.xdotool("windowfocus", window_id)

        def focused():
            text = self.xdotool("getwindowfocus").stdout.strip()
            if text == str(window_id):
                return "target"
            if not text.isdigit():
                return None
            for w, caption, popup in self.mapped_windows(BOX_CAPTIONS):
                if w == int(text):
                    # Keys typed into one of the program's pop-ups reach it as a user's would.
                    if popup:
                        return "target"
                    return text if self.keeps_caption(w, caption) else None
            return None

        where = wait_for("the input focus on window %d" % window_id, focused, timeout=10)
        if where != "target":
            raise BoxInTheWay(int(where), self.window_name(int(where)))

    def key(self, window_id, *keys):
        self.focus(window_id)
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k, check_result=True)

    def type_text(self, window_id, text):
        self.focus(window_id)
        self.xdotool("type", "--delay", "2", "--clearmodifiers", text, check_result=True)

    def request_close(self, window_id):
        """Asks the window to close the way a window manager's close box or Alt+F4 does: a
        WM_DELETE_WINDOW message of the WM_PROTOCOLS protocol."""
        send_delete_window(self.display, window_id)

    def open_through_dialog(self, window, path):
        """Ctrl+O, the full path into the dialog's name field, Return."""
        window.key("ctrl+o")
        dialog = self.wait_window("^Open$")
        self.fill_file_dialog(dialog, path)
        self.wait_no_window("^Open$")

    def fill_file_dialog(self, dialog, path):
        """Types the full path into a file dialog's name field and confirms it with Return."""
        self.key(dialog, "ctrl+a")
        self.type_text(dialog, path)
        self.key(dialog, "Return")

    def screenshot(self, suffix=""):
        path = os.path.join(self.shots, self.name + suffix + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        return path

    # ---- Programs ---------------------------------------------------------------------------

    def simulator(self, *args, link="com1"):
        return Simulator(self, args, link)

    def window(self, *args, preexec=None):
        return Window(self, args, preexec)

    def cli(self, *args, timeout=30):
        return subprocess.run([self.cli_program] + [str(a) for a in args], env=self.env, capture_output=True,
                              timeout=timeout, cwd=self.tmp)

    def reference_file(self, name, *sim_args):
        """A read-out of an unpaced simulator with the given data options, written by lexorant-cli."""
        sim = self.simulator("--unpaced", *sim_args, link=None)
        path = os.path.join(self.tmp, name)
        result = self.cli("read", sim.pty, "--output", path)
        sim.stop()
        check(result.returncode == 0, "lexorant-cli read failed (%d): %s"
              % (result.returncode, result.stderr.decode(errors="replace")))
        return path

    def close_error_box(self, timeout=20.0):
        """Waits for a "Fehler" box and closes it with Return (its one button, "OK")."""
        box = self.wait_window("^Fehler$", timeout)
        self.key(box, "Return")
        wait_for("the error box to close", lambda: box not in self.windows("^Fehler$"))
        return box

    def answer_question(self, key="Return", timeout=20.0):
        """Waits for the question whether to continue a kept read-out ("Frage") and answers it:
        Return is "&Ja" (continue it), Escape "&Nein" (read anew)."""
        box = self.wait_window("^Frage$", timeout)
        self.key(box, key)
        wait_for("the question to close", lambda: box not in self.windows("^Frage$"))
        return box

    def close(self):
        for cleanup in reversed(self.cleanups):
            try:
                cleanup()
            except Exception:
                traceback.print_exc()
        if self.xvfb is not None and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
        if not os.environ.get("LEXORANT_E2E_KEEP"):
            shutil.rmtree(self.tmp, ignore_errors=True)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("client", _ClientMessage), ("pad", ctypes.c_long * 24)]


def send_delete_window(display_name, window_id):
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(_Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(display_name.encode())
    check(display, "cannot open the display %s" % display_name)
    try:
        event = _Event()
        event.client.type = 33  # ClientMessage
        event.client.send_event = 1
        event.client.display = display
        event.client.window = window_id
        event.client.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = 0  # CurrentTime
        check(xlib.XSendEvent(display, window_id, 0, 0, ctypes.byref(event)) != 0, "XSendEvent failed")
        xlib.XFlush(display)
    finally:
        xlib.XCloseDisplay(display)


def run(name, scenario):
    """Runs scenario(session) in a fresh session; always takes the X server and the programs down."""
    session = Session(name)
    code = 1
    try:
        session.start_x()
        scenario(session)
        code = 0
    except Failure as failure:
        print("FAILED: %s" % failure, file=sys.stderr)
        # Where in the scenario it stopped, and what the box in the way was.
        traceback.print_tb(failure.__traceback__, file=sys.stderr)
        if isinstance(failure, BoxInTheWay):
            try:
                print(subprocess.run(["xprop", "-id", str(failure.window_id)], env=session.env,
                                     capture_output=True, text=True, timeout=20).stdout, file=sys.stderr)
            except Exception:
                pass
    except Exception:
        traceback.print_exc()
    finally:
        if session.display:
            try:
                session.screenshot("-end")
            except Exception:
                pass
        session.close()
    sys.exit(code)
