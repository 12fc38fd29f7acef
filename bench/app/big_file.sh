#!/usr/bin/env bash
# One big code page 932 file (2 GiB by default) with the needles only on its last line, in the page
# cache: tesvarin-cli against grep (and ripgrep when installed), and its replace of the one hit
# against sed -i, each on a fresh copy; wall time and the most anonymous memory (RssAnon, sampled
# while it runs; mapped file pages are not anonymous). A replace row also gives the most seen after
# the listing was printed, while the listed file was replaced.
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

# As measure, for a run that prints its listing before it replaces: also the most RssAnon seen
# once the listing is out, in MB.
measure_replace() {
  local start end pid peak=0 after=0 kb out=$WORK/replace.out
  start=$(date +%s%N)
  "$@" > "$out" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2> /dev/null; do
    kb=$(awk '/^RssAnon/ { print $2 }' "/proc/$pid/status" 2> /dev/null || true)
    if [[ -n $kb ]]; then
      [[ $kb -gt $peak ]] && peak=$kb
      [[ -s $out && $kb -gt $after ]] && after=$kb
    fi
    sleep 0.02
  done
  wait "$pid" || true
  end=$(date +%s%N)
  awk -v s="$start" -v e="$end" -v p="$peak" -v a="$after" \
    'BEGIN { printf "%.2f s  %d MB  (replacing: %d MB)", (e - s) / 1e9, p / 1024, a / 1024 }'
}

# A fresh copy of the big file to replace in, in the page cache.
fresh_copy() {
  rm -rf "$WORK/rep"
  mkdir "$WORK/rep"
  cp "$WORK/dir/big.txt" "$WORK/rep/big.txt"
  cat "$WORK/rep/big.txt" > /dev/null
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

# The replace rows last: their copies push the searched file out of the page cache.
NEW=$(printf '%s' 置換語彙 | iconv -f UTF-8 -t CP932)
for BUILD in "$@"; do
  CLI=$(cd "$BUILD" && pwd)/tools/cli/tesvarin-cli
  fresh_copy
  # No backup, no journal (the file is over its bound; --yes says to go on without one).
  printf '%-34s %s\n' "tesvarin -R ja word, no backup" "$(measure_replace env XDG_DATA_HOME="$WORK/xdg" \
    "$CLI" --paths -c -t 探索語彙 -R 置換語彙 --no-backup --yes "$WORK/rep")"
  grep -q "$NEW" "$WORK/rep/big.txt" || { echo "the replace did not write the file" >&2; exit 1; }
done
fresh_copy
row "sed -i ja word" sed -i "s/$JA/$NEW/g" "$WORK/rep/big.txt"
# The replace flushes what it wrote to the disk before the file is replaced; sed -i does not.
fresh_copy
row "sed -i ja word, then sync" sh -c 'sed -i "s/$1/$2/g" "$3" && sync "$3"' sh "$JA" "$NEW" "$WORK/rep/big.txt"
