#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite:
# the plain build (warnings as errors), the engine and concurrency tests under
# ThreadSanitizer, the whole suite under AddressSanitizer with UndefinedBehaviorSanitizer,
# an install into a temporary prefix with its desktop entry and metainfo validated
# and the .deb built from it, and a replay of every fuzz target's committed corpus
# (built by clang with libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --for-tests
bash scripts/check-layers.sh

jobs=$(nproc)
start=$(date +%s)
for preset in default tsan asan; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset"
done

# What a desktop gets: the install tree as a package would lay it out, checked by
# the desktop's own validators, and the .deb with its worked-out dependencies.
echo "=== install: into a temporary prefix, validated"
install_root=$(mktemp -d)
trap 'rm -rf "$install_root"' EXIT
prefix=$install_root/usr
cmake --install build/default --prefix "$prefix" >/dev/null
app_id=$(basename "$prefix"/share/applications/*.desktop .desktop)
for f in bin/ostrana bin/ostrana-get bin/ostrana-launcher share/man/man1/ostrana-get.1.gz \
         share/applications/"$app_id".desktop \
         share/metainfo/"$app_id".metainfo.xml \
         share/icons/hicolor/{48x48,128x128,256x256}/apps/"$app_id".png; do
  [ -s "$prefix/$f" ] || { echo "install: $f is missing" >&2; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
echo "=== package: the .deb"
cpack -G DEB --config build/default/CPackConfig.cmake -B "$install_root/deb" >/dev/null
deb=$(ls "$install_root"/deb/*.deb)
dpkg-deb --field "$deb" Package Version Depends Recommends
echo "install and package: passed"

# A regression run, not a search: each target runs once over every input of its
# corpus (the seeds and the inputs of faults found before). scripts/fuzz.sh searches.
echo "=== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
echo "=== fuzz: replay every target over its corpus"
fuzz_start=$(date +%s)
mkdir -p build/fuzz/logs
mapfile -t fuzz_targets < <(find tests/fuzz/corpus -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort)
fuzz_failed=()
for t in "${fuzz_targets[@]}"; do
  target=build/fuzz/tests/fuzz/fuzz_$t
  log=build/fuzz/logs/replay-$t.log
  if [ ! -x "$target" ]; then
    echo "fuzz: tests/fuzz/corpus/$t has no target $target" >&2
    fuzz_failed+=("$t")
    continue
  fi
  inputs=(tests/fuzz/corpus/"$t"/*)
  if UBSAN_OPTIONS=print_stacktrace=1 "$target" -rss_limit_mb=2048 -timeout=30 "${inputs[@]}" >"$log" 2>&1; then
    echo "fuzz_$t: ${#inputs[@]} inputs passed"
  else
    echo "fuzz_$t: FAILED on $(grep '^Running: ' "$log" | tail -n 1 | cut -d' ' -f2-) (log: $log)" >&2
    grep -E 'broken rule|ERROR: |SUMMARY: |^#[0-9]+ ' "$log" | head -n 20 >&2 || true
    fuzz_failed+=("$t")
  fi
done
for target in build/fuzz/tests/fuzz/fuzz_*; do
  t=${target##*/fuzz_}
  [ -d "tests/fuzz/corpus/$t" ] || { echo "fuzz: $target has no corpus tests/fuzz/corpus/$t" >&2; fuzz_failed+=("$t"); }
done
if [ ${#fuzz_failed[@]} -gt 0 ]; then
  echo "=== fuzz: replay failed for ${fuzz_failed[*]}" >&2
  exit 1
fi
echo "=== fuzz: all corpora replayed in $(( $(date +%s) - fuzz_start )) s"
echo "=== all test runs passed in $(( $(date +%s) - start )) s"
