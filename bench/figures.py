"""Measures the figures of README.md and rewrites its table between the two markers
`<!-- figures:begin -->` and `<!-- figures:end -->`. Nobody types those numbers.

usage: bench/figures.sh [--rounds N] [--cpu-seconds S] [--fuzz-seconds S] [--readme PATH]

It builds what it measures (the release zip, the bare windows, the benchmarks, the fuzz targets),
then takes: the packaged exe's size against its budget; start to visible window of the clock
against the bare windows (bench/startup); idle CPU against a window repainting every 100 ms
(bench/cpu); the tick and settings-file benchmarks; the fuzz targets' executions; and the
machine and wine it ran on.
"""
import argparse
import importlib.util
import json
import os
import platform
import re
import subprocess
import sys
import zipfile
from datetime import datetime, timezone
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
os.environ.setdefault("AMBREL_E2E_STATE", "/tmp/ambrel-bench")
sys.path.insert(0, str(REPO / "e2e"))

from harness.package import release_zip  # noqa: E402


def load(name, path):
    """One of the benchmark scripts, as a module (both are called measure.py)."""
    found = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


startup = load("startup_measure", REPO / "bench" / "startup" / "measure.py")
cpu = load("cpu_measure", REPO / "bench" / "cpu" / "measure.py")

BEGIN, END = "<!-- figures:begin -->", "<!-- figures:end -->"


def run(*args, **kwargs):
    print("figures:", " ".join(map(str, args)), file=sys.stderr)
    return subprocess.run(list(map(str, args)), cwd=REPO, check=True, **kwargs)


def build():
    run("cmake", "--preset", "win32", stdout=subprocess.DEVNULL)
    run("cmake", "--build", "--preset", "win32", "-j2", "--target", "package")
    run("cmake", "--preset", "native", stdout=subprocess.DEVNULL)
    run("cmake", "--build", "--preset", "native", "-j2", "--target", "settings_bench",
        "tick_bench")


def exe_size():
    budget = int(re.search(r"set\(AMBREL_EXE_BUDGET_BYTES (\d+)\)",
                           (REPO / "cmake" / "Package.cmake").read_text()).group(1))
    with zipfile.ZipFile(release_zip()) as archive:
        size = next(i.file_size for i in archive.infolist() if i.filename.endswith("/ambrel.exe"))
    # The help window's text that the exe keeps comes on top of the budget (cmake/Package.cmake).
    help_text = (REPO / "build" / "win32" / "help_window_text.bin").stat().st_size
    return size, budget, help_text


def idle_cpu(wine, seconds, warmup):
    """CPU seconds a minute of the clock, of the minimal repainting window and of the
    once-a-second window (the floor): each program alone, and with the wineserver's share."""
    clock, bare, _ = startup.prepare(startup.STATE, wine)
    used = {}
    for name, exe, args in (("minimal", bare, cpu.REPAINT), ("floor", bare, cpu.SECONDS),
                            ("clock", clock, ())):
        seconds_used, server_used, wall = cpu.measure(wine, exe, seconds, warmup, args)
        used[name] = seconds_used * 60.0 / wall
        used[name + "+server"] = (seconds_used + (server_used or 0.0)) * 60.0 / wall
    return used


def benchmarks():
    """Mean real time per iteration of each Google Benchmark, by name."""
    figures = {}
    for program in ("settings_bench", "tick_bench"):
        out = run(REPO / "build" / "native" / "bench" / program, "--benchmark_format=json",
                  capture_output=True, text=True).stdout
        for b in json.loads(out)["benchmarks"]:
            scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
            figures[b["name"]] = b["real_time"] * scale
    return figures


FUZZ_TARGETS = ("settings reader", "value rules")  # in the order fuzz/run.sh runs them


def fuzz(seconds):
    """Inputs each fuzz target ran, by target."""
    out = run("bash", "fuzz/run.sh", seconds, capture_output=True, text=True)
    text = out.stdout + out.stderr
    executed = re.findall(r"stat::number_of_executed_units:\s*(\d+)", text)
    if len(executed) != len(FUZZ_TARGETS):
        raise SystemExit(f"fuzz/run.sh printed {len(executed)} counts of executed units, "
                         f"{len(FUZZ_TARGETS)} expected")
    return dict(zip(FUZZ_TARGETS, map(int, executed)))


