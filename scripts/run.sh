#!/usr/bin/env bash
# Installs what is missing, builds the program and the demo site, starts the
# demo site on loopback and the program in a working folder that points at it
# (demo-work/, kept between runs so downloads stay).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No desktop (a server, a container): the window opens on a virtual display,
  # which shows nowhere but serves screenshots and checks. Ctrl-C ends it.
  bash scripts/setup.sh --no-display
  echo "run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): starting on a virtual display (Xvfb)" >&2
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$top/scripts/run.sh" "$@"
fi

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target ostrana ostrana_demo

work=${OSTRANA_WORKDIR:-$top/demo-work}
mkdir -p "$work"
rm -f "$work/.demo-ready"
"$top/build/default/tools/demo/ostrana_demo" --workdir "$work" &
demo=$!
trap 'kill "$demo" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  [ -f "$work/.demo-ready" ] && break
  kill -0 "$demo" 2>/dev/null || { echo "run: the demo site did not start" >&2; exit 1; }
  sleep 0.1
done
[ -f "$work/.demo-ready" ] || { echo "run: the demo site did not start in time" >&2; exit 1; }

cd "$work"
"$top/build/default/src/ui/ostrana"
