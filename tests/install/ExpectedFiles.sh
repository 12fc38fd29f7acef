# The files an install holds, below its prefix: expected_files KIND APP_ID (KIND: gui or cli).
expected_files() {
  {
    echo bin/tesvarin-cli
    echo share/man/man1/tesvarin-cli.1
    if [ "$1" = gui ]; then
      echo bin/tesvarin
      echo share/applications/tesvarin.desktop
      echo "share/metainfo/$2.metainfo.xml"
      echo share/icons/hicolor/scalable/apps/tesvarin.svg
      for size in $ICON_SIZES; do echo "share/icons/hicolor/${size}x${size}/apps/tesvarin.png"; done
      echo share/man/man1/tesvarin.1
    fi
  } | LC_ALL=C sort
}
ICON_SIZES="16 24 32 48 64 128 256"
