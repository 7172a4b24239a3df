# `make package` in the build folder (or cpack) makes a Debian package of
# everything the install rules install, for prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmerbay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "GlimmerBay developers <dev@glimmerbay.pl>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "winter game of spheres, with its model editor")
# The summary above is the first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Glimmer Bay is a 2-D winter game whose every picture is made of spheres:\n"
  "lead the hero over a snowy bay, hand out presents, hang baubles on the\n"
  "Christmas trees and drive a reindeer sleigh.\n"
  "\n"
  "The package also holds bbxedit, the editor of its sphere model files\n"
  "(.bbx), and bbx, a command-line tool that lists, converts, renders and\n"
  "thumbnails them.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": that section wants every program in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from dpkg-shlibdeps; the sans-serif font the game draws its
# texts with and the opener of its web page are found at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
