# Run by CPack on the staged tree before it is packed, to give it the shape
# Debian expects: the commands of games live in /usr/games (the link is
# relative, ../lib/zelvora/zelvora, so it points at the program from there
# too), and programs carry no build notes.
file(GLOB_RECURSE links LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/zelvora")
foreach(link ${links})
  get_filename_component(bin "${link}" DIRECTORY)
  get_filename_component(usr "${bin}" DIRECTORY)
  file(MAKE_DIRECTORY "${usr}/games")
  file(RENAME "${link}" "${usr}/games/zelvora")
  file(GLOB left "${bin}/*")
  if(NOT left)
    file(REMOVE_RECURSE "${bin}")
  endif()
endforeach()

find_program(strip_program strip)
file(GLOB_RECURSE programs LIST_DIRECTORIES false
  "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/lib/zelvora/zelvora")
foreach(program ${programs})
  if(strip_program AND NOT IS_SYMLINK "${program}")
    execute_process(COMMAND ${strip_program} --remove-section=.comment --remove-section=.note
                            --strip-unneeded "${program}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
