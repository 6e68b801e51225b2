#!/usr/bin/env bash
# Compares kartex-cli with the sqlite3 shell on one job: from a generated log
# of 100,000 contacts, write the rows of the stations worked exactly once to a
# CSV file.
#
#   (a) kartex-cli open LOG qso 1 save-csv OUT
#   (b) sqlite3 -batch :memory: ".mode csv" ".import LOG log" ".headers on" ".once OUT2"
#         "SELECT * FROM log WHERE CALL IN (SELECT CALL FROM log GROUP BY CALL HAVING COUNT(*)=1);"
#
# Both start from the CSV file and end with the CSV file written, so each time
# covers reading, selecting and writing. Each is run once untimed (page cache,
# and a check that both wrote the same rows: same row count and the same set
# of calls), then timed BENCH_RUNS times (default 5); the medians and the ratio
# sqlite/kartex are printed, with the peak RSS of each.
#
# Environment: KARTEX_CLI (default build/bench/cli/kartex-cli), GENERATE_LOG
# (default build/bench/bench/generate_log), BENCH_DIR (default a temporary
# folder, removed at the end), BENCH_ROWS (default 100000), BENCH_RUNS,
# BENCH_NO_HYPERFINE=1 to time with /usr/bin/time only.

set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KARTEX_CLI=${KARTEX_CLI:-$REPO_ROOT/build/bench/cli/kartex-cli}
GENERATE_LOG=${GENERATE_LOG:-$REPO_ROOT/build/bench/bench/generate_log}
BENCH_ROWS=${BENCH_ROWS:-100000}
BENCH_RUNS=${BENCH_RUNS:-5}

die() { echo "sqlite_compare: $*" >&2; exit 1; }

[[ -x $KARTEX_CLI ]] || die "no kartex-cli at $KARTEX_CLI (build it, or set KARTEX_CLI)"
[[ -x $GENERATE_LOG ]] || die "no generate_log at $GENERATE_LOG (build it, or set GENERATE_LOG)"
command -v sqlite3 >/dev/null || die "sqlite3 is needed (apt-get install sqlite3)"
[[ -x /usr/bin/time ]] || die "/usr/bin/time is needed (apt-get install time)"
USE_HYPERFINE=0
if [[ ${BENCH_NO_HYPERFINE:-0} != 1 ]] && command -v hyperfine >/dev/null; then USE_HYPERFINE=1; fi

if [[ -n ${BENCH_DIR:-} ]]; then
  mkdir -p "$BENCH_DIR"
else
  BENCH_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kartex-sqlite.XXXXXX")
  trap 'rm -rf "$BENCH_DIR"' EXIT
fi

LOG=$BENCH_DIR/log_$BENCH_ROWS.csv
[[ -f $LOG ]] || "$GENERATE_LOG" "$BENCH_ROWS" "$LOG" 1 >&2 || die "generate_log failed"
OUT_KARTEX=$BENCH_DIR/kartex_once.csv
OUT_SQLITE=$BENCH_DIR/sqlite_once.csv

# Dot-command arguments take double-quoted file names.
KARTEX_CMD=("$KARTEX_CLI" open "$LOG" qso 1 save-csv "$OUT_KARTEX")
SQLITE_CMD=(sqlite3 -batch :memory: ".mode csv" ".import \"$LOG\" log" ".headers on" ".once \"$OUT_SQLITE\""
            "SELECT * FROM log WHERE CALL IN (SELECT CALL FROM log GROUP BY CALL HAVING COUNT(*)=1);")

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# measure NAME CMD...: prints "MEDIAN_WALL_S PEAK_RSS_KIB".
measure() {
  local name=$1
  shift
  local times=$BENCH_DIR/times_$name.txt i
  : >"$times"
  for ((i = 0; i < BENCH_RUNS; i++)); do
    /usr/bin/time -o "$BENCH_DIR/time.txt" -f "%e %M" "$@" >/dev/null 2>"$BENCH_DIR/stderr.txt" ||
      die "$name failed: $(head -3 "$BENCH_DIR/stderr.txt")"
    tail -n 1 "$BENCH_DIR/time.txt" >>"$times"
  done
  local wall rss
  rss=$(awk '$2 > m { m = $2 } END { print m }' "$times")
  if [[ $USE_HYPERFINE == 1 ]]; then
    local quoted="" w
    for w in "$@"; do quoted+=" $(printf '%q' "$w")"; done
    hyperfine --style none --runs "$BENCH_RUNS" --export-json "$BENCH_DIR/hf_$name.json" \
      "$quoted >/dev/null 2>/dev/null" >/dev/null 2>"$BENCH_DIR/hf_stderr.txt" ||
      die "hyperfine failed: $(head -3 "$BENCH_DIR/hf_stderr.txt")"
    wall=$(python3 -c 'import json,sys; print("%.3f" % json.load(open(sys.argv[1]))["results"][0]["median"])' \
      "$BENCH_DIR/hf_$name.json")
  else
    wall=$(awk '{ print $1 }' "$times" | median)
  fi
  echo "$wall $rss"
}

# Untimed first runs: warm the page cache and check that both did the same job.
"${KARTEX_CMD[@]}" >/dev/null || die "kartex-cli failed"
"${SQLITE_CMD[@]}" >/dev/null || die "sqlite3 failed"
rows_kartex=$(($(wc -l <"$OUT_KARTEX") - 1))
rows_sqlite=$(($(wc -l <"$OUT_SQLITE") - 1))
[[ $rows_kartex == "$rows_sqlite" ]] ||
  die "the outputs differ: kartex-cli wrote $rows_kartex rows, sqlite3 $rows_sqlite"
if command -v python3 >/dev/null; then
  python3 - "$OUT_KARTEX" "$OUT_SQLITE" <<'EOF' || die "the outputs hold different calls"
import csv, sys
def calls(path):
    with open(path, encoding="latin-1", newline="") as f:
        rows = csv.reader(f)
        column = next(rows).index("CALL")
        return sorted(r[column] for r in rows)
sys.exit(0 if calls(sys.argv[1]) == calls(sys.argv[2]) else 1)
EOF
fi

result_kartex=$(measure kartex "${KARTEX_CMD[@]}")
result_sqlite=$(measure sqlite "${SQLITE_CMD[@]}")
read -r wall_kartex rss_kartex <<<"$result_kartex"
read -r wall_sqlite rss_sqlite <<<"$result_sqlite"

echo "log: $LOG ($(awk -v s="$(stat -c %s "$LOG")" 'BEGIN { printf "%.1f MiB", s / 1048576 }'), $BENCH_ROWS contacts);" \
     "$rows_kartex rows of stations worked once written by both"
echo "runs: $BENCH_RUNS each; wall time: $([[ $USE_HYPERFINE == 1 ]] && echo "hyperfine median" || echo "median of /usr/bin/time")"
awk -v wk="$wall_kartex" -v ws="$wall_sqlite" -v rk="$rss_kartex" -v rs="$rss_sqlite" 'BEGIN {
  printf "%-44s %10s %10s\n", "", "wall s", "RSS MiB"
  printf "%-44s %10.3f %10.1f\n", "kartex-cli open LOG qso 1 save-csv OUT", wk, rk / 1024
  printf "%-44s %10.3f %10.1f\n", "sqlite3 .import, SELECT ... HAVING COUNT(*)=1", ws, rs / 1024
  printf "ratio sqlite/kartex: %.2f\n", (wk > 0 ? ws / wk : 0)
}'
