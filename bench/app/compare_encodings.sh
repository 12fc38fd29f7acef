#!/usr/bin/env bash
# Side by side, warm caches, on the Japanese corpus of gen_corpus_ja.py (code page 932) and on the
# same corpus converted to UTF-8:
#   - the code page 932 tree: tesvarin-cli as it runs by default (each file's encoding told from its
#     bytes) against --sjis-only (every file read as Shift-JIS, as before) and GNU grep;
#   - the UTF-8 tree: tesvarin-cli against ripgrep, both given the needle as UTF-8 text.
# The file lists are compared before anything is timed; the runs are interleaved and each figure is
# the median of RUNS runs.
# Usage: bench/app/compare_encodings.sh BUILD_DIR [CORPUS_DIR]
#   BUILD_DIR:  a Release build (-DTESVARIN_QT=OFF) holding tools/cli/tesvarin-cli
#   CORPUS_DIR: an existing corpus of gen_corpus_ja.py to reuse (default: a fresh one)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=${1:?usage: compare_encodings.sh BUILD_DIR [CORPUS_DIR]}
CLI=$(cd "$BUILD" && pwd)/tools/cli/tesvarin-cli
[[ -x "$CLI" ]] || { echo "no tesvarin-cli in $BUILD" >&2; exit 2; }
command -v rg > /dev/null || { echo "ripgrep not installed (scripts/install-deps.sh --bench)" >&2; exit 2; }
WORK=$(mktemp -d /tmp/tesvarin-bench-enc-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
if [[ -n ${2:-} ]]; then
  SJIS=$(cd "$2" && pwd)
else
  SJIS="$WORK/sjis"
  python3 "$HERE/gen_corpus_ja.py" "$SJIS" "${TESVARIN_BENCH_FILES:-3000}" "${TESVARIN_BENCH_MB:-120}"
fi
UTF8="$WORK/utf8"
(cd "$SJIS" && find . -type d) | while read -r d; do mkdir -p "$UTF8/$d"; done
# A file that is not code page 932 throughout (the corpus holds a few) is copied as it is.
(cd "$SJIS" && find . -type f) | while read -r f; do
  iconv -f CP932 -t UTF-8 "$SJIS/$f" > "$UTF8/$f" 2> /dev/null || cp "$SJIS/$f" "$UTF8/$f"
done
RUNS=${TESVARIN_BENCH_RUNS:-7}
export LC_ALL=C
find "$SJIS" "$UTF8" -type f -exec cat {} + > /dev/null

. "$HERE/timing.sh"

# race LABEL CMD-A... -- CMD-B... -- CMD-C...: the three lists must agree; prints medians and A/B, A/C.
race() {
  local label=$1; shift
  local -a a=() b=() c=()
  while [[ $1 != -- ]]; do a+=("$1"); shift; done
  shift
  while [[ $1 != -- ]]; do b+=("$1"); shift; done
  shift
  c=("$@")
  "${a[@]}" 2> /dev/null | sort > "$WORK/a.list" || true
  "${b[@]}" 2> /dev/null | sort > "$WORK/b.list" || true
  "${c[@]}" 2> /dev/null | sort > "$WORK/c.list" || true
  for x in b c; do
    if ! cmp -s "$WORK/a.list" "$WORK/$x.list"; then
      echo "$label: the file lists differ ($(wc -l < "$WORK/a.list") against $(wc -l < "$WORK/$x.list")):" >&2
      diff "$WORK/a.list" "$WORK/$x.list" | head -10 >&2
      exit 1
    fi
  done
  : > "$WORK/t.a"; : > "$WORK/t.b"; : > "$WORK/t.c"
  for _ in $(seq "$RUNS"); do
    seconds "${a[@]}" >> "$WORK/t.a"
    seconds "${b[@]}" >> "$WORK/t.b"
    seconds "${c[@]}" >> "$WORK/t.c"
  done
  local ta tb tc
  ta=$(median < "$WORK/t.a"); tb=$(median < "$WORK/t.b"); tc=$(median < "$WORK/t.c")
  awk -v l="$label" -v a="$ta" -v b="$tb" -v c="$tc" -v n="$(wc -l < "$WORK/a.list")" \
    'BEGIN { printf "%-24s %7.3f s %7.3f s %7.3f s %6.2fx %6.2fx %6d\n", l, a, b, c, a / b, a / c, n }'
}

echo "code page 932 tree: tesvarin (default) against --sjis-only and grep"
printf '%-24s %9s %9s %9s %7s %7s %6s\n' case default sjis-only grep vs-sjis vs-grep files
for word in 日本語 すみません ﾃｽﾄ; do
  race "$word -c" "$CLI" --paths -c -t "$word" "$SJIS" -- "$CLI" --sjis-only --paths -c -t "$word" "$SJIS" -- \
    grep -rlF "$(cp932 "$word")" "$SJIS"
done
echo
echo "UTF-8 tree: tesvarin against ripgrep (and tesvarin --sjis-only, which finds nothing there)"
printf '%-24s %9s %9s %9s %7s %7s %6s\n' case tesvarin rg grep vs-rg vs-grep files
for word in 日本語 すみません ﾃｽﾄ; do
  race "$word -c" "$CLI" --paths -c -t "$word" "$UTF8" -- rg -uuu -l -F "$word" "$UTF8" -- grep -rlF "$word" "$UTF8"
done
