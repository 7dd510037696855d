"""The harness proves itself on its own sample program: the Japanese code page, reading
and answering a Japanese message box, a tooltip read across processes, a double-click
through X, and MCI playback captured from the sound server; and its `ambrel` fixture on
the real clock.

The window, message-box and sound cases run twice: as fast as the harness goes, and with
the harness slowed on purpose (every driver command and the recorder's start lagging by a
second), so that the program is far ahead of the harness, as it is where wine runs natively.
Either way the waits are for what is observed, never for one side being the slower."""
import os
import subprocess
import sys
import time

import pytest

from harness import audio, pace, slowness
from harness.headers import define
from harness.paths import windows_path
from harness.proc import WaitTimeout, wait_until

SAMPLE_CLASS = define("e2e/driver/SampleIds.h", "AMBREL_E2E_SAMPLE_CLASS")
BOX_TITLE = "e2e 確認"
BOX_TEXT = "設定ファイルが見つかりません、終了します。"


def test_ansi_code_page_is_japanese(driver):
    assert driver.acp() == 932
    assert driver.dpi()["screen"] == [1024, 768]


HARNESS_LAG = 1.0


@pytest.fixture(params=[0.0, HARNESS_LAG], ids=["harness-prompt", "harness-slowed"])
def harness_lag(request):
    with pace.slowed(request.param):
        yield request.param


def test_reads_and_answers_a_japanese_message_box(sample, driver, harness_lag):
    app = sample("--title", "時計 サンプル", "--msgbox", BOX_TEXT)
    main = app.wait_window(cls=SAMPLE_CLASS)
    assert main["title"] == "時計 サンプル"
    assert main["client"][2] - main["client"][0] > 0

    box = app.wait_msgbox(title=BOX_TITLE)
    assert box["text"] == BOX_TEXT
    assert box["icon"] is True
    assert [b["id"] for b in box["buttons"]] == [1, 2]  # OK, Cancel
    assert box["owner"] == main["hwnd"]

    driver.answer("Cancel", title=BOX_TITLE, exe=app.exe_name)
    driver.wait_gone(box["hwnd"])
    # MessageBoxW returns the pressed button's id, which the sample puts in its title.
    wait_until(lambda: driver.info(main["hwnd"])["title"] == "answer=2", 10,
               what="the answer in the title")


def test_a_timeout_says_what_it_waited_for_its_deadline_and_what_it_saw(sample, driver):
    app = sample()
    main = app.wait_window(cls=SAMPLE_CLASS)
    with pytest.raises(WaitTimeout) as timeout:
        app.wait_window(timeout=0.5, cls="NoSuchClass")
    text = str(timeout.value)
    assert "NoSuchClass" in text and "deadline 0.5 s x slowness" in text, text
    assert f"Windows processes [{main['pid']}]" in text, text
    assert f"{SAMPLE_CLASS} 'e2e サンプル' {main['hwnd']}" in text, text
    assert f"thread {main['tid']} answers" in text, text
    assert "the other Windows processes: " in text and "services.exe" in text, text


def test_the_slowness_follows_the_share_of_a_processor_the_harness_gets():
    # Three busy processes on the harness's one processor leave it about a quarter of it.
    cpu = min(os.sched_getaffinity(0))
    before = os.sched_getaffinity(0)
    hogs = [subprocess.Popen([sys.executable, "-c", "while True: pass"],
                             preexec_fn=lambda: os.sched_setaffinity(0, {cpu}))
            for _ in range(3)]
    try:
        os.sched_setaffinity(0, {cpu})
        loaded = slowness.probe()
    finally:
        os.sched_setaffinity(0, before)
        for hog in hogs:
            hog.kill()
            hog.wait()
    assert loaded > 2.5, loaded


