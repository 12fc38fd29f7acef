# Where `cmake --install` puts the programs and the files a Linux desktop looks for, and the
# Debian package CPack makes of them (`make package`).
include(GNUInstallDirs)

set(TESVARIN_APP_ID "org.bramwhirl.tesvarin" CACHE STRING "AppStream component id of the window")
set(TESVARIN_MAINTAINER "Tesvarin developers <tesvarin@bramwhirl.example>" CACHE STRING
    "Maintainer field of the Debian package")
set(TESVARIN_ICON_SIZES 16 24 32 48 64 128 256)

set(data "${PROJECT_SOURCE_DIR}/data")
foreach(page tesvarin.1 tesvarin-cli.1)
  configure_file("${data}/man/${page}.in" "${PROJECT_BINARY_DIR}/data/man/${page}" @ONLY)
endforeach()

if(TARGET tesvarin)
  install(TARGETS tesvarin RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES "${data}/tesvarin.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  configure_file("${data}/tesvarin.metainfo.xml.in" "${PROJECT_BINARY_DIR}/data/${TESVARIN_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/data/${TESVARIN_APP_ID}.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  install(FILES "${data}/icons/tesvarin.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
  foreach(size IN LISTS TESVARIN_ICON_SIZES)
    install(FILES "${data}/icons/${size}x${size}/tesvarin.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
  endforeach()
  install(FILES "${PROJECT_BINARY_DIR}/data/man/tesvarin.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()
if(TARGET tesvarin-cli)
  install(TARGETS tesvarin-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES "${PROJECT_BINARY_DIR}/data/man/tesvarin-cli.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

set(CPACK_GENERATOR DEB)
string(TOLOWER "${PROJECT_NAME}" CPACK_PACKAGE_NAME)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Bramwhirl")
set(CPACK_PACKAGE_CONTACT "${TESVARIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find files and replace text in Shift-JIS files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tesvarin lists the files under a folder whose names match a pattern and that contain a text,
shows each in its own editor at the first hit and replaces in one file or in every listed file,
with an optional .bak backup. Text is matched and written as Shift-JIS (code page 932) bytes:
plain, case-sensitive, whole-word, as a regular expression, or fuzzily (full-width and half-width
forms, hiragana and katakana count as equal). tesvarin-cli does the same from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Libraries from the binaries; the Japanese font the window substitutes for its editor fonts, and
# Qt's own catalogues, which make the standard dialogs and buttons Japanese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET tesvarin)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
endif()
include(CPack)
