#!/bin/sh
# Installs into a temporary DESTDIR: exactly the expected files, a desktop entry and metainfo the
# validators accept, icons of the sizes their folders name, manual pages without roff warnings, and
# a command line that runs from there. The validators fail it only on errors: their warnings and
# hints change from version to version. Skips (status 77) after every other check when a validator
# is not installed.
set -u
BUILD="$1"; VERSION="$2"; APP_ID="$3"; KIND="$4"
. "$(dirname "$0")/ExpectedFiles.sh"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$T/root" cmake --install "$BUILD" --prefix /usr >"$T/log" 2>&1 || fail "install: $(cat "$T/log")"
P="$T/root/usr"
(cd "$P" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$T/found"
expected_files "$KIND" "$APP_ID" >"$T/expected"
diff -u "$T/expected" "$T/found" || fail "installed files differ from the expected ones"
[ -z "$(find "$T/root" -type d -empty)" ] || fail "empty folders: $(find "$T/root" -type d -empty)"
[ -x "$P/bin/tesvarin-cli" ] || fail "tesvarin-cli not executable"
[ "$("$P/bin/tesvarin-cli" --version)" = "tesvarin-cli $VERSION" ] || fail "installed --version"

for page in "$P"/share/man/man1/*.1; do
  out=$(LC_ALL=C.UTF-8 groff -man -ww -z "$page" 2>&1) || fail "groff on $page"
  [ -z "$out" ] || fail "roff warnings in $page: $out"
  grep -q "^\.TH .*\"Tesvarin $VERSION\"" "$page" || fail "$page does not carry the version"
done

[ "$KIND" = gui ] || { echo ok; exit 0; }
# appstreamcli fails on warnings too; its YAML report tells them apart. Prints the report and fails
# when it holds an error, or when there is no report at all (the tool itself failed).
appstream_check() {
  report=$(appstreamcli "$@" --no-net --format yaml 2>&1) && return 0
  if echo "$report" | grep -q '^Passed:' && ! echo "$report" | grep -q 'severity: error'; then
    printf "%s\n" "$report" >&2  # warnings only: shown, not failed
    return 0
  fi
  printf "%s\n" "$report"
  return 1
}

missing=""
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || missing="$missing $tool"
done
desktop="$P/share/applications/tesvarin.desktop"
metainfo="$P/share/metainfo/$APP_ID.metainfo.xml"
if command -v desktop-file-validate >/dev/null; then
  # Its status counts errors only; hints and warnings are left to the reader.
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
grep -qx 'Exec=tesvarin %f' "$desktop" || fail "Exec line"
grep -qx 'Categories=Utility;TextTools;' "$desktop" || fail "Categories line"
grep -q '^MimeType' "$desktop" && fail "a MimeType would make it a folder's default handler"
grep -q '^Name\[ja\]=' "$desktop" && grep -q '^Comment\[ja\]=' "$desktop" || fail "no Japanese name or comment"
icon=$(sed -n 's/^Icon=//p' "$desktop")
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$P/bin/$exec_name" ] || fail "Exec names no installed program"
if command -v appstreamcli >/dev/null; then
  report=$(appstream_check validate "$metainfo") || fail "appstreamcli validate: $report"
  # The tree check also pairs the metainfo with its desktop entry.
  report=$(appstream_check validate-tree "$T/root") || fail "appstreamcli validate-tree: $report"
fi
grep -q '<screenshot type="default">' "$metainfo" || fail "no screenshot"
grep -q "<binary>tesvarin-cli</binary>" "$metainfo" || fail "metainfo does not name the command line"

# PNG width and height are big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }
for size in $ICON_SIZES; do
  png="$P/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
done
grep -q '<svg' "$P/share/icons/hicolor/scalable/apps/$icon.svg" || fail "scalable icon is no SVG"
if [ -n "$missing" ]; then
  echo "SKIP: not installed:$missing (scripts/install-deps.sh installs them); every other check passed"
  exit 77
fi
echo ok
