# Installing as Debian installs games: the programs in games/, the book in share/games/velkor,
# man pages in section 6, and the plugin file that puts Velkor into xboard's engine list. The
# same rules make the .deb (`make package`).

install(TARGETS velkor velkor-tool RUNTIME DESTINATION games)
install(FILES ${PROJECT_SOURCE_DIR}/play/Velkor.book DESTINATION ${CMAKE_INSTALL_DATADIR}/games/velkor)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velkor.eng DESTINATION ${CMAKE_INSTALL_DATADIR}/games/plugins/xboard)

# Man pages and the changelog go compressed, as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(VELKOR_COMPRESSED)
foreach(source man/velkor.6 man/velkor-tool.6 changelog)
    get_filename_component(name ${source} NAME)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
                       COMMAND ${GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${source} > ${compressed}
                       DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source} VERBATIM)
    list(APPEND VELKOR_COMPRESSED ${compressed})
endforeach()
add_custom_target(velkor_compressed_docs ALL DEPENDS ${VELKOR_COMPRESSED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/velkor.6.gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/velkor-tool.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkor)
set(CPACK_PACKAGE_VENDOR "the Velkor developers")
set(CPACK_PACKAGE_CONTACT "the Velkor developers <velkor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess engine for xboard and UCI interfaces")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# One line each, as the Debian control file wants them (no line longer than 80 characters).
set(CPACK_PACKAGE_DESCRIPTION "Velkor is a classical chess engine: a bitboard move generator with rotated
occupancy boards, an alpha-beta search with iterative deepening, null move,
quiescence and a transposition table, an opening book and a hand-tuned
evaluation. It plays in xboard, PyChess, GNOME Chess and the other interfaces
that speak the xboard protocol, and in fastchess, cutechess and the other
interfaces that speak UCI.

The velkor-tool program converts PGN collections to a compact game file and
back, exports positions, builds opening books and counts perft.")
include(CPack)
