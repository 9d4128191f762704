# Where an installed Halvorine keeps its files (GNUInstallDirs under the
# install prefix), and the install rules of the desktop application.
#
# Every shipped file is in the "halvorine" component: the desktop
# application with its manual page, companion files, menu entry, icons and
# metainfo, halvorine-find with its manual page (find/CMakeLists.txt), and
# the package's copyright and changelog. The package (cmake/Packaging.cmake)
# holds that component.
include(GNUInstallDirs)

# halvorine_install_gzipped(SOURCE DESTINATION): installs SOURCE compressed
# into DESTINATION as SOURCE's name plus ".gz", the way Debian ships manual
# pages and changelogs (gzip -9n: best compression, no name or time stamp,
# so the same source gives the same bytes).
find_program(HALVORINE_GZIP gzip REQUIRED)
function(halvorine_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(gzipped ${PROJECT_BINARY_DIR}/gzipped/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/gzipped
    COMMAND ${HALVORINE_GZIP} -9nc ${source} > ${gzipped}
    DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${destination} COMPONENT halvorine)
endfunction()

# The application's id: the name of its desktop entry, metainfo and icons.
set(HALVORINE_APP_ID example.halvorine.Halvorine)
# The companion files (hand cursor, row-drag pointer, Samples).
set(HALVORINE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/halvorine)
# ...as seen from the executable's folder, so that an installed tree works
# under any prefix and in a staging root.
file(RELATIVE_PATH HALVORINE_INSTALLED_COMPANIONS ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${HALVORINE_INSTALL_DATADIR})

install(FILES ${PROJECT_SOURCE_DIR}/assets/HAND-M.CUR ${PROJECT_SOURCE_DIR}/assets/drag.ico
        DESTINATION ${HALVORINE_INSTALL_DATADIR} COMPONENT halvorine)
# Written at build time by halvorine_make_samples (filelist/).
install(DIRECTORY ${HALVORINE_APP_DIR}/Samples DESTINATION ${HALVORINE_INSTALL_DATADIR} COMPONENT halvorine)

install(FILES ${PROJECT_SOURCE_DIR}/data/${HALVORINE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT halvorine)
# The metainfo names the maker's pages and a screenshot of the main window
# (docs/main-window.png, published at HALVORINE_SCREENSHOT_URL).
set(HALVORINE_SCREENSHOT_URL "${HALVORINE_HOME_PAGE}/screenshots/main-window.png"
    CACHE STRING "Address of the main window's screenshot named in the AppStream metainfo")
string(REGEX REPLACE "/+$" "" HALVORINE_CONTACT_PAGE "${HALVORINE_CONTACT_SITE}")
string(APPEND HALVORINE_CONTACT_PAGE "/contact/")
configure_file(${PROJECT_SOURCE_DIR}/data/${HALVORINE_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/data/${HALVORINE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${HALVORINE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT halvorine)
# Drawn by assets/make_app_icons.py.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        COMPONENT halvorine)

# The package's copyright and changelog (the package version is
# PROJECT_VERSION-HALVORINE_DEBIAN_REVISION).
set(HALVORINE_DEBIAN_REVISION 1)
set(HALVORINE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/halvorine)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/copyright.in ${PROJECT_BINARY_DIR}/data/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/copyright DESTINATION ${HALVORINE_DOC_DIR} COMPONENT halvorine)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.Debian.in ${PROJECT_BINARY_DIR}/data/changelog.Debian @ONLY)
halvorine_install_gzipped(${PROJECT_BINARY_DIR}/data/changelog.Debian ${HALVORINE_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME halvorine COMPONENT halvorine)
