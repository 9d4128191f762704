# The Debian package, built by CPack from the install rules of every
# component (scripts/package.sh): cpack -G DEB in a Release build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvorine)
set(CPACK_PACKAGE_VENDOR Trellwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Trellwick <${HALVORINE_SUPPORT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search Photoshop documents for layers by name")
set(CPACK_PACKAGE_DESCRIPTION "\
Halvorine searches many Photoshop documents (PSD and PSB files) at once\n\
for layers whose names contain a text. It reads the documents with its own\n\
layer reader: no Photoshop is needed. The matching rows can be saved as a\n\
text file, copied, sent to a spreadsheet workbook or opened in an image\n\
editor.\n\
\n\
This package holds the Halvorine programs: the desktop application, with\n\
its menu entry and \"Open With\" for PSD files, and its sample\n\
documents; and halvorine-find, the same search from the command\n\
line, for scripts and servers.")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A Debian revision: the package carries changelog.Debian (cmake/Install.cmake).
set(CPACK_DEBIAN_PACKAGE_RELEASE ${HALVORINE_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${HALVORINE_HOME_PAGE})
# Dependencies come from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening a result or a folder goes through xdg-open; the window is laid out
# for Arial, whose metrics Liberation Sans has.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation")

include(CPack)
