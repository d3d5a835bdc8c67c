# The Debian package: `cpack -G DEB` in the build folder makes kestrune_<version>_<arch>.deb
# of everything the install rules name, installed under /usr. Its version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_VENDOR "The Kestrune developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look up the OBIS codes of DLMS/COSEM energy meters")
set(CPACK_PACKAGE_DESCRIPTION [[
Kestrune looks up OBIS codes, the six-field identifiers of the data objects of
DLMS/COSEM energy meters: what does a code mean, and which codes carry a
quantity. It carries its own OBIS database and also reads object-definition
workbooks (.xlsx and .xls) and per-media CSV definition files.

The package holds the desktop window Kestrune and the command-line tool
kestrune-cli.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTRUNE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help > Help needs a viewer of the .chm help file.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm | kchmviewer")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
