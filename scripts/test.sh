#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite:
# the plain build (warnings as errors), the engine and concurrency tests under
# ThreadSanitizer, and the whole suite under AddressSanitizer with UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
start=$(date +%s)
for preset in default tsan asan; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset"
done
echo "=== all test runs passed in $(( $(date +%s) - start )) s"
