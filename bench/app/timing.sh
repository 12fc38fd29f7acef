# Helpers the comparison scripts share; sourced, not run.

# The bytes of a UTF-8 text in code page 932.
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# Wall time of one run of "$@" in seconds. The clock is bash's own: a date run to read it would be
# timed as well, a few milliseconds that make runs of tens of milliseconds look alike.
seconds() {
  local LC_ALL=C start end  # a decimal point, whatever the caller's locale
  start=$EPOCHREALTIME
  "$@" > /dev/null 2>&1 || true
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", e - s }'
}

# The median of the numbers on standard input, one per line.
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
