#!/usr/bin/env bash
# Times kartex-cli runs on generated logs of 100,000 and 1,000,000 contacts.
#
#   bench/run_cli_bench.sh [ACTIONS...]
#
# Each ACTIONS argument is one kartex-cli command line, with {LOG} standing for
# the generated log and {OUT} for an output file in the work folder, e.g.
#   bench/run_cli_bench.sh "open {LOG} info" "open {LOG} qso 1 info" \
#                          "open {LOG} click 4 info" "open {LOG} qso 1 save-csv {OUT}"
# Without arguments: "open {LOG} info". The word "all" stands for the standard
# list (see STANDARD_ACTIONS below).
#
# Environment:
#   KARTEX_CLI      kartex-cli to time (default build/bench/cli/kartex-cli)
#   GENERATE_LOG    the generator (default build/bench/bench/generate_log)
#   BENCH_DIR       folder of the logs and outputs (default: a new temporary folder,
#                   removed at the end; a given folder is kept and its logs reused)
#   BENCH_ROWS      row counts to measure (default "100000 1000000")
#   BENCH_RUNS      timed runs per action and log (default 5)
#   BENCH_FORMAT    csv (default) or adif: the generated log as Logger32's CSV
#                   export, or the same contacts as an ADIF log (log_ROWS.adi)
#   BENCH_REFERENCE_DIR  folder holding CTY.DAT and ADIF_DXC.TXT for save-country
#                   (default: the real files in reference/)
#   BENCH_NO_HYPERFINE=1  time with /usr/bin/time only, even when hyperfine is there
#
# Every run's standard output goes to /dev/null. One untimed run first puts the
# log into the page cache. Wall time is the median of the runs (hyperfine's
# median when hyperfine is installed, else that of /usr/bin/time); peak RSS is
# the largest maximum resident set size that /usr/bin/time saw over the runs.
# The memory target is 2 x file size + 30 MiB. A run that exits non-zero is
# reported as FAILED, not timed.

set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KARTEX_CLI=${KARTEX_CLI:-$REPO_ROOT/build/bench/cli/kartex-cli}
GENERATE_LOG=${GENERATE_LOG:-$REPO_ROOT/build/bench/bench/generate_log}
BENCH_ROWS=${BENCH_ROWS:-"100000 1000000"}
BENCH_RUNS=${BENCH_RUNS:-5}
BENCH_FORMAT=${BENCH_FORMAT:-csv}

STANDARD_ACTIONS=(
  "open {LOG} info"
  "open {LOG} qso 1 info"
  "open {LOG} click 4 info"
  "open {LOG} qso 1 save-csv {OUT}"
  "open {LOG} qso 2 save-csv {OUT}"
  "open {LOG} qso 2 save-stations {OUT}"
  "open {LOG} save-qsl {OUT}"
  "open {LOG} save-country {OUT} adif"
)

die() { echo "run_cli_bench: $*" >&2; exit 1; }

# --- set-up -----------------------------------------------------------------

check_tools() {
  [[ -x $KARTEX_CLI ]] || die "no kartex-cli at $KARTEX_CLI (build it, or set KARTEX_CLI)"
  [[ -x $GENERATE_LOG ]] || die "no generate_log at $GENERATE_LOG (build it, or set GENERATE_LOG)"
  [[ -x /usr/bin/time ]] || die "/usr/bin/time is needed (apt-get install time)"
  USE_HYPERFINE=0
  if [[ ${BENCH_NO_HYPERFINE:-0} != 1 ]] && command -v hyperfine >/dev/null; then USE_HYPERFINE=1; fi
}

make_bench_dir() {
  if [[ -n ${BENCH_DIR:-} ]]; then
    mkdir -p "$BENCH_DIR"
  else
    BENCH_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kartex-cli-bench.XXXXXX")
    trap 'rm -rf "$BENCH_DIR"' EXIT
  fi
  WORK_DIR=$BENCH_DIR/work
  mkdir -p "$WORK_DIR"
}

# save-country reads CTY.DAT and ADIF_DXC.TXT from the current folder; the
# runs happen in WORK_DIR with copies of them.
prepare_reference_files() {
  local ref=${BENCH_REFERENCE_DIR:-}
  if [[ -z $ref ]]; then
    if [[ -f $REPO_ROOT/reference/ADIF_DXC.TXT ]]; then
      cp "$REPO_ROOT/reference/ADIF_DXC.TXT" "$WORK_DIR/ADIF_DXC.TXT"
      cp "$REPO_ROOT/reference/cty-tyler4096-bigcty-20251011.dat" "$WORK_DIR/CTY.DAT"
      return
    fi
    ref=$REPO_ROOT/demo
  fi
  for f in CTY.DAT ADIF_DXC.TXT; do
    [[ -f $ref/$f ]] && cp "$ref/$f" "$WORK_DIR/$f"
  done
  return 0
}

