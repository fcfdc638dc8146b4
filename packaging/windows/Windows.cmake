# The Windows build as a player gets it (scripts/windows.sh): one folder
# holding the program, its puzzles, the Qt and mingw DLLs it loads, Qt's
# plugins and translations, packed by CPack as an NSIS installer and a ZIP.

set(ZELVORA_WINDOWS_RUNTIME "" CACHE STRING
  "Folders holding the mingw runtime DLLs (libstdc++, libgcc_s_seh, libwinpthread)")

# Qt's prefix, and qt.conf pointing Qt at the program's own folder instead.
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qt.conf DESTINATION .)

foreach(module Core Gui Widgets)
  install(FILES ${qt_prefix}/bin/Qt6${module}.dll DESTINATION .)
endforeach()
# The screen, the native look, and the picture formats the settings
# dialog offers beyond Qt's own BMP (GIF, JPEG, icons and cursors).
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
foreach(format gif jpeg ico)
  install(FILES ${qt_prefix}/plugins/imageformats/q${format}.dll DESTINATION imageformats)
endforeach()
# Qt's own texts (its dialogs' buttons) in the player's language.
foreach(language es en)
  set(qm ${qt_prefix}/translations/qtbase_${language}.qm)
  if(NOT EXISTS ${qm})
    set(qm /usr/share/qt6/translations/qtbase_${language}.qm)
  endif()
  install(FILES ${qm} DESTINATION translations)
endforeach()

foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  find_file(runtime_${dll} ${dll} PATHS ${ZELVORA_WINDOWS_RUNTIME} NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(FILES ${runtime_${dll}} DESTINATION .)
endforeach()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_FILE_NAME Zelvora-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zelvora)
set(CPACK_PACKAGE_EXECUTABLES zelvora Zelvora) # the Start-menu entry
set(CPACK_PACKAGING_INSTALL_PREFIX "")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripWindowsTree.cmake)
set(CPACK_WINDOWS_STRIP ${CMAKE_STRIP})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/license.txt)
set(CPACK_NSIS_PACKAGE_NAME Zelvora)
set(CPACK_NSIS_DISPLAY_NAME Zelvora)
# A 64-bit installer: its stub runs where only 64-bit programs run (Debian's
# wine64 without wine32), and $PROGRAMFILES is the 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/windows/zelvora.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/windows/zelvora.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME zelvora.exe) # the icon in Apps
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_URL_INFO_ABOUT https://zelvora.pinarejo.example/)
set(CPACK_NSIS_CONTACT zelvora@pinarejo.example)
