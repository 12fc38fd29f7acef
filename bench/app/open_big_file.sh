#!/usr/bin/env bash
# The viewer opening one big code page 932 file (2 GiB by default, in the page cache): the real main
# window, offscreen, lists the file's folder, a click on its row loads it, and the editor paints its
# first page. Prints the seconds from the click to that paint, the resident memory after it and at
# its peak, and their ratio to the file's size (the target: under 3 s, at most 1.5x).
# Usage: bench/app/open_big_file.sh BUILD_DIR...  (each holds bench/app/window_bench: make bench)
#   TESVARIN_BIG_MB: the file's size in MiB (default 2048). The file is made under /tmp and removed
#   at the end. TESVARIN_BENCH_WRAP=1: word wrap is then turned off and on again, timed the same way;
#   TESVARIN_BENCH_END=1 instead: Ctrl+End and Ctrl+Home, each until painted.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
[[ $# -ge 1 ]] || { echo "usage: open_big_file.sh BUILD_DIR..." >&2; exit 2; }
WORK=$(mktemp -d /tmp/tesvarin-bench-open-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/dir"
python3 "$HERE/gen_big_file.py" "$WORK/dir/big.txt" "${TESVARIN_BIG_MB:-2048}"
cat "$WORK/dir/big.txt" > /dev/null
MB=$(( $(stat -c %s "$WORK/dir/big.txt") / 1048576 ))
export QT_QPA_PLATFORM=offscreen
echo "load: $(cut -d' ' -f1-3 /proc/loadavg); file: $MB MiB"
for BUILD in "$@"; do
  WIN=$(cd "$BUILD" && pwd)/bench/app/window_bench
  [[ -x "$WIN" ]] || { echo "no window_bench in $BUILD" >&2; exit 2; }
  echo "$WIN"
  /usr/bin/time -f "cpu (whole run): user %U s, system %S s" "$WIN" open "$WORK/dir/big.txt" ${TESVARIN_BENCH_WRAP:+wrap} ${TESVARIN_BENCH_END:+end} 2>&1 | grep -E '^(open|resident|cpu|word wrap|ctrl)' |
    awk -v mb="$MB" '/^resident/ { print; printf "  resident after %.2fx the file, at its peak %.2fx\n", $8 / mb, $11 / mb; next } { print }'
done
