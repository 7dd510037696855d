"""What the settings file and the running clock promise under stress: a kill at a random
moment of the save, many starts at once, a full disk, repeated dialogs and notices, damaged
settings files. Each test has a short form (here) and a long form (scripts/reliability.sh,
AMBREL_RELIABILITY_LONG=1); both record their figures for the README."""
import collections
import random
import re
import time

from harness import audio, slowness
from harness.app import settings_bytes
from harness.paths import windows_path
from harness.proc import wait_until
from harness.reliability import (damaged_files, fill_up, record_figures, resident_kib, run_seed,
                                 scale, small_disk, wait_process_gone)
from test_alarm import (CLOSE_BUTTON, NOTICE, OK_BUTTON, OPTIONS, open_options, start_countdown,
                        wait_notice)
from test_startup import CLOCK, ERROR_TITLE, settings

CORRUPT_TITLE = "Ambrel エラー"
CORRUPT_TEXT = "設定ファイルが壊れている可能性があります、Ambrel V2 を再起動して下さい。"
FATAL_TEXT = re.compile(r"エラー \( ?-?\d+\) が発生しました、終了します。")
TEMPORARY = "AMBREL.SET.new"
# Under qemu a start takes seconds; only a program that hangs takes this long.
HANG_SECONDS = 90


def quiet_settings(app, **fields):
    """Settings bytes whose sound file is a short real tone in the app's folder, so that no
    sound warning stands between a start and the clock."""
    tone = audio.write_tone(app.folder / "tone.wav", 880, 0.2)
    return settings_bytes(settings(sound=f'"{windows_path(tone)}"', **fields))


def start_clock(app):
    """Starts the program and waits for its clock; returns (process, clock window)."""
    proc = app.start()
    clock = app.wait_window(timeout=HANG_SECONDS, cls=CLOCK, visible=True)
    return proc, clock


def test_a_kill_at_any_moment_of_closing_leaves_the_old_file_or_the_new(ambrel, driver):
    seed = run_seed()
    rng = random.Random(seed)
    trials = scale(24, 400)
    app = ambrel(run=False)
    new = quiet_settings(app, left="1500", top="1500")

    # A close nobody interrupts: the new file, and how long closing takes on this machine, so
    # that the kills spread over the whole of it (and a little after) wherever the suite runs.
    app.settings_path.write_bytes(new + b'"first"\r\n')
    proc, clock = start_clock(app)
    driver.close(clock["hwnd"])
    started = time.monotonic()  # where each trial's random moment counts from
    assert app.wait_exit(HANG_SECONDS, proc=proc) == 0
    closing = time.monotonic() - started
    assert app.read_settings() == new, "an uninterrupted close did not write the expected file"
    wait_process_gone(driver)

    outcomes = collections.Counter()
    for trial in range(1, trials + 1):
        # Each trial's old file differs from the new one by an eleventh line, which reading
        # ignores and saving drops.
        old = new + f'"trial {trial}"\r\n'.encode()
        app.settings_path.write_bytes(old)
        where = f"seed {seed}, trial {trial}"
        # Also the clean start after the previous trial's kill, whatever it left beside the file.
        proc, clock = start_clock(app)
        assert not app.msgboxes(), f"{where}: a box at the start after a kill"
        delay = rng.uniform(0.0, closing * 1.25)
        driver.close(clock["hwnd"])
        # The random moment of the kill is what is tested: no event to wait for here.
        time.sleep(delay)
        ended_itself = proc.poll() is not None
        proc.kill()
        proc.wait(slowness.deadline(HANG_SECONDS))
        wait_process_gone(driver)
        data = app.read_settings()
        assert data in (old, new), f"{where}, kill {delay * 1000:.1f} ms after the close: {data!r}"
        outcomes["ended before the kill" if ended_itself else
                  "old file" if data == old else "new file"] += 1
        if (app.folder / TEMPORARY).exists():
            outcomes["temporary file left beside it"] += 1

    proc, clock = start_clock(app)
    assert not app.msgboxes()
    record_figures("kill_during_save", seed=seed, trials=trials,
                   closing_ms=round(closing * 1000, 1),
                   kill_window_ms=round(closing * 1250, 1), **outcomes)


