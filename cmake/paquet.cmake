# Installation of the programs and the Debian package built by `make package` (CPack).
include(GNUInstallDirs)

install(TARGETS kalvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kalvo-journal)
    install(TARGETS kalvo-journal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(KALVO_MAINTENEUR "Kalvo <kalvo@example.invalid>" CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KALVO_MAINTENEUR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compteur de taxes téléphoniques")
# One string: CPack puts the summary above it and indents its lines.
set(CPACK_PACKAGE_DESCRIPTION "Kalvo affiche ce que coûte un appel téléphonique pendant qu'il dure, d'après
la zone d'appel et le tarif en vigueur, et tient le journal des appels.
kalvo-journal lit ce journal en ligne de commande.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the libraries; the platform plugins that let Qt open a window are only
# recommended by Qt's own package, and Kalvo does not start without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own texts in French; without them the edit fields' context menus are in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
