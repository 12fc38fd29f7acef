#!/bin/sh
# Files in other encodings than Shift-JIS: found, their encoding printed as each row's last field,
# replaced in their own encoding; --sjis-only reads every file as Shift-JIS, as the tool always did.
set -u
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v iconv >/dev/null || { echo "no iconv: skipped"; exit 0; }

mkdir "$T/tree"
printf '日本語の文書\r\n' > "$T/tree/utf8.txt"
printf '日本語の文書\r\n' | iconv -f UTF-8 -t CP932 > "$T/tree/sjis.txt"
printf '日本語の文書\r\n' | iconv -f UTF-8 -t EUC-JP-MS > "$T/tree/euc.txt"
{ printf '\377\376'; printf '日本語の文書\r\n' | iconv -f UTF-8 -t UTF-16LE; } > "$T/tree/utf16.txt"
cp "$T/tree/euc.txt" "$T/euc.before"

"$CLI" --no-subfolders -t 日本語 "$T/tree" >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "search status $rc: $(cat "$T/err")"
[ "$(wc -l <"$T/out")" -eq 4 ] || fail "not four rows: $(cat "$T/out")"
for row in 'utf8.txt	UTF-8' 'sjis.txt	シフトJIS' 'euc.txt	EUC-JP' 'utf16.txt	UTF-16LE'; do
  name=${row%%	*}; enc=${row#*	}
  grep "^$name	" "$T/out" | awk -F '\t' -v e="$enc" '$NF != e { exit 1 }' || fail "$name: $(grep "^$name" "$T/out")"
done

"$CLI" --sjis-only -t 日本語 --paths "$T/tree" >"$T/out" 2>"$T/err"
[ "$(cat "$T/out")" = "$T/tree/sjis.txt" ] || fail "--sjis-only listed: $(cat "$T/out")"

"$CLI" -t 文書 -R 資料 --yes --no-backup "$T/tree" >"$T/out" 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "replace status $rc: $(cat "$T/err")"
[ "$(cat "$T/tree/utf8.txt")" = "$(printf '日本語の資料\r')" ] || fail "utf8 after replace: $(od -c "$T/tree/utf8.txt")"
[ "$(iconv -f EUC-JP-MS -t UTF-8 "$T/tree/euc.txt")" = "$(printf '日本語の資料\r')" ] || fail "euc after replace"
[ "$(head -c 2 "$T/tree/utf16.txt" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "utf16 lost its mark"
cmp -s "$T/tree/euc.txt" "$T/euc.before" && fail "euc unchanged"
echo ok
