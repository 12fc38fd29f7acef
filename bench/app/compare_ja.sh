#!/usr/bin/env bash
# Side by side, warm caches: tesvarin-cli against GNU grep and ripgrep on a deterministic
# Japanese-dominant code page 932 corpus (about 3,000 files, 120 MB). Every needle is given to the
# peers as its code page 932 bytes (ripgrep: as (?-u)\xHH escapes); tesvarin-cli takes it in UTF-8 as
# a user types it. The file lists are compared
# before anything is timed (not for whole words, which grep defines otherwise); the runs of the
# three programs are interleaved, and each figure is the median of RUNS runs.
# Usage: bench/app/compare_ja.sh BUILD_DIR [CORPUS_DIR]
#   BUILD_DIR:  a Release build (-DTESVARIN_QT=OFF) holding tools/cli/tesvarin-cli
#   CORPUS_DIR: an existing corpus of gen_corpus_ja.py to reuse (default: a fresh one, removed at the end)
# ripgrep comes with scripts/install-deps.sh --bench.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=${1:?usage: compare_ja.sh BUILD_DIR [CORPUS_DIR]}
CLI=$(cd "$BUILD" && pwd)/tools/cli/tesvarin-cli
[[ -x "$CLI" ]] || { echo "no tesvarin-cli in $BUILD" >&2; exit 2; }
WORK=$(mktemp -d /tmp/tesvarin-bench-ja-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
if [[ -n ${2:-} ]]; then
  CORPUS=$(cd "$2" && pwd)
else
  CORPUS="$WORK/corpus"
  python3 "$HERE/gen_corpus_ja.py" "$CORPUS" "${TESVARIN_BENCH_FILES:-3000}" "${TESVARIN_BENCH_MB:-120}"
fi
RUNS=${TESVARIN_BENCH_RUNS:-5}
export LC_ALL=C
HAVE_RG=$(command -v rg > /dev/null && echo 1 || echo 0)
[[ $HAVE_RG == 1 ]] || echo "ripgrep not installed (scripts/install-deps.sh --bench): its column stays empty"
find "$CORPUS" -type f -exec cat {} + > /dev/null

. "$HERE/timing.sh"
# Bytes on standard input as ripgrep escapes them.
rg_escape() { od -An -tx1 -v | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/\([0-9a-f][0-9a-f]\)/\\x\1/g; s/ //g'; }

# compare LABEL CHECK TESVARIN-ARGS... -- GREP-ARGS... -- RG-ARGS...
# CHECK 1: the three file lists must agree.
compare() {
  local label=$1 check=$2; shift 2
  local -a ours=() grep_cmd=() rg_cmd=()
  while [[ $1 != -- ]]; do ours+=("$1"); shift; done
  shift
  while [[ $1 != -- ]]; do grep_cmd+=("$1"); shift; done
  shift
  rg_cmd=("$@")
  "${ours[@]}" 2> /dev/null | sort > "$WORK/ours.list" || true
  "${grep_cmd[@]}" 2> /dev/null | sort > "$WORK/grep.list" || true
  if [[ $check == 1 ]] && ! cmp -s "$WORK/ours.list" "$WORK/grep.list"; then
    echo "$label: the file lists differ ($(wc -l < "$WORK/ours.list") against grep's $(wc -l < "$WORK/grep.list")):" >&2
    diff "$WORK/ours.list" "$WORK/grep.list" | head -10 >&2
    exit 1
  fi
  if [[ $check == 1 && $HAVE_RG == 1 ]]; then
    "${rg_cmd[@]}" 2> /dev/null | sort > "$WORK/rg.list" || true
    if ! cmp -s "$WORK/ours.list" "$WORK/rg.list"; then
      echo "$label: the file lists differ from ripgrep's ($(wc -l < "$WORK/rg.list")):" >&2
      diff "$WORK/ours.list" "$WORK/rg.list" | head -10 >&2
      exit 1
    fi
  fi
  : > "$WORK/t.ours"; : > "$WORK/t.grep"; : > "$WORK/t.rg"
  for _ in $(seq "$RUNS"); do
    seconds "${ours[@]}" >> "$WORK/t.ours"
    seconds "${grep_cmd[@]}" >> "$WORK/t.grep"
    [[ $HAVE_RG == 1 ]] && seconds "${rg_cmd[@]}" >> "$WORK/t.rg"
  done
  local a b c
  a=$(median < "$WORK/t.ours")
  b=$(median < "$WORK/t.grep")
  c=$([[ $HAVE_RG == 1 ]] && median < "$WORK/t.rg" || echo 0)
  awk -v l="$label" -v a="$a" -v b="$b" -v c="$c" -v n="$(wc -l < "$WORK/ours.list")" \
    'BEGIN { printf "%-30s %7.3f s %7.3f s %7.3f s %6.2fx %6.2fx %6d\n", l, a, b, c, a / b, (c > 0 ? a / c : 0), n }'
}

printf '%-30s %9s %9s %9s %7s %7s %6s\n' case tesvarin grep rg vs-grep vs-rg files
# Plain needles: -t (without case) against grep -rliF, -c against grep -rlF, each also as a whole word.
for word in 日本語 すみません ﾃｽﾄ needle; do
  bytes=$(cp932 "$word")
  esc=$(cp932 "$word" | rg_escape)
  compare "$word" 1 "$CLI" --paths -t "$word" "$CORPUS" -- grep -rliF "$bytes" "$CORPUS" -- \
    rg -uuu -l -i "(?-u)$esc" "$CORPUS"
  compare "$word -c" 1 "$CLI" --paths -c -t "$word" "$CORPUS" -- grep -rlF "$bytes" "$CORPUS" -- \
    rg -uuu -l "(?-u)$esc" "$CORPUS"
  compare "$word -w" 0 "$CLI" --paths -w -t "$word" "$CORPUS" -- grep -rliF "$bytes" "$CORPUS" -- \
    rg -uuu -l -i "(?-u)$esc" "$CORPUS"
  compare "$word -c -w" 0 "$CLI" --paths -c -w -t "$word" "$CORPUS" -- grep -rlF "$bytes" "$CORPUS" -- \
    rg -uuu -l "(?-u)$esc" "$CORPUS"
done
# Expressions: the same bytes with the expression's own characters between them.
expression() {
  local label=$1 pattern=$2 rg_pattern=$3
  compare "$label" 1 "$CLI" --paths -e -t "$label" "$CORPUS" -- grep -rlE "$pattern" "$CORPUS" -- \
    rg -uuu -l "(?-u)$rg_pattern" "$CORPUS"
}
esc() { cp932 "$1" | rg_escape; }
expression "日本(語|酒)" "$(cp932 日本)($(cp932 語)|$(cp932 酒))" "$(esc 日本)($(esc 語)|$(esc 酒))"
expression "(東京|大阪)都庁" "($(cp932 東京)|$(cp932 大阪))$(cp932 都庁)" "($(esc 東京)|$(esc 大阪))$(esc 都庁)"
expression "すみません|都庁" "$(cp932 すみません)|$(cp932 都庁)" "$(esc すみません)|$(esc 都庁)"
