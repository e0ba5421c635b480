#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for
# SECONDS seconds (default 60) on a seed corpus made from tests/data/,
# printing its executions and findings. Corpora grow in build/fuzz/corpus/,
# findings land in build/fuzz/findings/<target>/.
# Usage: bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=(fuzz_roster_read fuzz_roster_roundtrip fuzz_ini_read fuzz_ini_write fuzz_inttext
           fuzz_journal_read fuzz_journal_roundtrip fuzz_history_read fuzz_history_roundtrip
           fuzz_conditions_read fuzz_conditions_roundtrip)
fi

bash scripts/setup.sh --with-fuzzing
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKIRABO_FUZZ=ON -DKIRABO_TESTS=OFF -DKIRABO_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

# Seeds: the roster fixtures as files and as cells, the settings fixtures as
# files and behind the names of a key write, every field of both as integer
# text, and the journal, history and conditions fixtures as files. The
# round-trip targets of the class's files make their contents from any
# bytes and start from none.
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
mkdir -p "$seeds"/{roster,ini,ini_write,inttext,journal,history,conditions,none}
cp tests/data/roster/*.csv tests/data/e2e/*.csv "$seeds/roster/"
cp tests/data/journal/* "$seeds/journal/"
cp tests/data/record/*_履歴.csv "$seeds/history/"
cp tests/data/record/*_条件.csv "$seeds/conditions/"
cp tests/data/settings/*.ini "$seeds/ini/"
n=0
for f in tests/data/settings/*.ini; do
  for names in '0\ 0\ 5\ 設定\ 印刷タイトル\ ' '設定\ 印刷タイトル\ x\ 0\ 7\ ' 'new\ k\  v \ 設定\ フォルダ\ '; do
    n=$((n + 1))
    { printf '%s' "$names" | iconv -f UTF-8 -t CP932; cat "$f"; } >"$seeds/ini_write/$n"
  done
done
n=0
for f in tests/data/roster/*.csv tests/data/e2e/*.csv tests/data/settings/*.ini; do
  tr ',=\r\n[]' '\n\n\n\n\n\n' <"$f" | sort -u | head -n 50 | while IFS= read -r field; do
    n=$((n + 1))
    printf '%s' "$field" >"$seeds/inttext/$(basename "$f").$n"
  done
done

seed_of() {
  case $1 in
    fuzz_roster_read | fuzz_roster_roundtrip) echo roster ;;
    fuzz_ini_read) echo ini ;;
    fuzz_ini_write) echo ini_write ;;
    fuzz_inttext) echo inttext ;;
    fuzz_journal_read) echo journal ;;
    fuzz_history_read) echo history ;;
    fuzz_conditions_read) echo conditions ;;
    *) echo none ;;
  esac
}

# The INI targets write a file each run: on a memory file system its sync
# costs nothing.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

status=0
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  mkdir -p "$corpus" "$findings"
  log=$build/$t.log
  echo "== $t: ${seconds}s"
  set +e
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds/$(seed_of "$t")" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  found=$(find "$findings" -type f | wc -l)
  echo "   executions: $execs, corpus: $(find "$corpus" -type f | wc -l) inputs, findings: $found (exit $rc)"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    status=1
    grep -m 5 -E 'ERROR|SUMMARY|deadly signal|Test unit written' "$log" | sed 's/^/   /' || true
    echo "   log: $log"
  fi
done
exit $status
