# The Debian package, made by `cpack -G DEB` from the install rules
# (scripts/package.sh). Its dependencies are the libraries the programs
# link, as dpkg-shlibdeps finds them; its triggers have the desktop's MIME,
# desktop-entry and icon caches refreshed once the files are in place.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME palvane)
set(CPACK_PACKAGE_VENDOR Quorvath)
set(CPACK_PACKAGE_CONTACT "${PALVANE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "palette editor for Jedi Knight colormaps")
# The summary comes first; cpack indents these lines and writes the empty
# one as Debian's paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Palvane edits the 256-colour palette of a Jedi Knight colormap file (.cmp)
and, on every save, computes its light-level and transparency tables afresh
from the palette. It imports palettes from Dark Forces palettes and X-Wing
Alliance models, exports Dark Forces and JASC-PAL palettes and prints the
palette grid.

The package holds the desktop editor, palvane, and palvane-cli, which runs
the same editing steps from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PALVANE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