def test_many_starts_at_once_leave_one_clock_and_its_save(ambrel, driver):
    copies = 8
    rounds = scale(1, 10)
    app = ambrel(run=False)
    expected = quiet_settings(app, left="3000", top="1500")
    losers = 0
    for round_ in range(1, rounds + 1):
        app.settings_path.write_bytes(expected)
        procs = [app.start() for _ in range(copies)]
        clock = app.wait_window(timeout=HANG_SECONDS, cls=CLOCK, visible=True)
        wait_until(lambda: sum(p.poll() is not None for p in procs) >= copies - 1, HANG_SECONDS,
                   what=f"all copies but one to end (round {round_})")
        ended = [p for p in procs if p.poll() is not None]
        assert [p.returncode for p in ended] == [0] * (copies - 1)
        assert [w["hwnd"] for w in app.windows(cls=CLOCK)] == [clock["hwnd"]]
        assert not app.msgboxes()
        survivor = next(p for p in procs if p.poll() is None)
        driver.close(clock["hwnd"])
        assert app.wait_exit(HANG_SECONDS, proc=survivor) == 0
        assert app.read_settings() == expected
        assert not (app.folder / TEMPORARY).exists()
        losers += len(ended)
        wait_process_gone(driver)
    record_figures("many_starts", rounds=rounds, copies=copies, clocks_left=rounds,
                   silent_ends=losers)


def test_a_full_disk_keeps_the_old_file_byte_for_byte(ambrel, driver, tmp_path):
    with small_disk(tmp_path / "disk", size="2m") as disk:
        app = ambrel(run=False, folder=disk / "app")
        old = quiet_settings(app, left="1500", top="1500") + b'"kept"\r\n'
        app.write_settings(old)
        try:
            proc, clock = start_clock(app)
            filler = fill_up(disk)
            before = sorted(p.name for p in app.folder.iterdir())
            driver.close(clock["hwnd"])
            box = app.wait_msgbox(timeout=HANG_SECONDS, title=ERROR_TITLE)
            assert box["text"].split("\n")[0] == "エラー ( 61) が発生しました、終了します。"
            assert "\\AMBREL.SET に書き込めません。" in box["text"]
            driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
            assert app.wait_exit(HANG_SECONDS, proc=proc) == 0
            assert app.read_settings() == old
            assert sorted(p.name for p in app.folder.iterdir()) == before
            filler_size = filler.stat().st_size
        finally:
            app.kill()
            wait_process_gone(driver)
    record_figures("full_disk", disk="tmpfs 2 MiB", filler_bytes=filler_size,
                   message=box["text"], old_file_kept=True)


def _resources(app, driver, pid):
    # A closed dialog or notice is hidden before it is destroyed: count once both are gone.
    wait_until(lambda: not app.windows(cls=OPTIONS) and not app.windows(cls=NOTICE),
               HANG_SECONDS, what="the dialog and the notice to be destroyed")
    r = driver.one("guires", pid)
    return {"gdi_objects": r["gdi_table"], "windows": r["windows"],
            "resident_kib": resident_kib(app.proc.pid, app.wine.env.get("QEMU_GUEST_BASE")),
            "reported_gdi": r["gdi"], "reported_user": r["user"]}


def _dialog_round(app, driver, clock):
    options, _ = open_options(app, driver, clock)
    driver.press(options, OK_BUTTON)
    driver.wait_gone(options, HANG_SECONDS)


def _notice_round(app, driver, clock):
    options, _ = start_countdown(app, driver, clock)
    notice = wait_notice(app, HANG_SECONDS)["hwnd"]
    driver.press(options, OK_BUTTON)
    driver.wait_gone(options, HANG_SECONDS)
    driver.press(notice, CLOSE_BUTTON)
    driver.wait_gone(notice, HANG_SECONDS)


# Growth allowed after the warm-up: a few GDI objects that a cache may keep, no window at all,
# and resident memory within what wine's heaps may round up to.
GDI_BOUND = 4
RESIDENT_BOUND_KIB = 4096


