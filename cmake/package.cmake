# The portable package: `cpack -G ZIP` (or the `package` target) makes
# Tolvane-<version>-win64.zip holding the program folder as the program expects
# it: Tolvane.exe, media\ with the default media, an empty tmp\ for the
# autosave copy, the user's README and the licence.
install(TARGETS Tolvane RUNTIME DESTINATION .)
if(TOLVANE_MEDIA)
  install(FILES ${TOLVANE_MEDIA_FILES} DESTINATION media)
endif()
# The default autosave path is tmp\tolvane.tmp beside the exe: the folder must be there.
install(DIRECTORY DESTINATION tmp)

# Text files with Windows line ends, for any editor a user opens them with.
configure_file(${CMAKE_SOURCE_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/package/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tolvane)
set(CPACK_PACKAGE_VENDOR Virelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Tolvane-${PROJECT_VERSION}-win64)
# The files at the top of the archive: "Extract all" already makes a folder named after it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
