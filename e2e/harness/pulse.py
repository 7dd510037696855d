"""A PulseAudio server of the suite's own with one null sink, and recording of what is
played into it. wine's audio driver finds the server through PULSE_SERVER."""
import os
import signal
import subprocess
import time
from pathlib import Path

from .paths import HarnessError, ensure_dir
from .proc import stop, wait_until

SINK = "e2e_sink"


class PulseServer:
    def __init__(self, state_dir: Path):
        self.dir = ensure_dir(state_dir)
        self.socket = self.dir / "native"
        self.log_path = self.dir / "pulseaudio.log"
        self.proc = None

    @property
    def server(self):
        return f"unix:{self.socket}"

    def client_env(self):
        return {"PULSE_SERVER": self.server, "PULSE_RUNTIME_PATH": str(self.dir),
                "PULSE_STATE_PATH": str(self.dir)}

    def _env(self):
        env = dict(os.environ)
        env.update(self.client_env())
        env.update({"HOME": str(self.dir), "XDG_RUNTIME_DIR": str(self.dir),
                    "XDG_CONFIG_HOME": str(self.dir)})
        return env

    def start(self, timeout=20.0):
        if self.socket.exists():
            self.socket.unlink()
        log = open(self.log_path, "wb")
        # -n: none of the system's default modules (no ALSA devices, no D-Bus, no X11
        # bell); only the protocol socket and the null sink the tests listen to.
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
             "--use-pid-file=no", "--realtime=false", "--high-priority=false",
             "--disable-shm=yes", "--log-target=stderr",
             "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1",
             "-L", f"module-null-sink sink_name={SINK} rate=44100 channels=2",
             "-L", "module-always-sink"],
            env=self._env(), stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        try:
            wait_until(self._answers, timeout, interval=0.2, what="the PulseAudio server")
        except TimeoutError:
            self.stop()
            raise HarnessError(f"PulseAudio did not start; see {self.log_path}")
        self.pactl("set-default-sink", SINK)
        return self

    def _answers(self):
        if self.proc.poll() is not None:
            raise HarnessError(f"PulseAudio exited; see {self.log_path}")
        r = subprocess.run(["pactl", "info"], env=self._env(), capture_output=True,
                           timeout=10)
        return r.returncode == 0

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self._env(), check=True,
                              capture_output=True, text=True, timeout=10).stdout

    def record(self, path: Path):
        """Starts recording the null sink's monitor into a WAV file (mono, 44.1 kHz)."""
        return Recording(self, path)

    def stop(self):
        if self.proc:
            stop(self.proc)
            self.proc = None


class Recording:
    """parecord on the sink's monitor; stop() finishes the WAV file."""

    def __init__(self, server: PulseServer, path: Path):
        self.path = path
        self.proc = subprocess.Popen(
            ["parecord", f"--device={SINK}.monitor", "--file-format=wav", "--rate=44100",
             "--channels=1", "--format=s16le", "--latency-msec=20", str(path)],
            env=server._env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE)
        # parecord connects asynchronously: recording starts only once the server lists
        # its stream, and on a busy machine that takes far longer than a fixed pause.
        deadline = time.monotonic() + 15
        while not self._stream_listed(server):
            if self.proc.poll() is not None:
                raise HarnessError("parecord ended at once: " +
                                   self.proc.stderr.read().decode(errors="replace"))
            if time.monotonic() > deadline:
                raise HarnessError("parecord did not connect to the sound server in 15 s")
            time.sleep(0.05)
        time.sleep(0.1)

    @staticmethod
    def _stream_listed(server):
        listed = subprocess.run(["pactl", "list", "short", "source-outputs"],
                                env=server._env(), stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=10)
        return listed.returncode == 0 and listed.stdout.strip() != ""

    def stop(self):
        # SIGINT makes parecord drain and write the WAV header's final sizes.
        stop(self.proc, sig=signal.SIGINT, timeout=5)
        return self.path

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
