"""A virtual X display of the suite's own, on a display number that the server picks."""
import os
import select
import subprocess
import time
from pathlib import Path

from . import slowness
from .paths import HarnessError
from .proc import stop, wait_until


class Xvfb:
    def __init__(self, log_dir: Path, size="1024x768x24", name="xvfb"):
        self.size = size
        self.log_path = log_dir / f"{name}.log"
        self.proc = None
        self.display = None

    def start(self, timeout=20.0):
        read_fd, write_fd = os.pipe()
        log = open(self.log_path, "wb")
        # -displayfd: the server takes the first free display number and writes it to the
        # pipe once it accepts connections, so there is neither a race nor a poll.
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.size,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=log, stderr=subprocess.STDOUT,
            stdin=subprocess.DEVNULL)
        os.close(write_fd)
        log.close()
        # The number and its line end may come in two writes; closing the pipe between
        # them makes the server die of the failed second write.
        data = b""
        deadline = time.monotonic() + slowness.deadline(timeout)
        while not data.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready, _, _ = select.select([read_fd], [], [], max(left, 0))
            chunk = os.read(read_fd, 64) if ready else b""
            if not chunk:
                break
            data += chunk
        os.close(read_fd)
        number = data.decode().strip() if data.endswith(b"\n") else ""
        if not number:
            self.stop()
            raise HarnessError(f"Xvfb did not start; see {self.log_path}")
        self.display = ":" + number
        return self

    def split_into_monitors(self, *monitors):
        """Splits the screen into monitors, each (width, height, x, y) in pixels of 96 dpi
        (RandR 1.5 monitors, which the server also reports through Xinerama). The first takes
        the screen's one output, which makes it the primary."""
        for number, (width, height, x, y) in enumerate(monitors):
            geometry = f"{width}/{round(width * 25.4 / 96)}x{height}/{round(height * 25.4 / 96)}"
            subprocess.run(["xrandr", "--display", self.display, "--setmonitor", f"M{number}",
                            f"{geometry}+{x}+{y}", "screen" if number == 0 else "none"],
                           check=True, timeout=slowness.deadline(30), capture_output=True,
                           stdin=subprocess.DEVNULL)

    def screenshot(self, path: Path):
        """The whole screen as a PNG (ImageMagick's import)."""
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       check=True, timeout=slowness.deadline(30), stdin=subprocess.DEVNULL)
        return path

    def xdotool(self, *args, timeout=15):
        env = dict(os.environ, DISPLAY=self.display)
        return subprocess.run(["xdotool", *map(str, args)], env=env, check=True,
                              timeout=slowness.deadline(timeout), capture_output=True,
                              text=True).stdout

    def pointer_on_window(self, x, y, name=None, timeout=30.0):
        """Moves the pointer to (x, y) and waits until the display has a window there (titled
        `name` when given). A window that Windows already calls visible may not be mapped on
        the display yet; input sent before it is would go to the root window."""
        root = self._root_window()

        def over():
            out = self.xdotool("mousemove", x, y, "getmouselocation", "--shell")
            window = int(dict(line.split("=", 1) for line in out.split())["WINDOW"])
            if window == root:
                return False
            return name is None or self.xdotool("getwindowname", window).strip() == name
        wait_until(over, timeout, interval=0.05,
                   what=f"a window {name or ''} on the display at ({x}, {y})")

    def drag(self, x, y, dx, dy, button=1, steps=6, name=None):
        """Presses a mouse button at screen point (x, y) on the window there, moves by
        (dx, dy) in steps and releases: real X input, as a user's hand gives it."""
        self.pointer_on_window(x, y, name)
        args = ["mousemove", x, y, "mousedown", button]
        for i in range(1, steps + 1):
            args += ["sleep", 0.05, "mousemove", x + dx * i // steps, y + dy * i // steps]
        self.xdotool(*args, "sleep", 0.1, "mouseup", button)

    def _root_window(self):
        out = subprocess.run(["xwininfo", "-root", "-display", self.display], check=True,
                             timeout=slowness.deadline(15), capture_output=True, text=True).stdout
        for line in out.splitlines():
            if "Window id:" in line:
                return int(line.split("Window id:")[1].split()[0], 16)
        raise HarnessError("xwininfo named no root window")

    def stop(self):
        if self.proc:
            stop(self.proc)
            self.proc = None
