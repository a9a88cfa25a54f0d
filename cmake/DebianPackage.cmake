# The Debian package (make package): the desktop program, the command-line tool and the
# simulator, the demo's sample program files, a desktop entry, an icon and man pages made
# from the programs' --help.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

set(man_folder ${CMAKE_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${man_folder})
set(man_pages)
foreach(program quenderlink quenderlink-cli quenderlink-unitsim)
  set(page ${man_folder}/${program}.1)
  set(sections ${PROJECT_SOURCE_DIR}/share/man/${program}.h2m)
  # gzip -n leaves the time out, so the same sources give the same package.
  add_custom_command(OUTPUT ${page}.gz
                     COMMAND ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --include=${sections}
                             --output=${page} $<TARGET_FILE:${program}>
                     COMMAND ${GZIP} -9nf ${page}
                     DEPENDS ${program} ${sections} VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})

install(FILES ${man_pages} DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/share/desktop/quenderlink.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/share/desktop/quenderlink.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenderlink)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "field-service tool for trackside detector units")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Keeps lists of trackside detector units (sites) and works on them: pings the\n"
       "units, scans address ranges, uploads program files, resets units, opens telnet\n"
       "terminals, imports and exports lists. Holds the desktop program, the same work\n"
       "without a screen (quenderlink-cli) and a unit simulator (quenderlink-unitsim).")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quenderlink maintainers <quenderlink@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
