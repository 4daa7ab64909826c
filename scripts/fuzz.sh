#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang's libFuzzer with address and undefined-
# behaviour sanitizers, build/fuzz) and runs each for SECONDS on its seed corpus in
# tests/fuzz/corpus/<target>/. New inputs go into a temporary folder, never into the
# committed corpus. Prints per target the executions and the coverage (cov, ft) of
# libFuzzer's last line; exits non-zero on any finding (a crash, a sanitizer report or
# a broken invariant), whose input is kept in build/fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (default 60 seconds, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
[ $# -gt 0 ] && shift

# Each target with the longest input it is given (a program file or bank with room to
# grow; a user waveform past the 4096 doubles where reading changes mode).
declare -A maxLen=(
  [fuzz_set_chunk]=12000 [fuzz_program_file]=12000 [fuzz_preset_text]=12000
  [fuzz_curve_text]=12000 [fuzz_user_waveform]=40000 [fuzz_midi_file]=4096
  [fuzz_process_events]=4096)
all=(fuzz_set_chunk fuzz_program_file fuzz_preset_text fuzz_curve_text fuzz_user_waveform
     fuzz_midi_file fuzz_process_events)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
for t in "${targets[@]}"; do
  [ -n "${maxLen[$t]:-}" ] || { echo "fuzz: no target $t (${all[*]})"; exit 2; }
done

cmake --preset fuzz > /dev/null
cmake --build --preset fuzz --target "${targets[@]}" > build/fuzz/fuzz-build.log 2>&1 ||
  { tail -40 build/fuzz/fuzz-build.log; echo "fuzz: the build failed"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for t in "${targets[@]}"; do
  findings="build/fuzz/findings/$t"
  mkdir -p "$work/$t" "$findings"
  log="$work/$t.log"
  if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "build/fuzz/tests/fuzz/$t" -max_total_time="$seconds" -max_len="${maxLen[$t]}" \
      -len_control=0 -timeout=25 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$work/$t" "tests/fuzz/corpus/$t" > "$log" 2>&1; then
    status=1
    tail -60 "$log"
    echo "fuzz: $t: FINDING (input kept in $findings/)"
    continue
  fi
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log")
  cov=$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<< "$last")
  ft=$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<< "$last")
  echo "fuzz: $t: ${execs:-?} executions in ${seconds} s, cov: ${cov:-?} ft: ${ft:-?}"
done
exit $status
