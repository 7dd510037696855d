"""Turns the figures that the reliability tests leave (one JSON file per test) into the table
of the README's reliability section, prints it and, with --readme, writes it between the
section's markers. Refuses figures of the short forms or a run that misses a test."""
import argparse
import datetime
import json
import re
import subprocess
import sys
from pathlib import Path

BEGIN, END = "<!-- reliability:begin -->", "<!-- reliability:end -->"
TESTS = ("kill_during_save", "many_starts", "full_disk", "no_growth", "damaged_files")


def kib(n):
    return f"{n / 1024:.1f} MiB" if abs(n) >= 1024 else f"{n} KiB"


def kill_row(f):
    killed = f.get("old file", 0) + f.get("new file", 0)
    return ("A kill at any moment of closing leaves `AMBREL.SET` exactly as it was or exactly "
            "as saved; the next start shows the clock without a box",
            f"{f['trials']} closes, each followed by SIGKILL at a random moment within "
            f"{f['kill_window_ms']} ms (closing takes {f['closing_ms']} ms here), seed {f['seed']}",
            f"{killed} killed while running: {f.get('old file', 0)} kept the old file, "
            f"{f.get('new file', 0)} had the new one; {f.get('ended before the kill', 0)} had "
            "ended by themselves; "
            f"the temporary file left beside it {f.get('temporary file left beside it', 0)} "
            f"times and never read; 0 damaged, 0 missing")


def starts_row(f):
    return ("Copies started together leave one clock, no box, and its save intact",
            f"{f['rounds']} rounds of {f['copies']} copies started at once",
            f"{f['clocks_left']} clocks in {f['rounds']} rounds; {f['silent_ends']} copies ended "
            f"silently; every save byte for byte as expected")


def disk_row(f):
    return ("A full disk at closing shows the error and leaves the old file byte for byte, "
            "with nothing left behind",
            f"the clock run from a {f['disk']} filled up before closing",
            f"\"{f['message']}\"; old file unchanged; no file added")


def growth_row(f):
    g, b, s, e = f["growth"], f["bounds"], f["start"], f["end"]
    reported = "reported" if s.get("reported_gdi") is not None else "not reported by wine"
    # Under qemu the driver cannot read the program's GDI handle table.
    gdi = (f"GDI objects {s['gdi_objects']} -> {e['gdi_objects']} ({g['gdi_objects']:+d})"
           if "gdi_objects" in g else "GDI objects not readable under qemu")
    resident = f.get("resident", "the process")
    return ("Dialogs and notices opened and closed leave no growth behind",
            f"{f['dialogs']} options dialogs, then {f['notices']} notices (each with a dialog), "
            f"after a warm-up of {f['warm_up']}; bounds: GDI objects +{b['gdi_objects']}, "
            f"windows +{b['windows']}, resident memory ({resident}) "
            f"+{kib(b['resident_kib'])}",
            f"{gdi}; "
            f"windows {s['windows']} -> {e['windows']} ({g['windows']:+d}); resident "
            f"{kib(s['resident_kib'])} -> {kib(e['resident_kib'])} ({g['resident_kib']:+d} KiB); "
            f"GetGuiResources {reported}")


def damaged_row(f):
    counts = {k: v for k, v in f.items() if k not in ("form", "seed", "files")}
    return ("A damaged settings file ends in the clock or in exactly one start-up box, never a "
            "crash or a hang",
            f"{f['files']} files from seed {f['seed']}: flipped bytes, truncation, huge lines, NUL "
            "bytes, broken double-byte characters, bare CR or LF, binary junk",
            "; ".join(f"{k} {v}" for k, v in counts.items()) + "; 0 crashes, 0 hangs")


ROWS = dict(zip(TESTS, (kill_row, starts_row, disk_row, growth_row, damaged_row)))


def table(figures):
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    lines = [f"Figures of `scripts/reliability.sh` on {datetime.date.today()} ({wine}); "
             "written only when every test passed, never edited by hand.", "",
             "| promise | how it is tested | figures |", "|---|---|---|"]
    for name in TESTS:
        lines.append("| " + " | ".join(ROWS[name](figures[name])) + " |")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", type=Path)
    parser.add_argument("--readme", type=Path)
    options = parser.parse_args()

    figures = {}
    for name in TESTS:
        path = options.folder / f"{name}.json"
        if not path.is_file():
            sys.exit(f"reliability: no figures of {name} in {options.folder}")
        figures[name] = json.loads(path.read_text(encoding="utf-8"))
        if figures[name]["form"] != "long":
            sys.exit(f"reliability: {path} holds the short form's figures")
    text = table(figures)
    print(text)
    if options.readme:
        readme = options.readme.read_text(encoding="utf-8")
        pattern = re.compile(re.escape(BEGIN) + ".*?" + re.escape(END), re.S)
        if not pattern.search(readme):
            sys.exit(f"reliability: {options.readme} has no {BEGIN} ... {END} section")
        readme = pattern.sub(lambda _: f"{BEGIN}\n{text}\n{END}", readme)
        options.readme.write_text(readme, encoding="utf-8")
        print(f"reliability: figures written into {options.readme}")


if __name__ == "__main__":
    main()
