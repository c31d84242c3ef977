#!/usr/bin/env bash
# Runs libFuzzer targets of a fuzz build, each for a number of seconds, from the seed corpus in
# tests/fuzz/corpus/<target> (new inputs go to a working corpus in the build folder, not into the
# repository) and prints the executions and findings of each.
#   scripts/fuzz.sh BUILD SECONDS TARGET...
# A finding leaves its input in BUILD/findings/ and fails the run.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build=$1 seconds=$2
shift 2
mkdir -p "$build/findings"
failed=0
summary=()
for target in "$@"; do
  work="$build/corpus/$target"
  mkdir -p "$work"
  cp -n "$root/tests/fuzz/corpus/$target/"* "$work/" 2>/dev/null
  log="$build/fuzz_$target.log"
  "$build/fuzz/fuzz_$target" "$work" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$build/findings/$target-" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    failed=1
    summary+=("$target: ${runs:-?} executions, FINDING (exit $rc), see $log and $build/findings/")
    grep -E "invariant broken|ERROR:|runtime error|SUMMARY" "$log" | head -5
  else
    summary+=("$target: ${runs:-?} executions in ${seconds} s, no finding, corpus $(ls "$work" | wc -l) inputs")
  fi
done
printf '%s\n' "${summary[@]}"
exit $failed
