# The Debian package kartex_VERSION_ARCH.deb, made by `cpack -G DEB` from the
# install above (scripts/package-deb.sh runs it with Debian's build flags).

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kartex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KARTEX developers")
set(CPACK_PACKAGE_CONTACT "KARTEX developers <kartex@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${KARTEX_HOMEPAGE_URL})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QSL card printing by mail merge from Logger32 logs")
set(CPACK_PACKAGE_DESCRIPTION
"KARTEX opens a log exported as CSV by Logger32, narrows it to the stations
worked exactly N times and sorts it by one or more columns. It writes the
shown table as a fully quoted CSV file, the data source of a word
processor's mail merge that prints the QSL cards, the list of QSL managers
(QSL_VIA.TXT) and the list of DXCC countries of the log (COUNTRY.CSV).

The window and its help are in Polish. The command kartex-cli runs the same
commands from a script. A sample log and sample reference files are in
/usr/share/kartex/demo.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Depends: worked out by dpkg-shlibdeps from the libraries the programs link,
# and the label sheets that "Drukuj naklejki QSL" and save-labels offer.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "glabels-data")
# The help is opened through xdg-open in a CHM viewer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xchm | kchmviewer")

include(CPack)