def test_reads_a_label_and_its_tooltip_in_another_process(sample, driver):
    app = sample()
    main = app.wait_window(cls=SAMPLE_CLASS)
    label = driver.child(main["hwnd"], 100)
    assert label["class"].lower() == "static"
    assert label["text"] == "ダブルクリック 0 回"
    tools = driver.tooltip(label["hwnd"])
    assert [t["text"] for t in tools] == ["ツールチップの試験【設定 7時 5分 0秒】"]


def test_xdotool_double_click_reaches_the_window(sample, driver, xvfb, harness_lag):
    app = sample()
    main = app.wait_window(cls=SAMPLE_CLASS)
    left, top = main["client"][0], main["client"][1]
    xvfb.pointer_on_window(left + 150, top + 80, main["title"])
    xvfb.xdotool("mousemove", left + 150, top + 80, "click", "--repeat", 2, "--delay", 80, 1)
    label = driver.child(main["hwnd"], 100)["hwnd"]
    wait_until(lambda: driver.text(label) == "ダブルクリック 1 回", 10,
               what="the double-click to be counted")


def test_a_recording_starts_only_once_its_data_flows(record):
    # A slowed recorder connects at once but delivers nothing for a while: starting it must
    # wait that out, since a sound played meanwhile could be lost.
    with pace.slowed(HARNESS_LAG):
        started = time.monotonic()
        recording = record("live.wav")
        waited = time.monotonic() - started
    assert waited >= HARNESS_LAG, f"the recording was taken as live after {waited:.2f} s"
    held = recording.seconds()
    recording.wait_recorded(0.2, timeout=10)
    assert recording.seconds() > held


def test_mci_playback_is_recorded_at_its_pitch_and_length(sample, tone, record, harness_lag):
    wav = tone("a880.wav", frequency=880, seconds=1.0)
    recording = record("played.wav")
    # The sample plays as soon as it starts: the recording must already be live.
    app = sample("--play", windows_path(wav))
    app.wait_window(cls=SAMPLE_CLASS, title="playing")
    recording.wait_sound_end(timeout=30)
    sound = audio.analyse(recording.stop())
    assert sound.onset > 0, "the tone began before the recording did"
    assert not sound.silent, "nothing was played into the sink"
    assert abs(sound.frequency - 880) < 880 * 0.02, sound
    assert abs(sound.sounding - 1.0) < 0.15, sound
    assert 0.85 < sound.duration < 2.0, sound
    rough = audio.sox_stat(recording.path)["Rough   frequency"]
    assert abs(rough - 880) < 880 * 0.1


def test_ambrel_fixture_runs_the_clock_from_its_scratch_folder(ambrel, driver):
    settings = ["10", "0", "0", '"ON"', "", "10,10,10", '"ALOFF"', '"D"', '""', '""']
    app = ambrel(run=False)
    tone_path = audio.write_tone(app.folder / "tone.wav")
    settings[4] = f'"{windows_path(tone_path)}"'
    app.write_settings(settings)
    before = app.read_settings()
    app.start()
    clock = app.wait_window(title="Ambrel")
    assert clock["rect"][2] - clock["rect"][0] == 140
    assert clock["rect"][3] - clock["rect"][1] == 18
    assert driver.version(app.windows_path("ambrel.exe"))["translation"] == ["041104B0"]
    app.kill()
    assert not app.running()
    # A killed program never reaches its save: the file is as the test wrote it.
    assert app.read_settings() == before


def fake_drivers(tmp_path, first_start="pass", first_command="pass"):
    """A started Driver whose processes are small Python programs: the first runs
    `first_start` before it says that it is ready and `first_command` for each command (and
    answers none); later ones answer every command as `acp` would. Also returns the file whose
    length counts the processes started."""
    attempts = tmp_path / "attempts"
    script = ("import sys, pathlib\n"
              f"a = pathlib.Path({str(attempts)!r}); n = len(a.read_text()) if a.exists() else 0\n"
              "a.write_text('x' * (n + 1))\n"
              f"if n == 0:\n    {first_start}\n"
              "print('{\"ready\": true}', flush=True)\n"
              "for line in sys.stdin:\n"
              "    if line.strip() == 'quit':\n"
              "        break\n"
              f"    if n == 0:\n        {first_command}\n        continue\n"
              "    print('{\"acp\": 932}', flush=True)\n"
              "    print('{\"done\": true, \"ok\": true}', flush=True)\n")

    class FakeWine:
        def popen(self, args, log, **kwargs):
            with open(log, "ab") as out:
                return subprocess.Popen([sys.executable, "-c", script], stderr=out, **kwargs)

    from harness.driver import Driver
    return Driver(FakeWine(), tmp_path / "driver.exe", tmp_path / "driver.log").start(), attempts


