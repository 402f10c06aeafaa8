# The Debian package: `cpack -G DEB` in the build folder (see README.md).
#
# Layout: the program, the updater, the PDF and chart modules and the help page in /opt/zelvora (the
# program finds its help, its modules and the administrator's PfadZurDatenbank.ini beside itself),
# /usr/bin/zelvora starts it, a desktop entry and the icon make it appear in the menu. /opt/zelvora is not
# writable for a clerk: the database lies in a folder of its own (a shared folder or a server), named by
# /opt/zelvora/PfadZurDatenbank.ini for everyone or by the clerk's own ~/.config/TalbrinZlv/PfadZurDatenbank.ini,
# which the program writes at the first start (a new database goes into ~/.local/share/TalbrinZlv).
set(ZLV_PACKAGE_FOLDER opt/zelvora)
install(TARGETS Zlv Zlv_Update Zlv_Access RUNTIME DESTINATION ${ZLV_PACKAGE_FOLDER})
install(TARGETS zlvpdf zlvcharts zlvprint LIBRARY DESTINATION ${ZLV_PACKAGE_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/help/zlv.html DESTINATION ${ZLV_PACKAGE_FOLDER})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK /${ZLV_PACKAGE_FOLDER}/Zlv ${CMAKE_BINARY_DIR}/packaging/zelvora SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/zelvora DESTINATION usr/bin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zelvora.desktop DESTINATION usr/share/applications)
install(FILES ${CMAKE_BINARY_DIR}/src/app/generated/zelvora.png DESTINATION usr/share/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION usr/share/doc/zelvora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvora)
set(CPACK_PACKAGE_VENDOR Talbrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Baukostenüberwachung für Bauämter")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Zelvora bucht die Zahlungen der Bauprojekte eines Bauamts je Firma, führt Kostenberechnung, "
       "Aufträge und Nachträge, überwacht das Budget jedes Projekts, zeigt Diagramme, wertet aus, druckt "
       "Berichte und exportiert CSV-Dateien.")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_RPM_PACKAGE_LICENSE GPL-3.0-or-later)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Talbrin Zelvora <zelvora@talbrin.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs and the modules link (qpdf's and Qt Charts' among them) come from
# dpkg-shlibdeps; Qt loads the SQLite and PostgreSQL drivers and the German texts at run time, the engines
# load SQLite and libpq themselves, and the interface and the reports need the fonts they name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libsqlite3-0, libqt6sql6-psql, libpq5, qt6-translations-l10n, fonts-liberation, fonts-dejavu-core")
include(CPack)