def machine(wine):
    cpu = "unknown CPU"
    for line in Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            cpu = line.split(":", 1)[1].strip()
            break
    version = subprocess.run(["wine", "--version"], env=wine.env, capture_output=True,
                             text=True).stdout.strip()
    # e2e/wine32/setup.sh hands 32-bit programs to qemu where the kernel cannot run them.
    emulated = Path("/proc/sys/fs/binfmt_misc/qemu-i386").exists()
    return {
        "cpu": f"{cpu}, {os.cpu_count()} cores",
        "system": f"{platform.system()} {platform.release()} ({platform.machine()})",
        "wine": f"{version}, {'32-bit under qemu-user' if emulated else '32-bit natively'}",
        "load": "{:.2f} {:.2f} {:.2f}".format(*os.getloadavg()),
    }


def ns(value):
    return f"{value / 1e3:.2f} µs" if value >= 1e3 else f"{value:.0f} ns"


def table(f):
    size, budget, help_text = f["size"]
    s = f["startup"]
    med = s["medians"]
    used = f["cpu"]
    clock_cpu, minimal_cpu = used["clock"], used["minimal"]
    clock_all, floor_all = used["clock+server"], used["floor+server"]
    m = f["machine"]
    rows = [
        ("ambrel.exe in the zip", f"{size:,} bytes ({size / 1024:.0f} KB), budget "
                                  f"{budget // 1024} KB and {help_text:,} bytes of help text"),
        ("start to visible window, against a bare window opening the same WAV",
         f"**{s['ratio_mci']:.2f}** ({med['ambrel.exe']:.0f} ms against "
         f"{med['bare window opening the WAV']:.0f} ms)"),
        ("start to visible window, against a bare window",
         f"**{s['ratio_bare']:.2f}** ({med['ambrel.exe']:.0f} ms against "
         f"{med['bare window']:.0f} ms)"),
        ("idle CPU, against a window repainting every 100 ms",
         f"**{clock_cpu / minimal_cpu:.2f}** ({clock_cpu:.2f} against {minimal_cpu:.2f} "
         f"CPU-seconds a minute)"),
        ("idle CPU with the wineserver, against a window that reads the time every 100 ms and "
         "repaints once a second",
         f"**{clock_all / floor_all:.2f}** ({clock_all:.2f} against {floor_all:.2f} "
         f"CPU-seconds a minute)"),
    ]
    for name, value in f["benchmarks"].items():
        rows.append((f"`{name}` (Google Benchmark)", ns(value)))
    for target, inputs in f["fuzz"].items():
        rows.append((f"{target} fuzzed (libFuzzer, ASan, UBSan)",
                     f"{inputs:,} inputs in {f['fuzz_seconds']} s"))
    rows.append(("machine", f"{m['cpu']}; {m['system']}; load average {m['load']}"))
    rows.append(("wine", m["wine"]))
    lines = [
        f"Written by `bench/figures.sh` on {f['date']}; start-up is the median of "
        f"{s['rounds']} rotating starts on a warm wineserver, idle CPU over "
        f"{f['cpu_seconds']:.0f} s each.",
        "",
        "| figure | value |",
        "|---|---|",
    ]
    lines += [f"| {name} | {value} |" for name, value in rows]
    return "\n".join(lines)


def rewrite(readme, text):
    content = readme.read_text(encoding="utf-8")
    if BEGIN not in content or END not in content:
        raise SystemExit(f"{readme} has no {BEGIN} ... {END} section")
    head, rest = content.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    readme.write_text(f"{head}{BEGIN}\n{text}\n{END}{tail}", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--cpu-seconds", type=float, default=60.0)
    parser.add_argument("--cpu-warmup", type=float, default=10.0)
    parser.add_argument("--fuzz-seconds", type=int, default=60)
    parser.add_argument("--readme", type=Path, default=REPO / "README.md")
    args = parser.parse_args()

    build()
    figures = {"size": exe_size(), "cpu_seconds": args.cpu_seconds,
               "fuzz_seconds": args.fuzz_seconds,
               "date": datetime.now(timezone.utc).strftime("%Y-%m-%d %H:%M UTC")}
    figures["benchmarks"] = benchmarks()
    with startup.Session() as session:
        # The load average of the minutes before the start-up figures, which it sways most.
        figures["machine"] = machine(session.wine)
        figures["startup"] = startup.measure(session.wine, session.xvfb.display, args.rounds)
        startup.report(figures["startup"])
        figures["cpu"] = idle_cpu(session.wine, args.cpu_seconds, args.cpu_warmup)
    figures["fuzz"] = fuzz(args.fuzz_seconds)
    text = table(figures)
    rewrite(args.readme, text)
    print(text)


if __name__ == "__main__":
    main()
