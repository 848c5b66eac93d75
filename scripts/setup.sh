#!/usr/bin/env bash
# Installs what the project needs to build, test and run, from Debian's packages
# (clang and its runtime libraries only for the fuzz targets, which need libFuzzer).
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev
  libjpeg62-turbo-dev
  libsimpleini-dev libicu-dev
  libgtest-dev
  libcanberra-dev
  clang libclang-rt-dev
)
# Only needed to look at the program without a desktop (scripts/run.sh under Xvfb).
optional=(xvfb xauth)

missing=()
for p in "${packages[@]}" "${optional[@]}"; do
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
