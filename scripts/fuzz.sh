#!/usr/bin/env bash
# Fuzzes Kestrune's input paths with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
#
#   scripts/fuzz.sh [-t SECONDS] [-j JOBS] [TARGET...]   fuzz each target (default: all) for
#                                                      SECONDS (default 60), JOBS at a time (default 1)
#   scripts/fuzz.sh --replay [TARGET...]               run each target once over its committed
#                                                      corpus, as CI does: no fuzzing, seconds
#   scripts/fuzz.sh --minimise [TARGET...]             rebuild each committed corpus as the smallest
#                                                      set with the same coverage (keeps repro-* files)
#   scripts/fuzz.sh --list                             the targets
#
# Targets: the fuzz/Fuzz*.cpp sources, built as build-fuzz/fuzz/fuzz_<target> (another build
# folder: KESTRUNE_FUZZ_BUILD_DIR). A fuzzing run works in fuzz/work/<target>/ (not committed):
# its log is fuzz/work/<target>.log, what breaks a target lands in fuzz/work/<target>/artifacts/.
# Afterwards the inputs that found new coverage are merged, minimised, into the committed corpus
# fuzz/corpus/<target>/. Reproduce a finding with build-fuzz/fuzz/fuzz_<target> FILE; once it is
# fixed, commit the file as fuzz/corpus/<target>/repro-<what-it-was> so that the replay keeps
# checking it. A timeout (10 s, 30 s for the targets that build databases from definitions)
# or running out of memory (2 GB) counts as a finding.
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(lexer definition_lines csv_files stream container lookup search readout xlsx xls)
# The longest input each target is given: enough for what it reads, small enough to stay fast.
declare -A max_len=([lexer]=4096 [definition_lines]=4096 [csv_files]=8192 [stream]=16384 [container]=16384
  [lookup]=4096 [search]=4096 [readout]=8192 [xlsx]=65536 [xls]=65536)
limits=(-rss_limit_mb=2048)
# Definitions at the table expansion limit (200,000 in a media list) take seconds to build
# under the sanitizers: the targets that build databases from definitions get more time.
declare -A timeout=([definition_lines]=30 [csv_files]=30 [xlsx]=30 [xls]=30)

build_dir="${KESTRUNE_FUZZ_BUILD_DIR:-build-fuzz}"
mode=fuzz
seconds=60
jobs=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --replay) mode=replay ;;
    --minimise) mode=minimise ;;
    --list) printf '%s\n' "${all_targets[@]}"; exit 0 ;;
    -t) seconds="$2"; shift ;;
    -j) jobs="$2"; shift ;;
    -h|--help) sed -n '2,19p' "$0"; exit 0 ;;
    *) [[ " ${all_targets[*]} " == *" $1 "* ]] || { echo "Unknown target: $1" >&2; exit 2; }
       targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

build() {
  echo "Building the fuzz targets in $build_dir ..."
  local log="$build_dir/build.log"
  mkdir -p "$build_dir"
  if ! { CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_FUZZ=ON \
           -DKESTRUNE_BUILD_TESTS=OFF -DKESTRUNE_BUILD_BENCHMARKS=OFF -DKESTRUNE_BUILD_UI=OFF &&
         cmake --build "$build_dir" --target fuzz_targets -j"$(nproc)"; } >"$log" 2>&1; then
    cat "$log"
    echo "Build failed (log: $log)" >&2
    exit 1
  fi
}

target_binary() { echo "$build_dir/fuzz/fuzz_$1"; }

replay() {
  local target="$1"
  if ! "$(target_binary "$target")" "${limits[@]}" -timeout="${timeout[$target]:-10}" -runs=0 "fuzz/corpus/$target" >"$build_dir/replay-$target.log" 2>&1; then
    cat "$build_dir/replay-$target.log"
    echo "FAILED: $target" >&2
    return 1
  fi
  echo "ok: $target ($(ls "fuzz/corpus/$target" | wc -l) inputs)"
}

fuzz() {
  local target="$1" work="fuzz/work/$1"
  mkdir -p "$work/corpus" "$work/artifacts" "fuzz/corpus/$target"
  echo "Fuzzing $target for $seconds s (log: fuzz/work/$target.log)"
  local status=0
  "$(target_binary "$target")" "${limits[@]}" -timeout="${timeout[$target]:-10}" -max_len="${max_len[$target]}" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "fuzz/corpus/$target" \
    >"fuzz/work/$target.log" 2>&1 || status=$?
  "$(target_binary "$target")" "${limits[@]}" -merge=1 "fuzz/corpus/$target" "$work/corpus" >>"fuzz/work/$target.log" 2>&1
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+[[:space:]]+DONE' "fuzz/work/$target.log" | sed "s/^/  $target: /" || true
  if [ $status -ne 0 ]; then
    echo "FINDING in $target: see fuzz/work/$target.log and $work/artifacts/" >&2
    return 1
  fi
}

minimise() {
  local target="$1" fresh
  fresh="$(mktemp -d)"
  "$(target_binary "$target")" "${limits[@]}" -merge=1 "$fresh" "fuzz/corpus/$target" >"$build_dir/minimise-$target.log" 2>&1
  find "fuzz/corpus/$target" -type f ! -name 'repro-*' -delete
  find "$fresh" -type f -exec mv -n {} "fuzz/corpus/$target/" \;
  rm -rf "$fresh"
  echo "$target: $(ls "fuzz/corpus/$target" | wc -l) inputs"
}

build
failed=0
case "$mode" in
  replay) for t in "${targets[@]}"; do replay "$t" || failed=1; done ;;
  minimise) for t in "${targets[@]}"; do minimise "$t"; done ;;
  fuzz)
    running=0
    for t in "${targets[@]}"; do
      fuzz "$t" &
      running=$((running + 1))
      if [ "$running" -ge "$jobs" ]; then wait -n || failed=1; running=$((running - 1)); fi
    done
    while [ "$running" -gt 0 ]; do wait -n || failed=1; running=$((running - 1)); done ;;
esac
exit $failed
