#!/usr/bin/env bash
# Installs what the project needs to build and run, from Debian's packages
# (clang and its runtime libraries only for the fuzz targets, which need libFuzzer).
# Safe to run again: it installs only what is missing.
#
#   scripts/setup.sh               build and run on a desktop
#   scripts/setup.sh --for-tests   also the validators and the virtual display the tests use
#   scripts/setup.sh --no-display  also the virtual display, for a machine without one
set -euo pipefail

for_tests=false
no_display=false
for arg in "$@"; do
  case $arg in
    --for-tests) for_tests=true ;;
    --no-display) no_display=true ;;
    *) echo "usage: $0 [--for-tests] [--no-display]" >&2; exit 2 ;;
  esac
done

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev
  libjpeg62-turbo-dev
  libsimpleini-dev libicu-dev
  libgtest-dev
  libcanberra-dev
  clang libclang-rt-dev
  # The .deb: CPack finds the program's library packages with dpkg-shlibdeps,
  # which looks at the binaries with file.
  dpkg-dev file
)
# What the program needs at run time on a desktop: the condensed face its windows
# are laid out for (without it "All Available" and "1280x1024" are cut off), the
# desktop's openers for the folder and the preview, and Qt's Wayland plugin, without
# which a session with no X server cannot open the window at all.
runtime=(fonts-dejavu-extra xdg-utils qt6-wayland)
# A display for a machine without one (the program and its windows under Xvfb).
virtual_display=(xvfb xauth)
# The checks the test command runs on the installed desktop entry and metainfo.
validators=(desktop-file-utils appstream)

wanted=("${packages[@]}" "${runtime[@]}")
if $for_tests; then wanted+=("${validators[@]}" "${virtual_display[@]}"); fi
if $no_display; then wanted+=("${virtual_display[@]}"); fi

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "setup: these packages are missing: ${missing[*]}" >&2
    echo "setup: run this script as root (or install sudo) so it can install them." >&2
    exit 1
  fi
else
  SUDO=
fi

echo "setup: installing ${missing[*]}"
if ! $SUDO apt-get update -qq; then
  echo "setup: 'apt-get update' failed; check the machine's package sources." >&2
  exit 1
fi
if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  echo "setup: could not install: ${missing[*]}" >&2
  exit 1
fi
