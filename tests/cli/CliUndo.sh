#!/bin/sh
# A dry run prints what a replace would change and changes nothing; every replace run is journaled;
# a run is taken back later, leaving the files edited since as they are and naming them.
set -u
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
export XDG_DATA_HOME="$T/data" XDG_CONFIG_HOME="$T/config" LC_ALL=C.UTF-8

mkdir -p "$T/tree"
{ sjis '日本語 hit'; printf '\r\nkeep\r\nhit hit\r\n'; } > "$T/tree/a.txt"
printf 'one hit\nlast hit' > "$T/tree/b.txt"
printf 'nothing\n' > "$T/tree/c.txt"
cp -r "$T/tree" "$T/orig"

# The dry run: a diff per changed file, the Shift-JIS shown in the locale's encoding.
"$CLI" -t hit -R NEW --dry-run "$T/tree" >"$T/diff" 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "dry run: status $rc: $(cat "$T/err")"
diff -r "$T/orig" "$T/tree" >/dev/null || fail "the dry run changed a file"
[ ! -e "$T/data/Bramwhirl/Vimbre/journal" ] || [ -z "$(ls -A "$T/data/Bramwhirl/Vimbre/journal")" ] ||
  fail "the dry run was journaled"
cat > "$T/expected" <<END
--- $T/tree/a.txt
+++ $T/tree/a.txt
@@ -1 +1 @@
-日本語 hit
+日本語 NEW
@@ -3 +3 @@
-hit hit
+NEW NEW
--- $T/tree/b.txt
+++ $T/tree/b.txt
@@ -1 +1 @@
-one hit
+one NEW
@@ -2 +2 @@
-last hit
\\ No newline at end of file
+last NEW
\\ No newline at end of file
END
# The diff's text is the files' own lines: what patch makes of it is what the replace writes.
diff "$T/expected" "$T/diff" >"$T/d" || fail "dry-run diff: $(cat "$T/d")"
"$CLI" -t absent -R NEW --dry-run "$T/tree" >"$T/diff" 2>/dev/null; rc=$?
[ $rc -eq 1 ] && [ ! -s "$T/diff" ] || fail "dry run with nothing to change: status $rc, $(cat "$T/diff")"
"$CLI" -t hit --dry-run "$T/tree" >/dev/null 2>&1 && fail "--dry-run without -R accepted"

# Nothing journaled yet.
"$CLI" --journal >"$T/list" 2>"$T/err" || fail "--journal on an empty journal: $(cat "$T/err")"
[ ! -s "$T/list" ] || fail "empty journal listed: $(cat "$T/list")"

# Two runs; the second is listed first.
"$CLI" -t hit -R NEW --yes --no-backup "$T/tree" >/dev/null 2>&1 || fail "first replace"
"$CLI" -n c.txt -t nothing -R else --yes --no-backup "$T/tree" >/dev/null 2>&1 || fail "second replace"
"$CLI" --journal >"$T/list" 2>"$T/err" || fail "--journal: $(cat "$T/err")"
[ "$(wc -l < "$T/list")" -eq 2 ] || fail "two runs: $(cat "$T/list")"
head -1 "$T/list" | awk -F'\t' -v t="$T/tree" '$1 == 2 && $3 == t && $4 == "nothing" && $5 == "else" && $6 == 1 && $7 == "置換済み" { ok = 1 } END { exit !ok }' ||
  fail "newest run's line: $(head -1 "$T/list")"
sed -n 2p "$T/list" | awk -F'\t' '$1 == 1 && $4 == "hit" && $5 == "NEW" && $6 == 2 { ok = 1 } END { exit !ok }' ||
  fail "older run's line: $(sed -n 2p "$T/list")"

# b.txt is edited after the run: taking run 1 back restores a.txt only, names b.txt, exits 2.
printf 'one NEW\nlast NEW, edited' > "$T/tree/b.txt"
"$CLI" --undo 1 >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 2 ] || fail "undo with an edited file: status $rc"
cmp -s "$T/orig/a.txt" "$T/tree/a.txt" || fail "a.txt not put back: $(od -c "$T/tree/a.txt")"
[ "$(cat "$T/tree/b.txt")" = "$(printf 'one NEW\nlast NEW, edited')" ] || fail "the edited b.txt was touched"
grep -q "b.txt" "$T/err" || fail "b.txt not named: $(cat "$T/err")"
"$CLI" --journal | sed -n 2p | grep -q "一部を元に戻し済み" || fail "run 1 not marked partly taken back: $("$CLI" --journal)"

# Without a number: the newest run not yet taken back, which is run 2.
"$CLI" --undo >"$T/out" 2>"$T/err" || fail "undo of the newest: $(cat "$T/err")"
cmp -s "$T/orig/c.txt" "$T/tree/c.txt" || fail "c.txt not put back"
# Taking a run back twice does nothing.
cp "$T/tree/a.txt" "$T/a.before"
"$CLI" --undo 2 >"$T/out" 2>"$T/err" || fail "second undo of run 2: $(cat "$T/err")"
grep -q "run 2: 0 file" "$T/out" || fail "second undo did something: $(cat "$T/out")"
"$CLI" --undo 9 >/dev/null 2>&1 && fail "undo of a run that does not exist succeeded"
"$CLI" --undo x >/dev/null 2>&1 && fail "undo of a non-number accepted"
exit 0
