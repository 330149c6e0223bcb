# The installed layout beside the program's own rules, and the Debian package.
# The program folder lib/qorvid holds the executables, plugins/ and help/; bin/ links to them.
file(WRITE ${CMAKE_BINARY_DIR}/qorvid.installed "")
install(FILES ${CMAKE_BINARY_DIR}/qorvid.installed DESTINATION lib/qorvid)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(CREATE_LINK ../lib/qorvid/qorvid-cli \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/qorvid-cli\" SYMBOLIC)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qorvid)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Qorvid developers <qorvid@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "movie and audio converter with a live preview")
set(CPACK_PACKAGE_DESCRIPTION "Converts one movie or sound file at a time to VCD, DVD, MPEG, WMV, AVI or a sound format, with a desktop program and a command-line converter.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tools the plugins run and the fonts the subtitles use are found at run time, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "ffmpeg, mplayer, fontconfig, fonts-dejavu-core, fonts-liberation, fonts-arphic-bkai00mp, fonts-arphic-gkai00mp, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Tests and benches are not part of the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Qorvid;ALL;/")
include(CPack)
