#!/usr/bin/env bash
# Installs everything the build, the run and the tests need on a Debian 12 machine.
# Safe to run again: apt-get skips what is there, the locale and the i386 architecture
# are only added when missing.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive

packages=(
  # build: native core and tests, cross-compiled executable
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  # run: 32-bit wine on a virtual display, Japanese locale and fonts
  wine wine32 xvfb xauth x11-utils xdotool imagemagick locales
  fonts-ipafont-gothic fonts-ipafont-mincho
  # kernels without 32-bit support: 32-bit wine under qemu, 64-bit wineserver (e2e/wine32)
  wine64 qemu-user-static
  # sound capture for the end-to-end tests
  pulseaudio pulseaudio-utils sox
  python3 python3-pytest
)

missing=()
for p in "${packages[@]}"; do
  arch_p=$p
  [ "$p" = wine32 ] && arch_p=wine32:i386
  if ! dpkg-query -W -f='${Status}' "$arch_p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# wine takes its ANSI code page from the locale; without the generated ja_JP.UTF-8
# locale it falls back to 1252 and Japanese file names break.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
echo "bootstrap: all packages present"
