# The manual page and the changelog, compressed as Debian's policy asks: gzip -9n, with
# no name or time stamp inside, so that the same sources give the same package.
configure_file(man/pllcfg.1.in ${CMAKE_CURRENT_BINARY_DIR}/pllcfg.1 @ONLY)
configure_file(packaging/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog COPYONLY)
find_program(GZIP gzip REQUIRED)
foreach(doc pllcfg.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz
                     COMMAND ${GZIP} -9nkf ${doc}
                     DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${doc}
                     WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endforeach()
add_custom_target(pllcfg_docs ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/pllcfg.1.gz
                                          ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/pllcfg.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