# log_for ROWS: path of the generated log of ROWS contacts (seed 1), made once,
# in the format BENCH_FORMAT asks for.
log_for() {
  local rows=$1 path
  local -a format=()
  case $BENCH_FORMAT in
    csv) path=$BENCH_DIR/log_$1.csv ;;
    adif) path=$BENCH_DIR/log_$1.adi; format=(--adif) ;;
    *) die "BENCH_FORMAT must be csv or adif" ;;
  esac
  if [[ ! -f $path ]]; then
    "$GENERATE_LOG" "$rows" "$path" 1 "${format[@]}" >&2 || die "generate_log failed"
  fi
  echo "$path"
}

# --- measuring --------------------------------------------------------------

# expand_action ACTION LOG OUT: prints the words of the command line, one per
# line, with {LOG} and {OUT} replaced (after splitting, so paths may hold blanks).
expand_action() {
  local action=$1 log=$2 out=$3 word
  local -a words
  read -ra words <<<"$action"
  for word in "${words[@]}"; do
    word=${word//\{LOG\}/$log}
    word=${word//\{OUT\}/$out}
    printf '%s\n' "$word"
  done
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# time_action ACTION LOG: prints "MEDIAN_WALL_S PEAK_RSS_KIB", or "FAILED".
time_action() {
  local action=$1 log=$2 out=$WORK_DIR/out.csv
  local -a cmd
  mapfile -t cmd < <(expand_action "$action" "$log" "$out")
  local times=$BENCH_DIR/times.txt
  : >"$times"

  # Warm-up: the log into the page cache, and a check that the command works.
  if ! (cd "$WORK_DIR" && "$KARTEX_CLI" "${cmd[@]}" >/dev/null 2>"$BENCH_DIR/stderr.txt"); then
    echo "FAILED"
    sed 's/^/    /' "$BENCH_DIR/stderr.txt" | head -5 >&2
    return
  fi
  local i
  for ((i = 0; i < BENCH_RUNS; i++)); do
    if ! (cd "$WORK_DIR" && /usr/bin/time -o "$BENCH_DIR/time.txt" -f "%e %M" \
            "$KARTEX_CLI" "${cmd[@]}" >/dev/null 2>/dev/null); then
      echo "FAILED"
      return
    fi
    tail -n 1 "$BENCH_DIR/time.txt" >>"$times"
  done
  local wall rss
  rss=$(awk '$2 > m { m = $2 } END { print m }' "$times")
  if [[ $USE_HYPERFINE == 1 ]]; then
    local quoted="" w
    for w in "$KARTEX_CLI" "${cmd[@]}"; do quoted+=" $(printf '%q' "$w")"; done
    (cd "$WORK_DIR" && hyperfine --style none --runs "$BENCH_RUNS" --export-json "$BENCH_DIR/hf.json" \
        "$quoted >/dev/null 2>/dev/null" >/dev/null 2>"$BENCH_DIR/hf_stderr.txt") || {
      sed 's/^/    /' "$BENCH_DIR/hf_stderr.txt" | head -5 >&2
      echo "FAILED"
      return
    }
    wall=$(python3 -c 'import json,sys; print("%.3f" % json.load(open(sys.argv[1]))["results"][0]["median"])' \
        "$BENCH_DIR/hf.json")
  else
    wall=$(awk '{ print $1 }' "$times" | median)
  fi
  echo "$wall $rss"
}

# report_line ACTION LOG: one line of the table.
report_line() {
  local action=$1 log=$2 size_bytes result
  size_bytes=$(stat -c %s "$log")
  result=$(time_action "$action" "$log")
  awk -v action="$action" -v rows="$(basename "$log" | sed 's/^log_//; s/\.[a-z]*$//')" -v size="$size_bytes" \
      -v result="$result" 'BEGIN {
    mib = 1024 * 1024
    target = 2 * size / mib + 30
    split(result, r, " ")
    if (r[1] == "FAILED") {
      printf "%-40s %9s %9.1f %10s %10s %10.1f %s\n", action, rows, size / mib, "FAILED", "-", target, "-"
    } else {
      rss = r[2] / 1024
      printf "%-40s %9s %9.1f %10.3f %10.1f %10.1f %s\n", action, rows, size / mib, r[1], rss, target,
             (rss <= target ? "yes" : "NO")
    }
  }'
}

main() {
  local -a actions=()
  local a
  for a in "$@"; do
    if [[ $a == all ]]; then actions+=("${STANDARD_ACTIONS[@]}"); else actions+=("$a"); fi
  done
  ((${#actions[@]})) || actions=("open {LOG} info")

  check_tools
  make_bench_dir
  prepare_reference_files

  local -a logs=()
  local rows
  for rows in $BENCH_ROWS; do logs+=("$(log_for "$rows")"); done

  echo "kartex-cli: $KARTEX_CLI"
  echo "runs per line: $BENCH_RUNS; wall time: $([[ $USE_HYPERFINE == 1 ]] && echo "hyperfine median" || echo "median of /usr/bin/time")"
  printf "%-40s %9s %9s %10s %10s %10s %s\n" "action" "rows" "file MiB" "wall s" "RSS MiB" "target MiB" "within"
  local log
  for a in "${actions[@]}"; do
    for log in "${logs[@]}"; do report_line "$a" "$log"; done
  done
}

main "$@"
