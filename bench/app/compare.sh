#!/usr/bin/env bash
# Side by side, warm caches: tesvarin-cli against GNU grep, ripgrep and a sed loop over one
# deterministic code page 932 corpus (about 20,000 files, 400 MB, nested, with binary, empty and
# 10 MB files). The file lists are compared before anything is timed; each time is the best of three.
# Usage: bench/app/compare.sh BUILD_DIR [WORK_DIR]
#   BUILD_DIR: a Release build (-DTESVARIN_QT=OFF) holding tools/cli/tesvarin-cli
#   WORK_DIR:  where the corpus goes (default a fresh folder under /tmp); removed at the end
# ripgrep comes with scripts/install-deps.sh --bench.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=${1:?usage: compare.sh BUILD_DIR [WORK_DIR]}
CLI=$(cd "$BUILD" && pwd)/tools/cli/tesvarin-cli
[[ -x "$CLI" ]] || { echo "no tesvarin-cli in $BUILD" >&2; exit 2; }
WORK=${2:-$(mktemp -d /tmp/tesvarin-bench-XXXXXX)}
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
trap 'rm -rf "$WORK"' EXIT
CORPUS="$WORK/corpus"
FILES=${TESVARIN_BENCH_FILES:-20000}
MB=${TESVARIN_BENCH_MB:-400}

echo "generating $FILES files, about $MB MB, in $CORPUS"
python3 "$HERE/gen_corpus.py" "$CORPUS" "$FILES" "$MB"
LARGEST=$(find "$CORPUS" -type f -printf '%s\n' | sort -n | tail -1)
export LC_ALL=C

# The hand expansion of the fuzzy "needle": each letter as ASCII either case or full-width either case.
fuzzy_pattern() {
  printf '(n|N|\x82\x6d|\x82\x8e)(e|E|\x82\x64|\x82\x85)(e|E|\x82\x64|\x82\x85)'
  printf '(d|D|\x82\x63|\x82\x84)(l|L|\x82\x6b|\x82\x8c)(e|E|\x82\x64|\x82\x85)'
}
fuzzy_pattern > "$WORK/fuzzy.pat"

# Best wall time of three runs of "$@" in seconds, the output of the last run in $WORK/out.
best_of_three() {
  local best="" start end
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    "$@" > "$WORK/out" 2>/dev/null || true
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
  done
  echo "$best"
}

sorted() { "$@" 2>/dev/null | sort || true; }

# Runs both commands once (which also warms the cache), requires the same sorted file list, then
# times both and prints the ratio against the target.
compare() {
  local label=$1 target=$2; shift 2
  local -a ours=() peer=()
  while [[ $1 != -- ]]; do ours+=("$1"); shift; done
  shift
  peer=("$@")
  sorted "${ours[@]}" > "$WORK/ours.list"
  sorted "${peer[@]}" > "$WORK/peer.list"
  if ! cmp -s "$WORK/ours.list" "$WORK/peer.list"; then
    echo "$label: the file lists differ ($(wc -l < "$WORK/ours.list") against $(wc -l < "$WORK/peer.list")):" >&2
    diff "$WORK/ours.list" "$WORK/peer.list" | head -10 >&2
    exit 1
  fi
  local t_ours t_peer
  t_ours=$(best_of_three "${ours[@]}")
  t_peer=$(best_of_three "${peer[@]}")
  awk -v l="$label" -v a="$t_ours" -v b="$t_peer" -v t="$target" -v n="$(wc -l < "$WORK/ours.list")" \
    'BEGIN { r = a / b; printf "%-34s %8.3f s %8.3f s %7.2fx  target <= %sx %s  (%d files)\n", l, a, b, r, t, (r <= t ? "met" : "MISSED"), n }'
}

