# SPDX-License-Identifier: GPL-3.0-or-later
# Installation as a Linux desktop program and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/lr40.desktop
              ${PROJECT_SOURCE_DIR}/packaging/px80panel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lcrpanel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The licence in Debian's machine-readable copyright format, where every package keeps it.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lcrpanel)

set(CPACK_PACKAGE_NAME "lcrpanel")
set(CPACK_PACKAGE_VENDOR "Marovex")
set(CPACK_PACKAGE_CONTACT "Marovex customer service <service@marovex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Remote front panels LR40 and PX80panel for bench LCR meters, and lcrctl for scripts")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqcustomplot2.1-qt6")
set(CPACK_STRIP_FILES ON)
include(CPack)
