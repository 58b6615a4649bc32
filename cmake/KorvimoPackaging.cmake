# Installation layout and the Debian package (`make package`).
#
# Installed, the programs sit in bin/ and find their data in
# share/korvimo/ beside it (ProgramPaths::detect), so the package needs no
# configuration: /usr/bin/korvimo reads /usr/share/korvimo/Lib, Lng and Hlp.
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/korvimo)
# Desktop integration: menu entry, icon, the file types of the program and
# the software-centre description.
install(FILES packaging/korvimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/korvimo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/korvimo-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME korvimo.xml)
install(FILES packaging/org.korvimo.Korvimo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvimo)

# Debian wants manual pages compressed.
find_program(GZIP_PROGRAM gzip)
foreach(page korvimo.1 korvimo-cli.1)
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                       COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/packaging/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
                       DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${page} VERBATIM)
    list(APPEND korvimo_man_pages ${CMAKE_BINARY_DIR}/man/${page}.gz)
  else()
    list(APPEND korvimo_man_pages ${CMAKE_SOURCE_DIR}/packaging/${page})
  endif()
endforeach()
add_custom_target(korvimo_man ALL DEPENDS ${korvimo_man_pages})
install(FILES ${korvimo_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korvimo developers")
set(CPACK_PACKAGE_CONTACT "The Korvimo developers <korvimo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Traffic flow diagrams of intersections and roundabouts")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Korvimo composes, shows, prints and exports traffic flow diagrams of road intersections and\n"
       "roundabouts, from its own files, a template library, or traffic data (origin-destination,\n"
       "CSV and import-request files). korvimo-cli draws, converts and serves them without a display.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY korvimo)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # korvimo_1.0.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binaries link are found by dpkg-shlibdeps, not typed here;
# the fonts the layouts are measured with are data, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)
