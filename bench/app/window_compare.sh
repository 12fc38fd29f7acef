#!/usr/bin/env bash
# The main window (offscreen, through the real widgets) against tesvarin-cli --paths on the same
# corpus in the same run, then Abort latency on a tree of 100,000 small files and sorting 20,000 rows.
# Each search time is the best of three, the two programs taking turns on a warm cache: for the window
# the run from the Search press to the count message, for the command line its whole wall time.
# Usage: bench/app/window_compare.sh BUILD_DIR [WORK_DIR]
#   BUILD_DIR: the bench build (make bench) holding tools/cli/tesvarin-cli and bench/app/window_bench
#   WORK_DIR:  where the trees go (default a fresh folder under /tmp); removed at the end
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?usage: window_compare.sh BUILD_DIR [WORK_DIR]}" && pwd)
CLI=$BUILD/tools/cli/tesvarin-cli
WIN=$BUILD/bench/app/window_bench
[[ -x "$CLI" && -x "$WIN" ]] || { echo "no tesvarin-cli or window_bench in $BUILD" >&2; exit 2; }
WORK=${2:-$(mktemp -d /tmp/tesvarin-window-bench-XXXXXX)}
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen LC_ALL=C
CORPUS="$WORK/corpus"
python3 "$HERE/gen_corpus.py" "$CORPUS" "${TESVARIN_BENCH_FILES:-20000}" "${TESVARIN_BENCH_MB:-400}"

seconds() { local s e; s=$(date +%s.%N); "$@" > /dev/null 2>&1 || true; e=$(date +%s.%N); awk -v s="$s" -v e="$e" 'BEGIN { print e - s }'; }
run_seconds() { "$WIN" search "$@" 2>/dev/null | sed -n 's/^search \([0-9.]*\) s.*/\1/p'; }
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }

# $1 label, $2 the word ("" for no content test)
compare() {
  local label=$1 word=$2 cli="" win="" rows_cli rows_win
  local -a cli_args=(--paths "$CORPUS")
  [[ -n $word ]] && cli_args=(--paths -t "$word" "$CORPUS")
  rows_cli=$("$CLI" "${cli_args[@]}" | wc -l)
  rows_win=$("$WIN" search "$CORPUS" "$word" 2>/dev/null | sed -n 's/.*s, \([0-9]*\) rows/\1/p')
  [[ $rows_cli == "$rows_win" ]] || { echo "$label: rows differ ($rows_win against $rows_cli)" >&2; exit 1; }
  for _ in 1 2 3; do
    cli=$(min "$cli" "$(seconds "$CLI" "${cli_args[@]}")")
    win=$(min "$win" "$(run_seconds "$CORPUS" "$word")")
  done
  awk -v l="$label" -v w="$win" -v c="$cli" -v r="$rows_cli" \
    'BEGIN { printf "%-28s window %.2f s  cli %.2f s  ratio %.2fx (target 1.1x), %d rows\n", l, w, c, w / c, r }'
}
compare "search -t needle" needle
compare "walk only (no text)" ""

TREE="$WORK/abort"
python3 - "$TREE" <<'PY'
import os, sys
root = sys.argv[1]
line = "日本語のテキスト行です。検索の対象になります。\r\n".encode("cp932")
for d in range(100):
    os.makedirs(f"{root}/d{d:03}", exist_ok=True)
    for f in range(1000):
        with open(f"{root}/d{d:03}/f{f:04}.txt", "wb") as fh:
            fh.write(line * 4 + (b"needle\r\n" if f % 97 == 0 else b""))
PY
"$WIN" abort "$TREE" needle 20 2>/dev/null | grep latency | sed 's/$/ (target p99 100 ms)/'
"$WIN" sort 20000 2>/dev/null | grep worst | sed 's/$/ (target 50 ms)/'