printf '%-34s %10s %10s %8s\n' comparison tesvarin peer ratio
compare "plain -t vs grep -rliF" 1.5 "$CLI" --paths -t needle "$CORPUS" -- grep -rliF needle "$CORPUS"
compare "match case -c vs grep -rlF" 1.5 "$CLI" --paths -c -t needle "$CORPUS" -- grep -rlF needle "$CORPUS"
compare "regexp -e vs grep -rlE" 2 "$CLI" --paths -e -t 'zq[0-9]+x' "$CORPUS" -- grep -rlE 'zq[0-9]+x' "$CORPUS"
compare "fuzzy -e -f vs grep -rlE (expanded)" 2 \
  "$CLI" --paths -e -f -t needle "$CORPUS" -- grep -rlE -f "$WORK/fuzzy.pat" "$CORPUS"
if command -v rg > /dev/null; then
  compare "plain -t vs rg -uuu -li -E shift_jis" 0.5 "$CLI" --paths -t needle "$CORPUS" -- \
    rg -uuu -li -E shift_jis needle "$CORPUS"
else
  echo "ripgrep not installed (scripts/install-deps.sh --bench): skipped"
fi

# Resident memory of the plain search, against 64 MB plus three times the largest file.
/usr/bin/time -v "$CLI" --paths -t needle "$CORPUS" > /dev/null 2> "$WORK/time.txt" || true
RSS_KB=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$WORK/time.txt")
awk -v k="$RSS_KB" -v big="$LARGEST" 'BEGIN { lim = 64 * 1024 + 3 * big / 1024;
  printf "%-34s %8.1f MB limit %8.1f MB %7.2fx  %s\n", "resident memory (plain search)", k / 1024, lim / 1024, k / lim, (k <= lim ? "met" : "MISSED") }'

# Replace a word in 1,000 files: two identical copies, one for each side; the results must agree.
REPL="$WORK/replace"
mkdir -p "$REPL"
grep -rlF needle "$CORPUS" | grep -v '/big' | head -1000 > "$WORK/replace.list" || true
N=0
while IFS= read -r F; do
  N=$((N + 1))
  mkdir -p "$REPL/ours/$((N % 20))" "$REPL/sed/$((N % 20))"
  cp "$F" "$REPL/ours/$((N % 20))/$N.txt"
  cp "$F" "$REPL/sed/$((N % 20))/$N.txt"
done < "$WORK/replace.list"
# Fill up to 1,000 files with copies that get the word planted.
while [[ $N -lt 1000 ]]; do
  N=$((N + 1))
  mkdir -p "$REPL/ours/$((N % 20))" "$REPL/sed/$((N % 20))"
  # Whole lines only: a cut inside a double-byte character would change what a character search finds.
  { head -n 40 "$(sed -n "$(( (N % $(wc -l < "$WORK/replace.list")) + 1 ))p" "$WORK/replace.list")"; printf 'needle\r\n'; } \
    > "$REPL/ours/$((N % 20))/$N.txt"
  cp "$REPL/ours/$((N % 20))/$N.txt" "$REPL/sed/$((N % 20))/$N.txt"
done
# Warm both copies, then one timed run each (a replace changes its input).
cat "$REPL"/ours/*/* "$REPL"/sed/*/* > /dev/null
find "$REPL/sed" -type f | sort > "$WORK/sed.list"
START=$(date +%s.%N)
"$CLI" -c -t needle -R pin --yes --no-backup "$REPL/ours" > /dev/null 2>&1 || true
MID=$(date +%s.%N)
while IFS= read -r F; do sed -i 's/needle/pin/g' "$F"; done < "$WORK/sed.list"
END=$(date +%s.%N)
if ! diff -r "$REPL/ours" "$REPL/sed" > /dev/null; then
  echo "replace: the two copies differ after replacing" >&2
  diff -rq "$REPL/ours" "$REPL/sed" | head -5 >&2
  exit 1
fi
awk -v s="$START" -v m="$MID" -v e="$END" -v n="$N" 'BEGIN { a = m - s; b = e - m; r = a / b;
  printf "%-34s %8.3f s %8.3f s %7.2fx  target <= 1.5x %s  (%d files)\n", "replace -R vs sed -i loop", a, b, r, (r <= 1.5 ? "met" : "MISSED"), n }'
