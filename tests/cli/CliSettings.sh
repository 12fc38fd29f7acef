#!/bin/sh
# --use-settings under hostile conditions: histories and settings that are folders, read-only,
# corrupt, cut short or a million lines long, and HOME unset. Each is told on stderr and the search
# still lists its rows with status 0.
set -u
CLI="$1"
T=$(mktemp -d)
chmod 755 "$T"
trap 'chmod -R u+w "$T"; rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$T/tree" "$T/cwd"
printf 'needle\n' > "$T/tree/a.txt"
CONF="$T/config/Bramwhirl/tesvarin-cli.conf"
DATA="$T/data/Bramwhirl/Vimbre"
fresh() { rm -rf "$T/config" "$T/data"; mkdir -p "$T/config/Bramwhirl" "$DATA"; }
# Runs a search with the settings kept under $T; the status must be 0 and a.txt listed.
search() {
  (cd "$T/cwd" && XDG_CONFIG_HOME="$T/config" XDG_DATA_HOME="$T/data" "$CLI" --use-settings -t needle "$T/tree" \
    >"$T/out" 2>"$T/err"); rc=$?
  [ $rc -eq 0 ] || fail "$1: status $rc: $(cat "$T/err")"
  grep -q '^a.txt	' "$T/out" || fail "$1: no row: $(cat "$T/out")"
}
told() {  # what stderr must hold
  grep -qF -- "$2" "$T/err" || fail "$1: stderr lacks '$2': $(cat "$T/err")"
}

# A first run writes the settings and three histories.
fresh
search "first run"
[ -s "$CONF" ] || fail "no settings file written"
[ "$(cat "$DATA/FindWord.dat")" = "$(printf 'needle\r')" ] || fail "FindWord.dat: $(od -c "$DATA/FindWord.dat")"
grep -v '個のファイルが見つかりました。' "$T/err" && fail "first run told something more"
# The same run again changes no setting: the file is not written again.
before=$(ls -i "$CONF")
search "second run"
[ "$(ls -i "$CONF")" = "$before" ] || fail "unchanged settings rewritten"

# A history that is a folder: told once, left alone, the other histories written.
fresh
mkdir "$DATA/FindWord.dat"
search "FindWord.dat a folder"
told "FindWord.dat a folder" "FindWord.dat"
[ "$(grep -c 'FindWord.dat' "$T/err")" -eq 1 ] || fail "FindWord.dat told more than once: $(cat "$T/err")"
[ -d "$DATA/FindWord.dat" ] || fail "the folder was replaced"
[ -s "$DATA/FindFolder.dat" ] || fail "FindFolder.dat not written"

# A million lines of folder history: read up to the hundred kept, rewritten to them.
fresh
awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "/old/%d\r\n", i }' > "$DATA/FindFolder.dat"
search "a million history lines"
[ "$(wc -l < "$DATA/FindFolder.dat")" -eq 100 ] || fail "FindFolder.dat not cut to 100 lines"
[ "$(head -n 1 "$DATA/FindFolder.dat")" = "$(printf '%s\r' "$T/tree")" ] || fail "newest folder not first"
[ "$(sed -n 100p "$DATA/FindFolder.dat")" = "$(printf '/old/98\r')" ] || fail "older entries not kept in order"

# Settings files that are not settings (garbage, a cut line, NUL bytes) are kept aside, dated.
for bad in 'garbage without equals' 'Tesvarin/FolderName=/x\nTesvarin/Fold' 'Tesvarin/Left=1\n\000\001'; do
  fresh
  printf "$bad" > "$CONF"
  cp "$CONF" "$T/bad"
  search "settings '$bad'"
  told "settings '$bad'" "tesvarin-cli.conf.unreadable-"
  set -- "$CONF".unreadable-*
  [ -f "$1" ] || fail "'$bad' not set aside"
  cmp -s "$1" "$T/bad" || fail "'$bad' changed when set aside"
  grep -q '^Tesvarin/FindWord=needle' "$CONF" || fail "'$bad': no new settings written"
done

# A settings file that is a folder is told and left alone.
fresh
mkdir "$CONF"
search "settings a folder"
told "settings a folder" "tesvarin-cli.conf"
[ -d "$CONF" ] || fail "settings folder replaced"

# HOME unset: the XDG folders, or the password database's home; never the current folder.
fresh
(cd "$T/cwd" && env -u HOME XDG_CONFIG_HOME="$T/config" XDG_DATA_HOME="$T/data" \
  "$CLI" --use-settings -t needle "$T/tree" >"$T/out" 2>"$T/err") || fail "HOME unset: status $?"
[ -s "$CONF" ] || fail "HOME unset: settings not in XDG_CONFIG_HOME"
[ -z "$(ls -A "$T/cwd")" ] || fail "HOME unset: wrote into the current folder: $(ls -A "$T/cwd")"

# Read-only folders and a user without a home folder, as an unprivileged user.
as_user() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || { echo "setpriv missing: read-only cases skipped"; exit 0; }
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
  chown -R 65534 "$T"
fi
fresh
chmod a-w "$DATA" "$T/config/Bramwhirl"
(cd "$T/cwd" && as_user env XDG_CONFIG_HOME="$T/config" XDG_DATA_HOME="$T/data" \
  "$CLI" --use-settings -t needle "$T/tree" >"$T/out" 2>"$T/err"); rc=$?
[ $rc -eq 0 ] || fail "read-only folders: status $rc: $(cat "$T/err")"
grep -q '^a.txt	' "$T/out" || fail "read-only folders: no row"
told "read-only history folder" "FindWord.dat"
told "read-only settings folder" "設定を保存できませんでした"
chmod u+w "$DATA" "$T/config/Bramwhirl"
if [ "$(id -u)" -eq 0 ]; then
  (cd "$T/cwd" && as_user env -u HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME \
    "$CLI" --use-settings -t needle "$T/tree" >"$T/out" 2>"$T/err"); rc=$?
  [ $rc -eq 0 ] || fail "no home folder: status $rc"
  grep -q '^a.txt	' "$T/out" || fail "no home folder: no row"
  told "no home folder" "設定と履歴は保存されません"
  (cd "$T/cwd" && as_user env -u HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME \
    "$CLI" -t needle "$T/tree" >"$T/out" 2>"$T/err") || fail "no home folder, no settings: status $?"
  [ -z "$(ls -A "$T/cwd")" ] || fail "no home folder: wrote into the current folder: $(ls -A "$T/cwd")"
fi
exit 0
