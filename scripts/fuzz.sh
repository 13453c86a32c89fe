#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) in build-fuzz/ and runs each for SECONDS
# (default 60) on its corpus, its seeds and its dictionary. Exits non-zero when a target found
# a crash, a leak, undefined behaviour or a timeout; the input that did it is left in
# build-fuzz/findings/. New corpus entries are kept in build-fuzz/corpus/ for the next run.
# Every target first replays fuzz/regression/: inputs that once found something stay there
# (copy a finding in when you fix it), so a fault that comes back is found at once.
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]      (TARGET: processm, capi, ...)
# Prints one line per target: name, seconds, runs, coverage (edges), features, corpus size.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
dir=build-fuzz
log_dir=build-logs/fuzz
mkdir -p "$log_dir" "$dir/findings"

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if ! { cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
         -DCMAKE_CXX_COMPILER=clang++ -DVESCENE_FUZZ=ON -DVESCENE_TESTS=OFF -DVESCENE_EXAMPLES=OFF "${launcher[@]}" &&
       cmake --build "$dir" --target vescene_fuzz -j2; } >"$log_dir/build.log" 2>&1; then
  echo "fuzz build: FAILED, see $log_dir/build.log"
  tail -20 "$log_dir/build.log"
  exit 1
fi

inputs=$dir/fuzz/inputs
all=(processm tpp pen ppt ai office_word office_ppt office_excel online_reply song_search office_grammar table
     host_config capi understand)
targets=("$@")
((${#targets[@]})) || targets=("${all[@]}")

failed=0
for t in "${targets[@]}"; do
  case $t in
    online_reply | song_search) seeds=("fuzz/seeds/$t") dict=scenes.dict ;;
    capi) seeds=("$inputs/seeds/$t") dict=scenes.dict ;;
    office_grammar) seeds=("$inputs/seeds/$t") dict=grammar.dict ;;
    table | host_config) seeds=("$inputs/seeds/$t") dict=$t.dict ;;
    understand) seeds=("$inputs/seeds/$t") dict=understand.dict ;;
    *) seeds=("$inputs/seeds/entry") dict=scenes.dict ;;
  esac
  corpus=$dir/corpus/$t
  mkdir -p "$corpus"
  log=$log_dir/$t.log
  # One process, no forks: the two cores are shared. A slow input (over 10 s) counts as a hang;
  # -rss_limit_mb keeps a runaway allocation from taking the machine.
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=fuzz/ubsan.supp \
    "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -dict="$inputs/$dict" -artifact_prefix="$dir/findings/$t-" -print_final_stats=1 \
      "$corpus" "${seeds[@]}" fuzz/regression >"$log" 2>&1
  status=$?
  # libFuzzer logs may hold raw input bytes: read them as text regardless.
  stat() { grep -aEo "^stat::$1: *[0-9]+" "$log" | grep -Eo '[0-9]+$' | tail -1; }
  cov=$(grep -aEo 'cov: [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+')
  ft=$(grep -aEo 'ft: [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+')
  line="$t: ${seconds}s, $(stat number_of_executed_units) runs, cov ${cov:-?}, ft ${ft:-?}, corpus $(ls "$corpus" | wc -l)"
  if [[ $status -ne 0 ]]; then
    echo "$line: FOUND (exit $status), see $log and $dir/findings/"
    grep -aE '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -5
    failed=$((failed + 1))
  else
    echo "$line: ok"
  fi
done
((failed == 0))
