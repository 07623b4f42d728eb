#!/usr/bin/env bash
# Runs every fuzz target of a KDR_FUZZ build for a set time, several at once,
# each seeded from the demo mission's files, and ends with a note of each
# target's executions and coverage. A crash, leak or timeout the fuzzer keeps
# is copied to fuzz/regress/<target>/, where the test build replays it, and
# makes the run fail.
#   fuzz/run_fuzz.sh BUILD_DIR [SECONDS_PER_TARGET] [TARGETS_AT_ONCE]
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-300}
jobs=${3:-4}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$build/fuzz-run

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

targets=()
for exe in "$build"/fuzz_*; do
  [ -x "$exe" ] && targets+=("$(basename "$exe" | sed 's/^fuzz_//')")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in $build" >&2
  exit 1
fi

# Seeds: the demo mission written by the game's own writer.
rm -rf "$work/demo" "$work/logs" "$work/crashes"
mkdir -p "$work/logs"
"$build/kdrdemo" "$work/demo" >/dev/null || { echo "kdrdemo failed" >&2; exit 1; }
seed() {
  local target=$1 prefix=$2; shift 2
  mkdir -p "$work/corpus/$target"
  local pattern file
  for pattern in "$@"; do
    while IFS= read -r -d '' file; do
      { printf "$prefix"; cat "$file"; } > "$work/corpus/$target/seed-$(basename "$file")"
    done < <(find "$work/demo" -type f -iname "$pattern" -size -2M -print0)
  done
}
seed archive "" '*.asc' '*.msn' '*.gmp' '*.smg' '*.pca' '*.wep' '*.veh' '*.frm' '*.sop' '*.unt' '*.aim'
seed scenario "" '*.asc'
seed elevation_map "" '*.emp'
seed game_map "" '*.gmp'
seed tile_grid '\000\000' '*.map'
seed mission "" '*.msn'
seed light_conditions "" '*.env'
seed view_properties "" '*.vpl'
seed pieces "" '*.pca'
seed sound_list "" '*.smg'
seed wave "" '*.wav'
seed link_file "" 'link.txt'
seed page_template "" '*.htm'
seed bitmap "" '*.bmp'
seed weapon_list "" '*.wep'
seed vehicle_list "" '*.veh'
seed formation_templates "" '*.frm'
seed standing_orders "" '*.sop'
seed obstacles "" '*.fob' '*.eob'
seed unit_file "" '*.unt'
seed help_map "" '*.aim'
seed route_build "" '*.aim'
seed hierarchy_file "" '*.hra'
# A units part holding only an own array: empty name lists and groups, seven
# empty names, the own array's presence word, then a unit file.
seed units_state '\000\000\000\000\000\000\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\000\000\000' '*.unt'
seed holes "" '*.fho'
seed saved_game "" '*.asg'
# Readers of network input start from hand-made records and frames.
for dir in "$root"/fuzz/seeds/*/; do
  target=$(basename "$dir")
  mkdir -p "$work/corpus/$target"
  cp "$dir"* "$work/corpus/$target/"
done

run_one() {
  local target=$1
  mkdir -p "$work/corpus/$target" "$work/crashes/$target"
  "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
    -print_final_stats=1 -artifact_prefix="$work/crashes/$target/" "$work/corpus/$target" \
    >"$work/logs/$target.log" 2>&1
  echo "finished $target (exit $?)"
}
export -f run_one
export build work seconds
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'

echo
printf '%-18s %14s %10s %10s %8s  %s\n' target executions "execs/s" coverage corpus result
failed=0
for target in "${targets[@]}"; do
  log=$work/logs/$target.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | sed 's/cov: //')
  corp=$(grep -o 'corp: [0-9]*' "$log" | tail -1 | sed 's/corp: //')
  result=ok
  shopt -s nullglob
  found=("$work/crashes/$target"/*)
  shopt -u nullglob
  if [ ${#found[@]} -gt 0 ]; then
    result="${#found[@]} finding(s), copied to fuzz/regress/$target/"
    mkdir -p "$root/fuzz/regress/$target"
    cp "${found[@]}" "$root/fuzz/regress/$target/"
    failed=1
  elif ! grep -q '^Done [0-9]* runs' "$log"; then
    result="did not finish: see $log"
    failed=1
  fi
  printf '%-18s %14s %10s %10s %8s  %s\n' "$target" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${corp:-?}" "$result"
done
exit $failed
