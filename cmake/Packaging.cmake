# The Debian package: `cpack -G DEB` in a configured build tree (scripts/package.sh).
# Dependencies on the shared libraries (Qt and the C++ runtime) are computed by
# dpkg-shlibdeps; the packages listed here are the ones loaded at run time as plugins or
# data, which no library dependency shows.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ladograf)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR VX)
set(CPACK_PACKAGE_CONTACT "VX <support@vx.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for \"Ворант-ПКЭ-1.7\" power-quality meters")
set(CPACK_PACKAGE_DESCRIPTION
  "Ладограф talks to \"Ворант-ПКЭ-1.7\" power-quality meters over a serial\n"
  "port or TCP, reads and writes the meter's configuration page by page, keeps\n"
  "configurations in \".cfg\" files and compiles the pulse input/output rules\n"
  "into the meter's control code.\n"
  "\n"
  "The package holds the desktop program (ladograf), the same core on the\n"
  "command line (ladograf-cli) and a virtual meter for a first run without\n"
  "hardware (meter-sim).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver reads the term dictionary; the platform plugins show the window; the
# toolkit's Russian texts come from the translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
