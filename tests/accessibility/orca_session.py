"""A private desktop session with the Orca screen reader, for tests that check what it says.

Run inside a session bus and an X server (dbus-run-session, xvfb-run). Speech goes from Orca
through speech-dispatcher to a generic module that only writes the text down; what Orca said
is read from its debug log, which Orca writes to a pseudo-terminal so that every line arrives
at once (to a file it would buffer them, and a killed Orca loses the last ones).
"""
import os
import pty
import re
import signal
import subprocess
import sys
import threading
import time
import tty

SPOKEN = re.compile(r" - SPEECH OUTPUT: '(.*)'\s*\{")

# Orca, whose check for a screen reader already running sees only this session's: its own
# check sees every Orca of the user, another session's too.
def end_process_group(leader):
    """Ends a process with every process it started: a browser's helpers go on writing to
    their profile for a while after the browser itself has gone, and the profile is removed
    next."""
    try:
        os.killpg(leader.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    try:
        leader.wait(timeout=10)
    except subprocess.TimeoutExpired:
        os.killpg(leader.pid, signal.SIGKILL)
        leader.wait()
    for _ in range(50):
        try:
            os.killpg(leader.pid, 0)
        except ProcessLookupError:
            return
        time.sleep(0.1)
    os.killpg(leader.pid, signal.SIGKILL)
    time.sleep(0.5)


ORCA = """
import importlib.machinery, importlib.util, os, sys
loader = importlib.machinery.SourceFileLoader("orca_program", "/usr/bin/orca")
orca = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
loader.exec_module(orca)
session = ("DBUS_SESSION_BUS_ADDRESS=" + os.environ["DBUS_SESSION_BUS_ADDRESS"]).encode()

def in_session(pid):
    try:
        with open(f"/proc/{pid}/environ", "rb") as environment:
            return session in environment.read().split(b"\\0")
    except OSError:
        return False

every_orca = orca.otherOrcas
orca.otherOrcas = lambda: [pid for pid in every_orca() if in_session(pid)]
sys.exit(orca.main())
"""


class OrcaLog:
    """Orca's debug log as it is written; keeps every line and every utterance."""

    def __init__(self, path):
        self._master, self._slave = pty.openpty()  # held open: the log lives until Orca ends
        tty.setraw(self._slave)  # no line-end translation
        self.terminal = os.ttyname(self._slave)
        self._file = open(path, "w", encoding="utf-8")
        self._lines = []
        self._lock = threading.Lock()
        self._last_change = time.monotonic()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self._master, 65536)
            except OSError:
                return
            if not chunk:
                return
            pending += chunk
            *complete, pending = pending.split(b"\n")
            with self._lock:
                for raw in complete:
                    line = raw.decode("utf-8", errors="replace")
                    self._file.write(line + "\n")
                    self._lines.append(line)
                    if SPOKEN.search(line):
                        self._last_change = time.monotonic()
                self._file.flush()

    def utterances(self):
        with self._lock:
            return [m.group(1) for m in map(SPOKEN.search, self._lines) if m]

    def wait(self, condition, seconds):
        """Waits until condition(utterances) holds; returns whether it did."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition(self.utterances()):
                return True
            time.sleep(0.1)
        return condition(self.utterances())

    def wait_quiet(self, seconds, longest=20.0):
        """Waits until Orca has said nothing new for `seconds`."""
        deadline = time.monotonic() + longest
        while time.monotonic() < deadline:
            with self._lock:
                quiet_for = time.monotonic() - self._last_change
            if quiet_for >= seconds:
                return
            time.sleep(0.1)


def _write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


class OrcaSession:
    """The accessibility bus, a window manager, speech and Orca, each stopped at the end."""

    def __init__(self, work):
        self.work = work
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.environment = dict(
            os.environ, HOME=home, XDG_RUNTIME_DIR=runtime,
            XDG_CONFIG_HOME=os.path.join(home, ".config"),
            XDG_CACHE_HOME=os.path.join(home, ".cache"),
            XDG_DATA_HOME=os.path.join(home, ".local", "share"),
            GSETTINGS_BACKEND="memory", LANG="C.UTF-8", LC_ALL="C.UTF-8",
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
        self._processes = []
        self.layout = "us"  # the X server's own keyboard
        self._configure_speech()
        self.log = OrcaLog(os.path.join(work, "orca.log"))

    def _configure_speech(self):
        config = os.path.join(self.environment["XDG_CONFIG_HOME"], "speech-dispatcher")
        module = os.path.join(config, "modules", "written.conf")
        spoken = os.path.join(self.work, "speech-dispatcher.txt")
        _write(os.path.join(config, "speechd.conf"), "\n".join([
            'LogLevel 3',
            f'LogDir "{os.path.join(self.work, "speech-dispatcher-log")}"',
            f'AddModule "written" "sd_generic" "{module}"',
            'DefaultModule written',
            'DefaultLanguage "ru"', '']))
        _write(module, "\n".join([
            f"GenericExecuteSynth \"printf %s \\'$DATA\\' >> {spoken}; echo >> {spoken}\"",
            'GenericLanguage "en" "en" "utf-8"',
            'GenericLanguage "ru" "ru" "utf-8"',
            'AddVoice "en" "MALE1" "en"',
            'AddVoice "ru" "MALE1" "ru"', '']))

    def start(self, name, command, wait=0.0):
        with open(os.path.join(self.work, f"{name}.out"), "w") as output:
            process = subprocess.Popen(command, env=self.environment, stdout=output,
                                       stderr=subprocess.STDOUT, start_new_session=True)
        self._processes.append(process)
        time.sleep(wait)
        return process

    def __enter__(self):
        self.start("at-spi-bus", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], 1)
        # Without a window manager no window is active once the dialog hides.
        self.start("metacity", ["metacity"], 1)
        self.start("speech-dispatcher", ["speech-dispatcher", "--spawn", "--timeout", "0"], 1)
        self.orca = self.start("orca", [sys.executable, "-c", ORCA,
                                        "--user-prefs", os.path.join(self.work, "orca"),
                                        f"--debug-file={self.log.terminal}"])
        if not self.log.wait(lambda said: "Screen reader on." in said, 30):
            raise AssertionError("Orca did not start")
        return self

    def __exit__(self, *failure):
        for process in reversed(self._processes):
            end_process_group(process)
        return False

    def key(self, name):
        # A Cyrillic letter is typed on a Russian keyboard, as a player types it, and every
        # other key on the default one, where xdotool finds it without remapping a key: a
        # remapped key races with the program's reading of the keyboard map. The layout
        # changes before a key, never right after one the program may not have read yet.
        layout = "ru" if "Cyrillic" in name else "us"
        if layout != self.layout:
            subprocess.run(["setxkbmap", layout], env=self.environment, check=True)
            self.layout = layout
            time.sleep(1)  # the program and Orca take in the new keyboard before its first key
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], env=self.environment,
                       check=True)

    def activate_window_of(self, process):
        for _ in range(100):
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                    str(process.pid)], env=self.environment,
                                   capture_output=True, text=True).stdout.split()
            if found:
                subprocess.run(["xdotool", "windowactivate", "--sync", found[0]],
                               env=self.environment, check=True)
                return
            time.sleep(0.1)
        raise AssertionError("the program shows no window")
