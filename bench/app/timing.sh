# Helpers the comparison scripts share; sourced, not run.

# The bytes of a UTF-8 text in code page 932.
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# Wall time of one run of "$@" in seconds.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null 2>&1 || true
  end=$(date +%s%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", (e - s) / 1e9 }'
}

# The median of the numbers on standard input, one per line.
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
