#!/usr/bin/env bash
# Fuzzes for a while: builds the fuzz preset, then runs each target for
# SECONDS (default 300) on a scratch corpus in build/fuzz/work/<target>, seeded
# from tests/fuzz/corpus/<target>. Two targets run at a time, one process each
# (FUZZ_PARALLEL changes that), which keeps both cores busy and no more; inputs
# that crash, hang, leak or run out of memory are kept in
# build/fuzz/findings/<target>/, and the target's fuzzing goes on past them.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: the folders of tests/fuzz/corpus
# New inputs stay in the scratch corpus; copy the ones worth keeping (and each
# finding, once understood) into tests/fuzz/corpus/<target>/ by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

seconds=${1:-300}
[ $# -gt 0 ] && shift
case $seconds in
  '' | *[!0-9]*) echo "fuzz: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
parallel=${FUZZ_PARALLEL:-2}

corpus=$top/tests/fuzz/corpus
bin=$top/build/fuzz/tests/fuzz
out=$top/build/fuzz
if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(find "$corpus" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort)
fi
for t in "${targets[@]}"; do
  [ -d "$corpus/$t" ] || { echo "fuzz: no target '$t' (no folder tests/fuzz/corpus/$t)" >&2; exit 2; }
done

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2

# One fuzzer process until the time is up; a finding ends a process, so the
# next one goes on from the corpus grown so far, for the time that is left.
run_one() {
  local t=$1
  local work=$out/work/$t findings=$out/findings/$t log=$out/logs/$t.log
  mkdir -p "$work" "$findings" "$out/logs"
  : >"$log"
  local dict=()
  [ -f "$top/tests/fuzz/dict/$t.dict" ] && dict=(-dict="$top/tests/fuzz/dict/$t.dict")
  local limits=(-timeout=10 -rss_limit_mb=2048)
  export UBSAN_OPTIONS=print_stacktrace=1
  # The committed inputs that add coverage join the scratch corpus; a merge
  # steps over the ones that still fail (the known faults), which would
  # otherwise end every run as it starts.
  echo "=== merge of tests/fuzz/corpus/$t" >>"$log"
  "$bin/fuzz_$t" -merge=1 "${limits[@]}" "$work" "$corpus/$t" >>"$log" 2>&1 || true
  local deadline=$((SECONDS + seconds)) left
  while left=$((deadline - SECONDS)); [ "$left" -gt 0 ]; do
    echo "=== run of $left s" >>"$log"
    "$bin/fuzz_$t" -max_total_time="$left" "${limits[@]}" -print_final_stats=1 \
      -artifact_prefix="$findings/" "${dict[@]}" "$work" >"$log.run" 2>&1 || true
    cat "$log.run" >>"$log"
    # A run that never got past loading its corpus would only start again and again.
    if ! grep -qE '^#[0-9]+[[:space:]]+INITED' "$log.run"; then
      echo "fuzz: fuzz_$t did not start fuzzing; see $log" >&2
      break
    fi
  done
  rm -f "$log.run"
}

echo "=== fuzzing ${targets[*]} for $seconds s each, $parallel at a time (logs in build/fuzz/logs)"
mkdir -p "$out/findings"
started=$out/findings/.started
touch "$started"
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  run_one "$t" &
  running=$((running + 1))
done
wait

# Per target: the executions of all its runs (each run's last "#<n>" status
# line, or its final "stat::number_of_executed_units"), and the coverage
# ("cov", edges) and features ("ft") of the last status line.
printf '%-16s %12s %8s %8s %8s  %s\n' target executions cov ft corpus "new findings"
status=0
for t in "${targets[@]}"; do
  read -r runs cov ft corp < <(awk '
    /^=== merge/ { merging = 1 }
    /^=== run of/ { if (!merging) total += last; merging = 0; last = 0 }
    /^#[0-9]+/ { n = substr($1, 2) + 0; if (n > last) last = n
                 for (i = 1; i < NF; i++) { if ($i == "cov:") cov = $(i + 1); if ($i == "ft:") ft = $(i + 1)
                                            if ($i == "corp:") { corp = $(i + 1); sub(/\/.*/, "", corp) } } }
    /^stat::number_of_executed_units:/ { if ($2 + 0 > last) last = $2 + 0 }
    END { print total + last, cov + 0, ft + 0, corp + 0 }' "$out/logs/$t.log")
  found=$(find "$out/findings/$t" -type f -newer "$started" \
             \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
  printf '%-16s %12s %8s %8s %8s  %s\n' "$t" "$runs" "$cov" "$ft" "$corp" "$found"
  [ "$found" -eq 0 ] || status=1
done
[ "$status" -eq 0 ] || echo "=== findings kept in build/fuzz/findings/<target>/; replay one with build/fuzz/tests/fuzz/fuzz_<target> <file>"
exit "$status"
