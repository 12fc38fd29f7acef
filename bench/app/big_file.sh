#!/usr/bin/env bash
# One big code page 932 file (2 GiB by default) with the needles only on its last line, in the page
# cache: tesvarin-cli against grep (and ripgrep when installed), wall time and the most anonymous
# memory (RssAnon, sampled while it runs; mapped file pages are not anonymous).
# Usage: bench/app/big_file.sh BUILD_DIR... (each holds tools/cli/tesvarin-cli; one set of rows each)
#   TESVARIN_BIG_MB: the file's size in MiB (default 2048). The file is made under /tmp and removed
#   at the end.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
[[ $# -ge 1 ]] || { echo "usage: big_file.sh BUILD_DIR..." >&2; exit 2; }
WORK=$(mktemp -d /tmp/tesvarin-bench-big-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/dir"
python3 "$HERE/gen_big_file.py" "$WORK/dir/big.txt" "${TESVARIN_BIG_MB:-2048}"
cat "$WORK/dir/big.txt" > /dev/null
export LC_ALL=C
JA=$(printf '%s' 探索語彙 | iconv -f UTF-8 -t CP932)
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"

# Runs "$@" and prints its wall time in seconds and the most RssAnon seen, in MB.
measure() {
  local start end pid peak=0 kb
  start=$(date +%s%N)
  "$@" > /dev/null 2>&1 &
  pid=$!
  while kill -0 "$pid" 2> /dev/null; do
    kb=$(awk '/^RssAnon/ { print $2 }' "/proc/$pid/status" 2> /dev/null || true)
    [[ -n $kb && $kb -gt $peak ]] && peak=$kb
    sleep 0.02
  done
  wait "$pid" || true
  end=$(date +%s%N)
  awk -v s="$start" -v e="$end" -v p="$peak" 'BEGIN { printf "%.2f s  %d MB", (e - s) / 1e9, p / 1024 }'
}

row() {
  local label=$1; shift
  printf '%-34s %s\n' "$label" "$(measure "$@")"
}

for BUILD in "$@"; do
  CLI=$(cd "$BUILD" && pwd)/tools/cli/tesvarin-cli
  [[ -x "$CLI" ]] || { echo "no tesvarin-cli in $BUILD" >&2; exit 2; }
  echo "$CLI"
  row "tesvarin ja word, match case" "$CLI" --paths -c -t 探索語彙 "$WORK/dir"
  row "tesvarin ascii word, any case" "$CLI" --paths -t needleword "$WORK/dir"
  row "tesvarin --paths, no text" "$CLI" --paths "$WORK/dir"
done
row "grep -lF ja word" grep -lF "$JA" "$WORK/dir/big.txt"
row "grep -liF ascii word" grep -liF needleword "$WORK/dir/big.txt"
if command -v rg > /dev/null; then
  JA_RG=$(printf '%s' "$JA" | od -An -tx1 -v | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/\([0-9a-f][0-9a-f]\)/\\x\1/g; s/ //g')
  row "rg -l ja word" rg -uuu -l "(?-u)$JA_RG" "$WORK/dir/big.txt"
  row "rg -li ascii word" rg -uuu -li needleword "$WORK/dir/big.txt"
fi
