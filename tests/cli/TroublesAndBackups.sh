#!/bin/sh
# What a script relies on after a replace: exit status 2 whenever a file or folder was skipped,
# failed or was left unchanged because it changed on disk, in every mode; every backup of files
# that share a stem kept; a file changed between reading and renaming left as it is.
set -u
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir "$T/stems"
printf 'hit h.cpp\n' > "$T/stems/h.cpp"
printf 'hit h.h\n' > "$T/stems/h.h"
printf 'hit h.txt\r\n' > "$T/stems/h.txt"
"$CLI" -t hit -R HIT --yes "$T/stems" </dev/null >/dev/null 2>"$T/err"; rc=$?
[ $rc -eq 0 ] || fail "replace with stems: status $rc: $(cat "$T/err")"
for f in h.cpp h.h h.txt; do
  grep -q "^HIT $f" "$T/stems/$f" || fail "$f not replaced"
  grep -l "^hit $f" "$T/stems/"*.bak >/dev/null || fail "no backup of $f among: $(ls "$T/stems")"
done
grep -q "バックアップを 3 個作成しました。" "$T/err" || fail "end message: $(cat "$T/err")"
grep -q "別の名前にしました" "$T/err" || fail "unusual names not told: $(cat "$T/err")"

# One file that cannot be looked at: every mode says so with status 2.
mkdir "$T/skip"
printf 'hit\n' > "$T/skip/a.txt"
ln -s loop2.txt "$T/skip/loop1.txt"
ln -s loop1.txt "$T/skip/loop2.txt"
mode() {  # a name for the message, then the arguments
  name="$1"; shift
  printf 'hit\n' > "$T/skip/a.txt"
  "$CLI" "$@" "$T/skip" </dev/null >"$T/out" 2>"$T/err"; rc=$?
  [ $rc -eq 2 ] || fail "$name: status $rc"
  grep -q "loop1.txt" "$T/err" || fail "$name: skipped file not named: $(cat "$T/err")"
}
mode "list" -t hit
mode "paths" --paths -t hit
mode "null" -0 -t hit
mode "replace" -t hit -R HIT --yes
grep -q HIT "$T/skip/a.txt" || fail "replace did not run beside the skipped file"
mode "replace declined" -t hit -R HIT
mode "replace, saves declined" -t hit -R HIT --yes --confirm
mode "no backup" -t hit -R HIT --yes --no-backup

# A file changed while the save question waits is left alone: the question runs on a terminal.
if command -v script >/dev/null 2>&1; then
  mkdir "$T/changed"
  printf 'hit\n' > "$T/changed/a.txt"
  mkfifo "$T/answers"
  script -qfec "'$CLI' --confirm --no-backup -t hit -R HIT --yes '$T/changed'" /dev/null \
    <"$T/answers" >"$T/out" 2>&1 &
  pid=$!
  exec 3>"$T/answers"
  # The program waits for the answer, so the change surely lands between its read and its save.
  i=0
  until grep -q 'y/n/c' "$T/out"; do
    i=$((i + 1)); [ $i -lt 3000 ] || { kill $pid; fail "no save question: $(cat "$T/out")"; }
    sleep 0.01
  done
  printf 'hit, changed meanwhile\n' > "$T/changed/a.txt"
  printf 'y\n' >&3
  exec 3>&-
  wait $pid; rc=$?
  [ $rc -eq 2 ] || fail "changed file: status $rc: $(cat "$T/out")"
  [ "$(cat "$T/changed/a.txt")" = "hit, changed meanwhile" ] || fail "newer text overwritten"
  grep -q "1 個のファイルは変更していません" "$T/out" || fail "not told: $(cat "$T/out")"
  grep -q "$T/changed/a.txt" "$T/out" || fail "file not named: $(cat "$T/out")"
else
  echo "note: no 'script' command, the change between read and save was not tried"
fi
echo ok