def test_dialogs_and_notices_leave_no_growth_behind(ambrel, driver):
    dialogs, notices = scale((20, 10), (200, 60))
    app = ambrel(run=False)
    app.write_settings(quiet_settings(app, left="1500", top="1500"))
    _, clock_window = start_clock(app)
    clock, pid = clock_window["hwnd"], clock_window["pid"]

    for _ in range(2):
        _dialog_round(app, driver, clock)
        _notice_round(app, driver, clock)
    start = _resources(app, driver, pid)
    for _ in range(dialogs):
        _dialog_round(app, driver, clock)
    for _ in range(notices):
        _notice_round(app, driver, clock)
    end = _resources(app, driver, pid)

    # wine answers GetGuiResources with "not implemented", and under qemu the driver cannot
    # read the program's GDI handle table either: there only windows and memory are bounded.
    emulated = "QEMU_GUEST_BASE" in app.wine.env
    measured = ["windows", "resident_kib"]
    if not emulated:
        assert start["gdi_objects"] is not None, "the GDI handle table could not be read"
        measured.append("gdi_objects")
    growth = {k: end[k] - start[k] for k in measured}
    record_figures("no_growth", dialogs=dialogs, notices=notices, warm_up="2 of each",
                   resident="the emulated address space" if emulated else "the process",
                   start=start, end=end, growth=growth,
                   bounds={"gdi_objects": GDI_BOUND, "windows": 0,
                           "resident_kib": RESIDENT_BOUND_KIB})
    assert growth["windows"] <= 0, (start, end)
    assert growth.get("gdi_objects", 0) <= GDI_BOUND, (start, end)
    assert growth["resident_kib"] <= RESIDENT_BOUND_KIB, (start, end)


def _outcome_of_start(app, driver, proc):
    """Waits for what a start comes to: the clock, a box or the end of the process."""
    def seen():
        if driver.procs(exe="winedbg.exe"):
            return "crash"
        if app.msgboxes():
            return "box"
        if app.windows(cls=CLOCK, visible=True):
            return "clock"
        if proc.poll() is not None:
            return "ended"
        return None
    return wait_until(seen, HANG_SECONDS, what="the clock, a box or the end of the program")


def _classify(box):
    if box["title"] == CORRUPT_TITLE and box["text"] == CORRUPT_TEXT:
        return "damaged-file box"
    if box["title"] == ERROR_TITLE and FATAL_TEXT.fullmatch(box["text"]) and not box["icon"]:
        return "error box " + box["text"][box["text"].index("("):box["text"].index(")") + 1]
    if box["title"] == ERROR_TITLE and box["icon"]:
        return "sound warning"
    return None


def test_damaged_settings_files_end_in_the_clock_or_one_box(ambrel, driver):
    seed = run_seed()
    count = scale(21, 300)
    app = ambrel(run=False)
    base = quiet_settings(app, left="1500", top="1500", on_top='"OFF"')
    # Double-byte texts in both messages, for the damage to break.
    base = base.replace(b'""\r\n""\r\n', '"お知らせ、です"\r\n"ﾀｲﾏｰ"\r\n'.encode("cp932"))
    outcomes = collections.Counter()
    for i, (kinds, data) in enumerate(damaged_files(seed, count, base)):
        where = f"seed {seed}, file {i} ({', '.join(kinds)})"
        app.settings_path.write_bytes(data)
        proc = app.start()
        seen = _outcome_of_start(app, driver, proc)
        assert seen in ("clock", "box"), f"{where}: {seen} (exit {proc.returncode})"
        if seen == "box":
            boxes = app.msgboxes()
            assert len(boxes) == 1, f"{where}: {boxes}"
            kind = _classify(boxes[0])
            assert kind, f"{where}: an unexpected box {boxes[0]}"
            outcomes[kind] += 1
            driver.answer("OK", exe=app.exe_name)
            if kind == "sound warning":
                app.wait_window(timeout=HANG_SECONDS, cls=CLOCK, visible=True)
            else:
                assert app.wait_exit(HANG_SECONDS, proc=proc) == 0, where
        else:
            outcomes["clock"] += 1
        assert not driver.procs(exe="winedbg.exe"), f"{where}: wine's crash dialog"
        proc.kill()
        proc.wait(slowness.deadline(HANG_SECONDS))
        wait_process_gone(driver)
    record_figures("damaged_files", seed=seed, files=count, **dict(sorted(outcomes.items())))
