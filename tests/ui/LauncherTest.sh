#!/usr/bin/env bash
# The menu's launcher: which folder it starts the program in. The program is a
# stand-in that prints the folder it was started in, and xdg-user-dir one that
# answers as a desktop with or without a pictures folder would.
#
#   LauncherTest.sh <configured launcher>
set -euo pipefail

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cp "$1" "$root/ostrana-launcher"
# Told why it cannot start, the program says so and ends with 1.
printf '#!/bin/sh\nif [ -n "${OSTRANA_LAUNCH_PROBLEM:-}" ]; then echo "told: $OSTRANA_LAUNCH_PROBLEM"; exit 1; fi\npwd\n' \
  >"$root/ostrana"
chmod +x "$root/ostrana-launcher" "$root/ostrana"
mkdir "$root/stubs"
export HOME=$root/home
mkdir -p "$HOME"

failed=0
# expect <case> <body of xdg-user-dir> <folder the program starts in, or "refused: <what it was told>">
expect() {
  printf '#!/bin/sh\n%s\n' "$2" >"$root/stubs/xdg-user-dir"
  chmod +x "$root/stubs/xdg-user-dir"
  local got
  if got=$(PATH=$root/stubs:/usr/bin:/bin "$root/ostrana-launcher" 2>/dev/null); then :; else got="refused: $got"; fi
  if [ "$got" = "$3" ]; then
    echo "ok: $1"
  else
    echo "FAILED: $1: started in '$got', expected '$3'" >&2
    failed=1
  fi
}

expect "a configured pictures folder" 'echo "$HOME/Bilder"' "$HOME/Bilder/Ostrana"
expect "a pictures folder with blanks" 'echo "$HOME/My Pictures"' "$HOME/My Pictures/Ostrana"
expect "none configured: xdg-user-dir answers the home folder" 'echo "$HOME"' "$HOME/Pictures/Ostrana"
expect "xdg-user-dir not installed" 'exit 127' "$HOME/Pictures/Ostrana"
expect "xdg-user-dir answers nothing" 'true' "$HOME/Pictures/Ostrana"
touch "$HOME/NotAFolder"
expect "the folder cannot be made" 'echo "$HOME/NotAFolder"' \
  "refused: told: The program keeps its files in the folder \"$HOME/NotAFolder/Ostrana\", which can not be made or entered. Check that the pictures folder can be written to, or start the program in a folder of your choice."
[ -d "$HOME/Bilder/Ostrana" ] || { echo "FAILED: the folder was not kept" >&2; failed=1; }
exit $failed
