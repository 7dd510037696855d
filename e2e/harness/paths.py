"""Where things are: the repository, the build outputs and the suite's own state."""
import os
import shutil
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
WIN32_BUILD = BUILD / "win32"
# A second run beside the first (another developer's, say) takes a state folder of its own.
STATE = Path(os.environ.get("AMBREL_E2E_STATE", BUILD / "e2e"))

AMBREL_EXE = WIN32_BUILD / "ambrel.exe"
DRIVER_EXE = WIN32_BUILD / "e2e" / "ambrel-e2e-driver.exe"
SAMPLE_EXE = WIN32_BUILD / "e2e" / "e2e-sample.exe"

REQUIRED_TOOLS = ("wine", "wineserver", "wineboot", "Xvfb", "xdotool", "xwininfo", "xrandr",
                  "import", "pulseaudio", "pactl", "parecord", "sox", "gcc", "ld")


class HarnessError(RuntimeError):
    """The harness itself cannot run: a missing tool, a server that does not start."""


def require_tools(names=REQUIRED_TOOLS):
    missing = [n for n in names if shutil.which(n) is None]
    if missing:
        raise HarnessError("missing tools: " + ", ".join(missing) +
                           " (run scripts/bootstrap.sh)")


def require_file(path: Path, what: str):
    if not path.is_file():
        raise HarnessError(f"{what} not found at {path} (build the win32 preset first)")
    return path


def windows_path(path) -> str:
    """The path as wine's programs see it, through the Z: drive."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def ensure_dir(path: Path) -> Path:
    path.mkdir(parents=True, exist_ok=True)
    return path


def env_flag(name: str) -> bool:
    return os.environ.get(name, "") not in ("", "0")
