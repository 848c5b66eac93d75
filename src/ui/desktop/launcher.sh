#!/bin/sh
# Starts the program from the desktop's menu. The program keeps everything in
# the folder it is started in, and a menu start has no useful one, so it gets a
# folder of its own under the user's pictures folder.
set -eu

pictures=$(xdg-user-dir PICTURES 2>/dev/null) || pictures=
# Where no pictures folder is configured, xdg-user-dir answers the home folder itself.
if [ -z "$pictures" ] || [ "$pictures" = "$HOME" ]; then
  pictures=$HOME/Pictures
fi
folder=$pictures/Ostrana
program=$(dirname "$(readlink -f "$0")")/@OSTRANA_PROGRAM@
if ! mkdir -p "$folder" || ! cd "$folder"; then
  echo "ostrana: cannot make or enter the folder $folder" >&2
  # A menu start shows no standard error: the program says it in a message,
  # and ends without starting anywhere else.
  OSTRANA_LAUNCH_PROBLEM="The program keeps its files in the folder \"$folder\", which can not be made or entered. Check that the pictures folder can be written to, or start the program in a folder of your choice." \
    exec "$program"
fi
exec "$program" "$@"
