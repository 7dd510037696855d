#!/usr/bin/env bash
# The one command that sets up, builds and starts the clock: under wine, with the
# Japanese locale (ANSI code page 932), from its own folder build/run/ (where AMBREL.SET
# is kept between runs). Without a display it starts a virtual one (Xvfb), waits until the
# clock is on screen and painted, takes a screenshot, says where it is and stops the clock.
#
#   scripts/run.sh [SECONDS]    at most SECONDS for the clock to show when headless (default 120)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
wait_seconds=${1:-120}

bash scripts/bootstrap.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2

run=$repo/build/run
mkdir -p "$run"
cp build/win32/ambrel.exe "$run/"
[ -f build/win32/AMBREL.HLP ] && cp build/win32/AMBREL.HLP "$run/"

export WINEPREFIX=$run/wineprefix WINEARCH=win32 LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
# On a kernel without 32-bit support wine runs under qemu; this prints what it needs.
while IFS= read -r assignment; do
    [ -n "$assignment" ] && export "${assignment?}"
done < <(bash e2e/wine32/setup.sh "$run/wine32")

xvfb_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}

if [ -z "${DISPLAY:-}" ]; then
    number=99
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number - 1))
    done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset >"$run/xvfb.log" 2>&1 &
    xvfb_pid=$!
    trap cleanup EXIT
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    [ -e "/tmp/.X11-unix/X$number" ] || { echo "run.sh: Xvfb did not start, see $run/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$number"
    echo "run.sh: no display, started Xvfb on $DISPLAY"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run.sh: creating the wine prefix $WINEPREFIX (once, about a minute)"
    wineboot -i >"$run/wine.log" 2>&1
fi

# The default settings file names c:\WINDOWS\TADA.WAV, which the program finds where Windows
# keeps it, as the Windows folder's Media\tada.wav; a fresh prefix has none: our own chime there.
mkdir -p "$WINEPREFIX/drive_c/windows/Media"
chime=$WINEPREFIX/drive_c/windows/Media/tada.wav
if [ ! -f "$chime" ]; then
    python3 tools/chime/make_chime.py "$chime"
fi

cd "$run"
if [ -n "$xvfb_pid" ]; then
    # No window manager on Xvfb: wine draws the captions itself and closes boxes at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$run/wine.log" 2>&1
    wine ./ambrel.exe >>"$run/wine.log" 2>&1 &
    # The clock bar (title "Ambrel") once its first tick has written the time: the layout
    # leaves the second text empty, and the tick fills it in either display format. Or a box
    # of the program if one comes first.
    shown=
    deadline=$((SECONDS + wait_seconds))
    while [ -z "$shown" ] && [ "$SECONDS" -lt "$deadline" ]; do
        for id in $(xdotool search --onlyvisible --name '^Ambrel' 2>/dev/null); do
            name=$(xdotool getwindowname "$id")
            if [ "$name" = Ambrel ]; then
                colours=$(import -window "$id" png:- 2>/dev/null |
                    convert - -crop 36x12+84+3 +repage -format %k info: 2>/dev/null || echo 0)
                [ "${colours:-0}" -gt 2 ] && shown="the clock bar"
            else
                shown="a box titled \"$name\""
            fi
        done
        [ -z "$shown" ] && sleep 0.2
    done
    import -window root "$run/screenshot.png"
    if [ -z "$shown" ]; then
        echo "run.sh: the clock did not show in $wait_seconds s; screenshot of the screen saved to $run/screenshot.png, see $run/wine.log" >&2
        exit 1
    fi
    echo "run.sh: screenshot of the screen with $shown saved to $run/screenshot.png"
    # Closing through the program itself would save AMBREL.SET; killing leaves it as is.
else
    echo "run.sh: starting the clock on $DISPLAY (settings in $run/AMBREL.SET)"
    wine ./ambrel.exe
fi
