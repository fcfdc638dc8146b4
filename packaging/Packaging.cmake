# The manual page and the Debian documentation files, installed with the
# rest, and the Debian package that CPack makes of the installed tree
# (scripts/package.sh).
if(UNIX AND NOT APPLE)
  set(packaging_out ${CMAKE_CURRENT_BINARY_DIR}/packaging)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/zelvora.6.in ${packaging_out}/zelvora.6 @ONLY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${packaging_out}/changelog @ONLY)
  # Debian wants them compressed to the maximum and without a time stamp.
  foreach(file zelvora.6 changelog)
    add_custom_command(OUTPUT ${packaging_out}/${file}.gz
      COMMAND gzip -9n -c ${packaging_out}/${file} > ${packaging_out}/${file}.gz
      DEPENDS ${packaging_out}/${file})
  endforeach()
  add_custom_target(zelvora_docs ALL
    DEPENDS ${packaging_out}/zelvora.6.gz ${packaging_out}/changelog.gz)
  install(FILES ${packaging_out}/zelvora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${packaging_out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zelvora)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvora)
set(CPACK_PACKAGE_VENDOR Pinarejo)
set(CPACK_PACKAGE_CONTACT "Pinarejo <zelvora@pinarejo.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word-search puzzle game in Spanish")
set(CPACK_PACKAGE_DESCRIPTION
  "Pick a puzzle from a list of titles, mark the letters of the words you find
and cross the words out in the list beside the board. Marks and crossed-out
words are kept for every puzzle and player; the solution can be shown, and
the board's colours, font and background picture can be changed. Nearly
thirty puzzles come with the game, from 8 x 8 to 33 x 30 letters.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zelvora_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zelvora.pinarejo.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland plugin is loaded at run time, so the linked libraries do not
# bring it: without it a Wayland desktop runs the game through XWayland,
# enlarged and blurred at fractional scales. Recommended, not required: apt
# installs it by default, an X11-only desktop may leave it out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PrepareDebianTree.cmake)
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/Windows.cmake)
endif()
include(CPack)
