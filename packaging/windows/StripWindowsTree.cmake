# Run by CPack on the staged tree: the program and every DLL without their
# symbol tables (Qt's and mingw's DLLs come with them).
file(GLOB_RECURSE binaries LIST_DIRECTORIES false
  "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe" "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.dll")
foreach(binary ${binaries})
  execute_process(COMMAND ${CPACK_WINDOWS_STRIP} --strip-unneeded "${binary}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
