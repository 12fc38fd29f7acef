#!/bin/sh
# The command line as scripts see it: help and version on stdout, usage errors on stderr with
# status 2, NUL-ended paths, and no progress line or colour when nobody watches a terminal.
set -u
CLI="$1"
VERSION="$2"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$CLI" --help >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "--help status $rc"
grep -q '^usage: tesvarin-cli' "$T/out" || fail "--help printed no usage"
grep -q -- '--null' "$T/out" || fail "--help does not name --null"
[ -s "$T/err" ] && fail "--help wrote to stderr"
"$CLI" -h | cmp -s - "$T/out" || fail "-h differs from --help"

[ "$("$CLI" --version)" = "tesvarin-cli $VERSION" ] || fail "--version: $("$CLI" --version)"
[ "$("$CLI" -V 2>&1)" = "tesvarin-cli $VERSION" ] || fail "-V"

usage_error() {  # expected message, then the arguments
  expected="$1"; shift
  "$CLI" "$@" >"$T/out" 2>"$T/err"; rc=$?
  [ $rc -eq 2 ] || fail "$*: status $rc"
  [ -s "$T/out" ] && fail "$*: wrote to stdout"
  grep -qF "tesvarin-cli: $expected" "$T/err" || fail "$*: said $(cat "$T/err")"
  grep -q -- "--help" "$T/err" || fail "$*: no pointer to --help"
}
usage_error "unknown option --bogus" --bogus "$T"
usage_error "unknown option --bogus" --bogus=1 "$T"
usage_error "unknown option -x" -cx "$T"
usage_error "missing value for -t" "$T" -t
usage_error "missing value for --name" "$T" --name
usage_error "--hidden takes no value" --hidden=yes "$T"
usage_error "no folder given"
usage_error "more than one folder given" "$T" "$T"
usage_error "--larger and --smaller exclude each other" --larger 1 --smaller 2 "$T"
usage_error "not a size in KB" --larger lots "$T"
usage_error "not a date" --from yesterday "$T"

mkdir -p "$T/tree/sub dir"
printf 'needle\n' > "$T/tree/a.txt"
printf 'needle\n' > "$T/tree/sub dir/b
c.txt"
printf 'hay\n' > "$T/tree/d.txt"
# Options after the folder, joined values, clustered flags and "--" as peers take them.
"$CLI" "$T/tree" --text=needle -0 >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "search status $rc"
[ "$(tr '\0' '\n' <"$T/out" | grep -c .)" -eq 3 ] || fail "NUL-ended paths: $(od -c "$T/out")"
[ "$(tr -cd '\0' <"$T/out" | wc -c)" -eq 2 ] || fail "not two NULs: $(od -c "$T/out")"
xargs -0 -n1 basename <"$T/out" | sort | tr '\n' '|' | grep -qx 'a.txt|b|c.txt|' || fail "xargs -0 read other paths"
"$CLI" -cw -tneedle -n '*.txt' -- "$T/tree" >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "clustered flags status $rc"
[ "$(grep -c 'needle' "$T/out")" -eq 0 ] || fail "paths expected, not lines"
grep -q "^a.txt	$T/tree/	" "$T/out" || fail "columns: $(cat "$T/out")"
# Options the window's check boxes cannot take together: -c with -e is kept by the expression,
# whatever else is dropped is named in one line on stderr.
printf 'Chapter 1\nchapter 2\n' > "$T/tree/e.txt"
dropped() {  # expected stderr line (empty: none), expected file count, then the arguments
  line="$1"; count="$2"; shift 2
  "$CLI" --paths -n e.txt "$@" "$T/tree" >"$T/out" 2>"$T/err"
  [ "$(grep -c . "$T/out")" -eq "$count" ] || fail "$*: listed $(cat "$T/out")"
  if [ -z "$line" ]; then
    grep -q "dropped" "$T/err" && fail "$*: said $(cat "$T/err")"
  else
    [ "$(grep -c "dropped" "$T/err")" -eq 1 ] || fail "$*: said $(cat "$T/err")"
    grep -qF "tesvarin-cli: $line" "$T/err" || fail "$*: said $(cat "$T/err")"
  fi
}
dropped "" 1 -c -e -t 'C[a-z]+ [0-9]'
dropped "" 0 -c -e -t 'c[h]apter 1'
dropped "-f (--fuzzy) dropped" 0 -f -t 'c[h]apter'
dropped "-c (--match-case) dropped" 1 -c -e -f -t 'c[h]apter 1'
dropped "" 1 -e -f -t 'ＣＨＡＰＴＥＲ 1'
"$CLI" --help | grep -q -- "-f, --fuzzy *with -e" || fail "--help does not say -f needs -e"

# Not a terminal: no progress line, no escape sequence, nothing but messages on stderr.
"$CLI" -t needle "$T/tree" >"$T/out" 2>"$T/err"
if grep -q "$(printf '\r')" "$T/err" "$T/out" || grep -q "$(printf '\033')" "$T/err" "$T/out"; then
  fail "terminal control on a file"
fi
echo ok
