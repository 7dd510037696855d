"""The bootstrap against a package manager that misbehaves as a mirror mid-sync does: a fake
apt-get (and dpkg) first on PATH, so no package is touched and nothing is fetched."""
import os
import stat
import subprocess
from pathlib import Path

import pytest

BOOTSTRAP = Path(__file__).resolve().parents[1] / "bootstrap.sh"

SYNC_FAILURE = """\
Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages
  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?
E: Some index files failed to download. They have been ignored, or old ones used instead.
"""

FAKE_APT = r"""#!/usr/bin/env bash
# Records each call; update fails $FAKE_UPDATE_FAILS times; install as $FAKE_INSTALL says.
echo "$*" >> "$FAKE_DIR/calls"
case " $* " in
  *" update "*)
    n=$(cat "$FAKE_DIR/updates" 2>/dev/null || echo 0); echo $((n + 1)) > "$FAKE_DIR/updates"
    if [ "$n" -lt "$FAKE_UPDATE_FAILS" ]; then cat "$FAKE_DIR/sync_failure"; exit 100; fi
    exit 0 ;;
  *" install "*)
    prefs=$(printf '%s\n' "$@" | sed -n 's/^Dir::Etc::Preferences=//p')
    [ -n "$prefs" ] && cp "$prefs" "$FAKE_DIR/preferences"
    case "$FAKE_INSTALL" in
      ok) exit 0 ;;
      needs-hold) [ -n "$prefs" ] && exit 0
         echo "E: Unable to correct problems, you have held broken packages."; exit 100 ;;
      *) echo "E: Unable to locate package nonsense"; exit 100 ;;
    esac ;;
esac
exit 0
"""

FAKE_DPKG_QUERY = """#!/usr/bin/env bash
# Every package is installed but those named in $FAKE_MISSING.
for p in $FAKE_MISSING; do [ "$p" = "${@: -1}" ] && exit 1; done
printf 'install ok installed'
"""


def _fake(folder: Path, name: str, text: str):
    path = folder / name
    path.write_text(text)
    path.chmod(path.stat().st_mode | stat.S_IXUSR)


@pytest.fixture
def run_bootstrap(tmp_path):
    bin_dir = tmp_path / "bin"
    bin_dir.mkdir()
    _fake(bin_dir, "apt-get", FAKE_APT)
    _fake(bin_dir, "dpkg-query", FAKE_DPKG_QUERY)
    _fake(bin_dir, "dpkg", "#!/bin/sh\necho i386\n")
    _fake(bin_dir, "locale", "#!/bin/sh\necho ja_JP.utf8\n")
    _fake(bin_dir, "sudo", '#!/bin/sh\nexec "$@"\n')
    (tmp_path / "sync_failure").write_text(SYNC_FAILURE)

    def run(update_fails=0, install="ok", missing="wine32:i386"):
        env = dict(os.environ, PATH=f"{bin_dir}:{os.environ['PATH']}", FAKE_DIR=str(tmp_path),
                   FAKE_UPDATE_FAILS=str(update_fails), FAKE_INSTALL=install,
                   FAKE_MISSING=missing, AMBREL_APT_RETRY_PAUSE="0")
        done = subprocess.run(["bash", str(BOOTSTRAP)], env=env, capture_output=True, text=True,
                              timeout=60)
        calls_file = tmp_path / "calls"
        calls = calls_file.read_text().splitlines() if calls_file.exists() else []
        prefs = tmp_path / "preferences"
        return done, calls, prefs.read_text() if prefs.exists() else None

    return run


def test_nothing_missing_touches_no_package_list(run_bootstrap):
    done, calls, _ = run_bootstrap(missing="")
    assert done.returncode == 0, done.stderr
    assert calls == []


def test_an_update_failing_for_a_while_is_tried_again_before_the_install(run_bootstrap):
    done, calls, prefs = run_bootstrap(update_fails=2)
    assert done.returncode == 0, done.stdout + done.stderr
    assert [c.split()[0] for c in calls] == ["update", "update", "update", "install"]
    assert "wine32:i386" in calls[-1]
    assert prefs is None


def test_an_index_that_never_comes_holds_its_archive_back_when_the_install_fails(run_bootstrap):
    done, calls, prefs = run_bootstrap(update_fails=99, install="needs-hold")
    assert done.returncode == 0, done.stdout + done.stderr
    assert [c.split()[0] for c in calls].count("update") == 4
    assert calls[-2].split()[0] == "install"
    assert calls[-1].startswith("-o Dir::Etc::Preferences=") and " install " in calls[-1]
    assert "Pin: release n=bookworm-security\nPin-Priority: 100" in prefs
    assert "going on with those that were" in done.stdout
    assert "held back" in done.stdout


def test_an_install_that_fails_for_another_reason_fails_and_says_what_to_try(run_bootstrap):
    done, calls, prefs = run_bootstrap(install="broken")
    assert done.returncode != 0
    assert prefs is None, "nothing was held back: every list was fetched"
    assert "could not install: wine32:i386" in done.stderr
    assert "run scripts/bootstrap.sh again" in done.stderr

    done, _, prefs = run_bootstrap(update_fails=99, install="broken")
    assert done.returncode != 0
    assert prefs is not None, "the held-back install was tried before giving up"
    assert "could not install" in done.stderr
