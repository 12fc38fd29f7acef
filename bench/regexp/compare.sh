#!/usr/bin/env bash
# Side-by-side throughput of the engine (SetRegExp + Match per line), RE2 (Latin-1, per line) and
# GNU grep -c (best of three runs) over the same generated 50 MB code page 932 text, plus compile times and the exploding
# expression's resident peak. Usage: bench/regexp/compare.sh BUILD_DIR (a Release build with
# -DTESVARIN_BENCH=ON).
set -euo pipefail
BUILD=${1:?usage: compare.sh BUILD_DIR}
BIN="$BUILD/bench/regexp/regexp_bench"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
TEXT="$WORK/text.txt"
"$BIN" gen "$TEXT"
SIZE=$(stat -c %s "$TEXT")

# Three repetitions of one pass each, the best taken, as for grep below.
"$BIN" --benchmark_format=csv --benchmark_min_time=1x --benchmark_repetitions=3 2>/dev/null > "$WORK/bench.csv" ||
  "$BIN" --benchmark_format=csv 2>/dev/null > "$WORK/bench.csv"
rate() { awk -F, -v n="\"$1\"" '$1 == n && $6 / 1048576 > b { b = $6 / 1048576 } END { print b }' "$WORK/bench.csv"; }
time_us() { awk -F, -v n="\"$1\"" '$1 == n && (b == "" || $3 < b) { b = $3 } END { print b }' "$WORK/bench.csv"; }

printf '%-18s %10s %10s %10s %8s %8s\n' pattern engine_MB/s grep_MB/s re2_MB/s vs_grep vs_re2
while IFS=$'\t' read -r NAME MODE HEX; do
  printf '%s' "$HEX" | sed 's/../\\x&/g' | xargs -0 printf '%b' > "$WORK/pattern"
  # Best of three, as the engine side is repeated too: one grep run is at the mercy of the cache.
  BEST=""
  for _ in 1 2 3; do
    START=$(date +%s.%N)
    LC_ALL=C grep -c "$MODE" -f "$WORK/pattern" "$TEXT" > "$WORK/count" || true
    END=$(date +%s.%N)
    BEST=$(awk -v s="$START" -v e="$END" -v b="$BEST" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
  done
  GREP=$(awk -v t="$BEST" -v b="$SIZE" 'BEGIN { print b / 1048576 / t }')
  ENGINE=$(rate "Engine/$NAME")
  RE2=$(rate "RE2/$NAME")
  printf '%-18s %10.1f %10.1f %10.1f %8.2f %8.2f  (grep lines %s)\n' "$NAME" "$ENGINE" "$GREP" "$RE2" \
    "$(awk -v a="$ENGINE" -v b="$GREP" 'BEGIN { print a / b }')" \
    "$(awk -v a="$ENGINE" -v b="$RE2" 'BEGIN { print a / b }')" "$(cat "$WORK/count")"
done < <("$BIN" patterns)

echo "compile new expression: $(time_us Compile/new) us (target 1000)"
echo "compile fuzzy, ten characters: $(time_us Compile/fuzzy10) us (target 10000)"
"$BIN" explode
echo "engine line counts:"
grep -E '^"Engine/' "$WORK/bench.csv" | awk -F, '$1 !~ /_(mean|median|stddev|cv)"$/ && !seen[$1]++ { print $1, $NF }'
