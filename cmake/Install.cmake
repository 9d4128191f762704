# Where an installed Halvorine keeps its files (GNUInstallDirs under the
# install prefix), and the install rules of the desktop application.
#
# Every shipped file is in the "halvorine" component: the desktop
# application with its companion files, menu entry, icons and metainfo, and
# halvorine-find with its manual page (find/CMakeLists.txt). The package
# (cmake/Packaging.cmake) holds that component.
include(GNUInstallDirs)

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
