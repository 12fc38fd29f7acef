#!/bin/sh
# Replacing from the command line changes the bytes of the hits and nothing else: every line keeps
# its own break, a file without a final break keeps having none, a file that is not Shift-JIS is
# listed but left alone, and an empty match is never replaced.
set -u
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

mkdir -p "$T/tree" "$T/orig"
printf 'a hit\nb\nhit\n' > "$T/orig/lf.txt"
printf 'a hit\rb\r' > "$T/orig/cr.txt"
printf 'a hit\r\nb\r\n' > "$T/orig/crlf.txt"
printf 'hit\nb\r\nc hit\rd\n\re hit' > "$T/orig/mixed.txt"
printf 'x\0y hit\r\n\032 tail hit\n' > "$T/orig/nul-ctrlz.txt"
printf 'hit \201\nnext\n' > "$T/orig/lead-before-break.txt"
printf 'hit \377\r\n' > "$T/orig/bad-byte.txt"
cp "$T/orig/"* "$T/tree/"

# The same text back: not one byte of any file changes.
"$CLI" --paths -t hit -R hit --yes --no-backup "$T/tree" >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 2 ] || fail "identity replace with files not in Shift-JIS: status $rc"
for f in "$T/orig/"*; do
  cmp -s "$f" "$T/tree/$(basename "$f")" || fail "identity replace changed $(basename "$f"): $(od -c "$T/tree/$(basename "$f")")"
done
for bad in lead-before-break.txt bad-byte.txt; do
  grep -q "$bad" "$T/out" || fail "$bad not listed"
  grep -q "$bad" "$T/err" || fail "$bad not named as skipped: $(cat "$T/err")"
done
grep -q "2 個のファイル・フォルダを処理できませんでした" "$T/err" || fail "no count of the skipped files: $(cat "$T/err")"

# A real replace: only the hit spans change.
"$CLI" -t hit -R HIT --yes --no-backup "$T/tree" >/dev/null 2>&1
for f in lf.txt cr.txt crlf.txt mixed.txt; do
  expected=$(sed 's/hit/HIT/g' "$T/orig/$f" | od -c)
  [ "$(od -c "$T/tree/$f")" = "$expected" ] || fail "$f: $(od -c "$T/tree/$f")"
done
# The text ends at a Ctrl+Z; what follows it is written back as it was.
[ "$(od -c "$T/tree/nul-ctrlz.txt")" = "$(printf 'x\0y HIT\r\n\032 tail hit\n' | od -c)" ] ||
  fail "NUL and Ctrl+Z: $(od -c "$T/tree/nul-ctrlz.txt")"
cmp -s "$T/orig/bad-byte.txt" "$T/tree/bad-byte.txt" || fail "a file not in Shift-JIS was rewritten"

# A break in the replacement is the break of the line it goes into.
cp "$T/orig/mixed.txt" "$T/tree/mixed.txt"
"$CLI" -n mixed.txt -t hit -R '1\r\n2' --yes --no-backup "$T/tree" >/dev/null 2>&1
[ "$(od -c "$T/tree/mixed.txt")" = "$(printf '1\n2\nb\r\nc 1\r2\rd\n\re 1\r2' | od -c)" ] ||
  fail "breaks in the replacement: $(od -c "$T/tree/mixed.txt")"

# A fuzzy long-vowel mark may match nothing: only its real matches are hits.
mkdir "$T/kana"
sjis 'データ、ﾃﾞｰﾀ、デ～タ' > "$T/kana/marks.txt"
sjis 'テスト' > "$T/kana/none.txt"
sjis 'コンピュータ' > "$T/kana/short.txt"
"$CLI" --paths -e -f -t 'ー' "$T/kana" >"$T/out" 2>/dev/null
[ "$(sort "$T/out")" = "$T/kana/marks.txt
$T/kana/short.txt" ] || fail "files listed for a fuzzy ー: $(cat "$T/out")"
"$CLI" --paths -e -f -t 'コンピューター' "$T/kana" >"$T/out" 2>/dev/null
[ "$(cat "$T/out")" = "$T/kana/short.txt" ] || fail "コンピューター does not find コンピュータ: $(cat "$T/out")"
"$CLI" -e -f -t 'ー' -R X --yes --no-backup "$T/kana" >/dev/null 2>&1
[ "$(iconv -f CP932 -t UTF-8 "$T/kana/marks.txt")" = 'デXタ、ﾃﾞXﾀ、デXタ' ] ||
  fail "fuzzy ー replaced: $(iconv -f CP932 -t UTF-8 "$T/kana/marks.txt")"
[ "$(iconv -f CP932 -t UTF-8 "$T/kana/none.txt")" = 'テスト' ] || fail "a file without ー was changed"
[ "$(iconv -f CP932 -t UTF-8 "$T/kana/short.txt")" = 'コンピュXタ' ] || fail "コンピュータ: $(iconv -f CP932 -t UTF-8 "$T/kana/short.txt")"
echo ok
