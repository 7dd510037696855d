#!/usr/bin/env bash
# Installs everything the build, the run and the tests need on a Debian 12 machine.
# Safe to run again: apt-get skips what is there, the locale and the i386 architecture
# are only added when missing.
#
# A mirror is now and then caught mid-sync: one index of an archive fails to download
# ("File has unexpected size ... Mirror sync in progress?"). The update is then tried again
# a few times; if an index still fails, the install goes ahead with what was fetched. When the
# install then fails, the likely cause is that one architecture of that archive is a version
# ahead of the other (amd64 and i386 of a multi-arch library must match), so it is tried once
# more with that archive's updates held back, for that one command.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
# Seconds between two tries of the update, growing with each try.
retry_pause=${AMBREL_APT_RETRY_PAUSE:-15}
update_tries=4

packages=(
  # build: native core and tests, cross-compiled executable
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  # run: 32-bit wine on a virtual display, Japanese locale and fonts
  wine wine32:i386 xvfb xauth x11-utils xdotool imagemagick locales
  fonts-ipafont-gothic fonts-ipafont-mincho
  # several monitors on one virtual display: xrandr splits the screen, and wine reads the
  # layout through these two, which are only recommended by its libraries
  x11-xserver-utils libxinerama1:i386 libxrandr2:i386
  # kernels without 32-bit support: 32-bit wine under qemu, 64-bit wineserver (e2e/wine32)
  wine64 qemu-user-static
  # sound capture for the end-to-end tests
  pulseaudio pulseaudio-utils sox
  python3 python3-pytest
)

say() { echo "bootstrap: $*"; }

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The archives (dists) whose index could not be fetched by the last update, one per line.
failed_dists=

update_package_lists() {
  local log try
  log=$(mktemp)
  for ((try = 1; try <= update_tries; try++)); do
    if $SUDO apt-get update -q 2>&1 | tee "$log" && ! grep -q '^E: ' "$log"; then
      failed_dists=
      rm -f "$log"
      return 0
    fi
    failed_dists=$(grep -o 'dists/[^/ ]*/' "$log" | sed 's|dists/||; s|/$||' | sort -u || true)
    if ((try < update_tries)); then
      say "some package lists could not be fetched (try $try of $update_tries); trying again in $((retry_pause * try)) s"
      sleep $((retry_pause * try))
    fi
  done
  rm -f "$log"
  say "some package lists still could not be fetched (${failed_dists//$'\n'/, }); going on with those that were"
}

# Lowers the archives named in $failed_dists below the main archive for one apt-get command.
held_back_preferences() {
  local file dist
  file=$(mktemp)
  for dist in $failed_dists; do
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 100\n\n' "$dist" >>"$file"
  done
  echo "$file"
}

install_missing() {
  local install=(apt-get install -y -q --no-install-recommends "${missing[@]}")
  $SUDO "${install[@]}" && return 0
  if [ -n "$failed_dists" ]; then
    local preferences
    preferences=$(held_back_preferences)
    say "the install failed while the lists of ${failed_dists//$'\n'/, } were incomplete;"
    say "trying once more with the updates of ${failed_dists//$'\n'/, } held back for this install"
    if $SUDO apt-get -o Dir::Etc::Preferences="$preferences" "${install[@]:1}"; then
      rm -f "$preferences"
      return 0
    fi
    rm -f "$preferences"
  fi
  say "FAILED: apt-get could not install: ${missing[*]}" >&2
  say "the lines above name the package or the archive that failed; when they speak of a mirror" >&2
  say "sync or of a file of unexpected size, wait a few minutes and run scripts/bootstrap.sh again;" >&2
  say "otherwise try: sudo apt-get update && sudo apt-get -f install" >&2
  return 1
}

if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  update_package_lists
  install_missing
fi

# wine takes its ANSI code page from the locale; without the generated ja_JP.UTF-8
# locale it falls back to 1252 and Japanese file names break.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
say "all packages present"
