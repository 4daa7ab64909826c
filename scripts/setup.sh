#!/usr/bin/env bash
# Installs what building and testing Thumpgeist needs on a Debian 12 machine.
# Only missing packages are installed; sudo is used when not running as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev libsndfile1-dev
  # The editor's text on Linux and the artwork generator (tools/tgartwork): FreeType renders the faces fontconfig matches; the
  # Windows faces the editor asks for ("Verdana", "Arial") are matched to these
  # metric-compatible families (DejaVu Sans, Liberation Sans).
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation
  # The static checks of the test command (naming rules and bug-prone checks).
  clang-tidy-14
  # The fuzz targets (scripts/fuzz.sh): clang and its runtimes, libFuzzer among them.
  clang-14 libclang-rt-14-dev
  # The Windows x64 plug-in: the mingw-w64 cross compiler (posix threads), zlib for it,
  # dpkg-dev and xz-utils for `apt-get source libpng1.6` (the build fetches and cross-
  # builds libpng through its own sources list), GoogleTest's sources (googletest, built
  # for mingw by the Windows build), and Wine to run the smoke test and the ABI tests.
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev xz-utils debian-archive-keyring
  googletest
  wine wine64
  # The editor's window on Linux (X11), and the window tests of both modules: a virtual
  # X display, simulated mouse and keys, screenshots.
  libx11-dev xvfb xauth xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
