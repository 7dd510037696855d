"""A PulseAudio server of the suite's own with one null sink, and recording of what is
played into it. wine's audio driver finds the server through PULSE_SERVER."""
import os
import signal
import subprocess
import threading
from pathlib import Path

from . import audio, pace, slowness
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
                           timeout=slowness.deadline(10))
        return r.returncode == 0

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self._env(), check=True,
                              capture_output=True, text=True, timeout=slowness.deadline(10)).stdout

    def record(self, path: Path):
        """Starts recording the null sink's monitor into a WAV file (mono, 44.1 kHz)."""
        return Recording(self, path)

    def stop(self):
        if self.proc:
            stop(self.proc)
            self.proc = None


class Recording:
    """parecord on the sink's monitor, mono 44.1 kHz; stop() finishes the WAV file.

    The constructor returns only once the recording is live: the sink's monitor is delivering
    data into the file. A stream that the server lists may still take a while before its
    first data arrives, and a sound played in that while would be lost."""

    LIVE_TIMEOUT = 30.0

    def __init__(self, server: PulseServer, path: Path):
        self.path = path
        self.proc = subprocess.Popen(
            ["parecord", f"--device={SINK}.monitor", "--file-format=wav", "--rate=44100",
             "--channels=1", "--format=s16le", "--latency-msec=20", str(path)],
            env=server._env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE)
        self._resume = None
        wait_until(lambda: self._check_running() and self._stream_listed(server),
                   self.LIVE_TIMEOUT, interval=0.05, what="parecord's stream on the server")
        if pace.delay():
            # A slowed harness: the capture stalls after connecting, as a loaded machine's
            # recorder may.
            os.kill(self.proc.pid, signal.SIGSTOP)
            self._resume = threading.Timer(pace.delay(), self._continue)
            self._resume.start()
        self._wait_live()

    def _check_running(self):
        if self.proc.poll() is not None:
            raise HarnessError("parecord ended: " +
                               self.proc.stderr.read().decode(errors="replace"))
        return True

    @staticmethod
    def _stream_listed(server):
        listed = subprocess.run(["pactl", "list", "short", "source-outputs"],
                                env=server._env(), stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=slowness.deadline(10))
        return listed.returncode == 0 and listed.stdout.strip() != ""

    def _wait_live(self):
        # While nothing plays, the null sink's monitor delivers silence in real time, so a
        # live recording keeps growing: data, and then more data a moment later.
        first = wait_until(lambda: self._check_running() and self.seconds(),
                           self.LIVE_TIMEOUT, interval=0.02, what="the recording's first data")
        wait_until(lambda: self._check_running() and self.seconds() >= first + 0.05,
                   self.LIVE_TIMEOUT, interval=0.02, what="the recording to keep growing")

    def _continue(self):
        if self.proc.poll() is None:
            os.kill(self.proc.pid, signal.SIGCONT)

    def samples(self):
        """(rate, samples) recorded so far."""
        return audio.read_growing(self.path)

    def seconds(self):
        """How much sound the file holds so far."""
        rate, samples = self.samples()
        return len(samples) / rate if rate else 0.0

    def wait_recorded(self, seconds, timeout=60.0):
        """Waits until the recording holds `seconds` more than it does now."""
        goal = self.seconds() + seconds
        wait_until(lambda: self._check_running() and self.seconds() >= goal, timeout,
                   interval=0.1, what=f"{seconds} s more of the recording")

    def wait_sound_end(self, timeout=60.0, quiet=0.5):
        """Waits until a sound has been recorded and then `quiet` seconds of silence after it,
        so the whole sound is in the file."""
        def ended():
            self._check_running()
            rate, samples = self.samples()
            loud = audio.loud_windows(samples, rate) if rate else []
            if True not in loud:
                return False
            last = len(loud) - 1 - loud[::-1].index(True)
            return (len(loud) - 1 - last) * 0.01 >= quiet
        wait_until(ended, timeout, interval=0.2, what="a sound and the silence after it")

    def stop(self):
        if self._resume is not None:
            self._resume.cancel()
            self._continue()
        # SIGINT makes parecord drain and write the WAV header's final sizes.
        stop(self.proc, sig=signal.SIGINT, timeout=5)
        return self.path

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