def test_a_driver_that_the_emulator_broke_at_its_start_is_started_afresh(tmp_path):
    """The first driver writes the emulator's failure to its log and never answers; the second
    answers. Without the restart the start would fail after its whole deadline."""
    driver, attempts = fake_drivers(
        tmp_path, first_start="sys.stderr.write('wine client error:64: read: Bad file "
                              "descriptor\\n'); sys.stderr.flush(); sys.stdin.read()")
    assert attempts.read_text() == "xx"
    driver.stop()


def test_a_driver_that_stops_answering_is_replaced_before_the_next_command(tmp_path):
    """The first driver takes a command and never answers it. The test that sent it fails, but
    the next command goes to a fresh driver and is answered; without the replacement every
    later test of the session would wait out its deadline on the silent one."""
    from harness.paths import HarnessError
    driver, attempts = fake_drivers(tmp_path)
    silent = driver.proc
    with pytest.raises(HarnessError, match="no answer to (slowness|acp) .* still running and is ended"):
        driver.call("acp", timeout=1.0)
    assert silent.poll() is not None
    assert driver.acp() == 932
    assert attempts.read_text() == "xx"
    driver.stop()


def test_a_driver_that_the_emulator_ended_mid_test_is_replaced_and_named(tmp_path):
    """The first driver dies of the emulator at its first command. The next command goes to a
    fresh driver, and the failure stays known after that replacement, so that the test that
    met it is run again; it is reported once."""
    from harness.paths import HarnessError
    driver, attempts = fake_drivers(
        tmp_path, first_command="sys.stderr.write('qemu: uncaught target signal 11 "
                                "(Segmentation fault)\\n'); sys.exit(245)")
    with pytest.raises(HarnessError, match="driver ended"):
        driver.call("acp", timeout=30.0)
    assert driver.acp() == 932
    assert attempts.read_text() == "xx"
    assert "uncaught target signal 11" in driver.emulator_failure()
    assert driver.emulator_failure() is None
    driver.stop()


def test_a_hung_programs_report_says_where_its_threads_wait():
    """One thread blocked on a lock of its own process, the main one reading its input: the
    report tells the two kinds of wait apart."""
    from harness.proc import thread_waits
    script = ("import sys, threading\n"
              "lock = threading.Lock(); lock.acquire()\n"
              "threading.Thread(target=lock.acquire, daemon=True).start()\n"
              "print('ready', flush=True); sys.stdin.read()\n")
    proc = subprocess.Popen([sys.executable, "-c", script], stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE)
    try:
        assert proc.stdout.readline() == b"ready\n"
        waits = wait_until(lambda: (lambda w: "futex" in w and "read" in w and w)(
            thread_waits(proc.pid)), 10, what="a thread on its lock and one on its input")
        assert waits.startswith(("futex 1, read 1", "read 1, futex 1")), waits
    finally:
        proc.kill()
        proc.wait()


