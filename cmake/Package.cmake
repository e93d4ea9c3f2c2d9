# `cpack -G DEB`: a Debian package of what cmake/Install.cmake installs, under /usr. Its
# dependencies are the packages of the libraries the program links, found by dpkg-shlibdeps,
# and those it loads at run time, which dpkg-shlibdeps cannot see: Qt's SVG plugins draw the
# window icon, Qt's image format plugins read pictures, and reports are laid out in
# Liberation Serif.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME perlinex)
set(CPACK_PACKAGE_VENDOR "The Perlinex developers")
set(CPACK_PACKAGE_CONTACT "${PERLINEX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Perlinex keeps one record per stamp of a collection: description, catalogue"
    "number, prices, dates, flags, classifications from nine editable code tables"
    "and a picture. It browses and edits the records, finds stamps by a condition,"
    "keeps the code tables, and prints or exports fixed and self-designed reports."
    "A collection is an SQLite file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qt6-translations-l10n: Qt's own texts (its dialogs' buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, qt6-image-formats-plugins, qt6-translations-l10n, fonts-liberation")

include(CPack)
