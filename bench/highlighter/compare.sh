#!/usr/bin/env bash
# The colouring state of every row and the painter's tokenizing of every row, each against
# `LC_ALL=C wc -w` (best of 3) on the same generated 100 MB code page 932 text.
# Usage: bench/highlighter/compare.sh BUILD_DIR (a Release build with -DTESVARIN_BENCH=ON).
set -euo pipefail
BUILD=${1:?usage: compare.sh BUILD_DIR}
BIN="$BUILD/bench/highlighter/highlighter_bench"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export TESVARIN_HL_BENCH_FILE="$WORK/text.txt"

"$BIN" --benchmark_color=false 2>"$WORK/bench.err" > "$WORK/bench.txt" || { cat "$WORK/bench.err" >&2; exit 1; }
# The mean wall time of the bench's 3 iterations, in milliseconds (the column after the name).
ms() { awk -v n="$1/" 'index($1, n) == 1 { print $2 }' "$WORK/bench.txt"; }

BEST=""
for _ in 1 2 3; do
  START=$(date +%s.%N)
  LC_ALL=C wc -w "$TESVARIN_HL_BENCH_FILE" > "$WORK/words"
  END=$(date +%s.%N)
  T=$(awk -v s="$START" -v e="$END" 'BEGIN { print (e - s) * 1000 }')
  if [ -z "$BEST" ] || awk -v a="$T" -v b="$BEST" 'BEGIN { exit !(a < b) }'; then BEST=$T; fi
done

echo "file: $(stat -c %s "$TESVARIN_HL_BENCH_FILE") bytes, wc -w: $(awk '{ print $1 }' "$WORK/words") words"
printf '%-28s %10s %8s\n' run ms vs_wc
printf '%-28s %10.1f %8s\n' "wc -w (best of 3)" "$BEST" 1.00
for NAME in BM_RowStatesOfEveryRow BM_PaintTokensOfEveryRow; do
  T=$(ms "$NAME")
  printf '%-28s %10.1f %8.2f\n' "$NAME" "$T" "$(awk -v a="$T" -v b="$BEST" 'BEGIN { print a / b }')"
done
echo "target: each at most 3.00"
grep -E '^BM_' "$WORK/bench.txt"
