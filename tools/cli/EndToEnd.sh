#!/bin/sh
# End-to-end run of tesvarin-cli on a small tree: listing, exit statuses, a replace with backups.
set -u
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir -p "$T/sub" "$T/.hid"
printf 'alpha beta\r\nGamma\r\n' > "$T/one.txt"
printf 'beta only\n' > "$T/sub/two.txt"
printf 'none here' > "$T/sub/three.log"
printf 'beta' > "$T/.hid/four.txt"
printf '\0\0\0beta' > "$T/bin.txt"
printf '\212J' > "$T/sjis.txt"
mkfifo "$T/pipe.txt"

out=$("$CLI" --paths -t beta "$T" 2>/dev/null); rc=$?
[ $rc -eq 0 ] || fail "search status $rc"
[ "$(printf '%s\n' "$out" | sort)" = "$(printf '%s\n%s\n' "$T/one.txt" "$T/sub/two.txt" | sort)" ] || fail "listed: $out"
out=$("$CLI" --paths --hidden -t beta "$T" 2>/dev/null)
printf '%s\n' "$out" | grep -q "four.txt" || fail "hidden file not listed"
"$CLI" --paths -t J "$T" >/dev/null 2>&1; rc=$?
[ $rc -eq 1 ] || fail "a trail byte matched: status $rc"
"$CLI" --paths -c -t gamma "$T" >/dev/null 2>&1; rc=$?
[ $rc -eq 1 ] || fail "match case ignored: status $rc"
"$CLI" --no-such-option "$T" >/dev/null 2>&1; rc=$?
[ $rc -eq 2 ] || fail "bad option status $rc"
out=$("$CLI" -n '*.txt' "$T" 2>/dev/null)
printf '%s\n' "$out" | grep -q "^one.txt	$T/	1KB	" || fail "columns: $out"

# Without --yes and without a terminal the batch question is answered No.
"$CLI" -t beta -R BETA "$T" </dev/null >/dev/null 2>&1
grep -q beta "$T/one.txt" || fail "replaced without an answer"
"$CLI" -t beta -R 'B\r\nE' --yes "$T" </dev/null >/dev/null 2>&1; rc=$?
[ $rc -eq 0 ] || fail "replace status $rc"
[ "$(cat "$T/one.txt")" = "$(printf 'alpha B\r\nE\r\nGamma\r\n')" ] || fail "replaced text"
[ "$(cat "$T/one.bak")" = "$(printf 'alpha beta\r\nGamma\r\n')" ] || fail "backup"
[ -e "$T/sub/three.bak" ] && fail "backup of an unchanged file"
rm -f "$T/sub/two.bak"
"$CLI" -t only -R ONLY --yes --no-backup "$T" </dev/null >/dev/null 2>&1
[ -e "$T/sub/two.bak" ] && fail "backup despite --no-backup"
grep -q ONLY "$T/sub/two.txt" || fail "second replace"
od -c "$T/sub/two.txt" | grep -q '\\r' && fail "a file with LF breaks was saved with CR LF"

# A missing folder, and files that cannot be read, are errors: exit status 2, named on stderr.
"$CLI" --paths "$T/missing" >/dev/null 2>&1; rc=$?
[ $rc -eq 2 ] || fail "missing folder status $rc"
ln -s loop2.txt "$T/loop1.txt"
ln -s loop1.txt "$T/loop2.txt"
err=$("$CLI" --paths -t ONLY "$T" 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] || fail "skipped files status $rc"
printf '%s\n' "$err" | grep -q "loop1.txt" || fail "skipped file not named: $err"
echo ok
