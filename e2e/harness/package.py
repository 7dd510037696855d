"""The release zip as users get it: named by the version in resources/version.h, unpacked into a
fresh folder, the program run from there with the help file and read-me beside it."""
import re
import shutil
import zipfile
from pathlib import Path

from .paths import REPO, WIN32_BUILD, HarnessError


def version_text():
    header = (REPO / "resources" / "version.h").read_text(encoding="utf-8")
    return re.search(r'^#define AMBREL_VERSION_TEXT "([^"]+)"', header, re.M).group(1)


def release_zip() -> Path:
    path = WIN32_BUILD / f"ambrel-v2-{version_text()}-win32.zip"
    if not path.is_file():
        raise HarnessError(f"{path} not found (cmake --build --preset win32 --target package)")
    return path


def unpack_release(folder: Path) -> Path:
    """Unpacks the zip into `folder`, emptied first; returns the folder inside that holds
    ambrel.exe, as a user who unpacked it would find it."""
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    with zipfile.ZipFile(release_zip()) as archive:
        archive.extractall(folder)
    exes = list(folder.glob("*/ambrel.exe"))
    if len(exes) != 1:
        raise HarnessError(f"{release_zip().name} holds no single folder with ambrel.exe")
    return exes[0].parent