def test_a_session_whose_boot_the_emulator_broke_is_booted_again(tmp_path):
    """The first boot loses a service to the emulator (its line in the boot's log, plugplay.exe
    never running); the session is booted again on a fresh server and goes on once all of its
    services run. Without that, every program that later called on the lost service hung."""
    from harness.wine import Wine
    events = []

    class Boots(Wine):
        def __init__(self):
            self.state_dir = tmp_path
            self.boots = 0

        def run(self, args, timeout=120, cwd=None):
            self.boots += 1
            events.append("boot")
            if self.boots == 1:
                with open(tmp_path / "wine-run.log", "a") as log:
                    log.write("qemu: uncaught target signal 11 (Segmentation fault)\n")
            return 0

        def processes(self):
            services = ["services.exe", "winedevice.exe"]
            if self.boots > 1:
                services.append("plugplay.exe")
            return {i: f"C:\\windows\\system32\\{name}" for i, name in enumerate(services)}

        def end_processes(self):
            events.append("ended")
            return {}

        def _start_server(self):
            events.append("server")

    (tmp_path / "wine-run.log").write_text("an earlier session's qemu: uncaught target signal\n")
    booted = Boots()
    booted.boot_shortfall = None
    booted._boot_session()
    assert events == ["boot", "ended", "server", "boot"]
    assert booted.boot_shortfall is None

    # A machine so loaded that every boot loses the service: the session goes on without it
    # (most tests need none) and says so, instead of failing every test of the session.
    class NeverBoots(Boots):
        def run(self, args, timeout=120, cwd=None):
            events.append("boot")
            with open(tmp_path / "wine-run.log", "a") as log:
                log.write("wine client error:64: read: Bad file descriptor\n")
            return 0

    events.clear()
    lost = NeverBoots()
    lost._boot_session()
    assert events == ["boot", "ended", "server"] * 2 + ["boot"]
    assert lost.boot_shortfall.startswith("wine's boot of the session lost plugplay.exe in all 3")


def test_resident_memory_under_the_emulator_counts_its_address_space_only():
    """Under qemu the program's process also holds the emulator's memory, far above the 32-bit
    guest's four gigabytes: a leak bound must count the guest's pages alone. This 64-bit
    process plays both: 8 MiB touched inside the guest's range, 64 MiB above it (the
    interpreter's own pages may lie in the range too, so growth is compared)."""
    import ctypes
    import mmap

    from harness.reliability import resident_kib

    libc = ctypes.CDLL(None, use_errno=True)
    libc.mmap.restype = ctypes.c_void_p
    libc.mmap.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_int, ctypes.c_int,
                          ctypes.c_int, ctypes.c_long]
    libc.munmap.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
    map_32bit = 0x40  # x86-64: somewhere free in the low two gigabytes
    inside_size, guest_base = 8 << 20, 0x10000
    guest_before = resident_kib(os.getpid(), hex(guest_base))
    whole_before = resident_kib(os.getpid())
    inside = libc.mmap(None, inside_size, mmap.PROT_READ | mmap.PROT_WRITE,
                       mmap.MAP_PRIVATE | mmap.MAP_ANONYMOUS | map_32bit, -1, 0)
    failed = ctypes.c_void_p(-1).value
    assert inside not in (None, failed), f"no low mapping: errno {ctypes.get_errno()}"
    assert guest_base <= inside < 1 << 31
    above = bytearray(64 << 20)
    try:
        ctypes.memset(inside, 1, inside_size)
        for i in range(0, len(above), mmap.PAGESIZE):
            above[i] = 1
        guest = resident_kib(os.getpid(), hex(guest_base)) - guest_before
        whole = resident_kib(os.getpid()) - whole_before
        assert inside_size // 1024 <= guest < inside_size // 1024 + 2048, (guest, whole)
        assert whole >= guest + len(above) // 1024, (guest, whole)
    finally:
        libc.munmap(inside, inside_size)


def test_any_wait_of_a_test_reports_how_its_program_ended(ambrel):
    """A wait that knows nothing of the program (a recording's, say) still names its exit."""
    app = ambrel(run=False)
    app.write_settings(["10", "0", "0", '"ON"', '"missing.wav"', "10,10,10", '"ALOFF"', '"D"',
                        '""', '""'])
    app.start()
    app.kill()
    with pytest.raises(WaitTimeout) as timeout:
        wait_until(lambda: False, 0.2, what="nothing")
    assert f"{app.proc.pid} ended with" in str(timeout.value)
