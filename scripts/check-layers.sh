#!/usr/bin/env bash
# The folders tell the truth: only src/ui and the window/ folders of the
# subsystems may touch the window or the main-thread queue, the task engine
# stands on its own, site access knows nothing of downloading or control, and
# the command line (src/cli) runs without a window: it never includes ui/.
set -euo pipefail
cd "$(dirname "$0")/.."

failed=0
complain() {
  echo "layers: $1" >&2
  failed=1
}

# Project includes of a file: the "layer/File.h" it names.
includes() { grep -hoE '^#include "[^"]+"' "$1" | sed -E 's/^#include "([^"]+)"/\1/'; }

while IFS= read -r file; do
  case "$file" in src/ui/*|src/*/window/*) window=1 ;; *) window=0 ;; esac
  while IFS= read -r inc; do
    if [[ $file == src/cli/* ]] && [[ $inc == ui/* ]]; then complain "$file includes $inc: the command line runs without a window"
    elif [ $window = 0 ] && [[ $inc == ui/* ]]; then complain "$file includes $inc, but only src/ui and window/ folders may"; fi
    if [ $window = 0 ] && [[ $file != src/task/* ]] && [ "$inc" = task/MainThread.h ]; then complain "$file includes $inc, the main-thread queue, outside src/ui and window/ folders"; fi
    if [[ $file == src/task/* ]] && [[ $inc != task/* ]]; then complain "$file includes $inc: the task engine depends on nothing else"; fi
    if [[ $file == src/site/* ]] && [ $window = 0 ] && [[ $inc == download/* || $inc == control/* ]]; then
      complain "$file includes $inc: site access knows nothing of downloading or control"
    fi
    if [[ $inc != */* ]]; then complain "$file includes \"$inc\": write project includes as \"layer/File.h\""; fi
  done < <(includes "$file")
done < <(git ls-files --cached --others --exclude-standard 'src/*.h' 'src/*.cpp')

[ $failed = 0 ] && echo "layers: every include keeps to its layer"
exit $failed
