# The portable package: `cpack -G ZIP` (or the `package` target) makes
# Tolvane-<version>-win64.zip holding the program folder as the program expects
# it: Tolvane.exe, media\ with the default media, an empty tmp\ for the
# autosave copy, locale\\ with the Spanish catalogs, the user's README and the licence.
install(TARGETS Tolvane RUNTIME DESTINATION .)
if(TOLVANE_MEDIA)
  install(FILES ${TOLVANE_MEDIA_FILES} DESTINATION media)
endif()
if(TOLVANE_CATALOGS)
  install(FILES ${TOLVANE_CATALOG_FILES} DESTINATION locale/es/LC_MESSAGES)
endif()
# The default autosave path is tmp\tolvane.tmp beside the exe: the folder must be there.
install(DIRECTORY DESTINATION tmp)

# Text files with Windows line ends, for any editor a user opens them with.
configure_file(${CMAKE_SOURCE_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/package/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt DESTINATION .)

# Two downloads: the portable zip, and an installer for one user (CPack's NSIS
# generator, with our own script packaging/NSIS.template.in: per-user folder,
# Start menu, "Open with", Apps & features). The file names differ per
# generator: packaging/CPackOptions.cmake.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/CPackOptions.cmake)
set(CPACK_TOLVANE_ICON ${CMAKE_SOURCE_DIR}/src/app/res/tolvane.ico)
set(CPACK_TOLVANE_LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tolvane)
set(CPACK_PACKAGE_NAME Tolvane)
set(CPACK_PACKAGE_VENDOR Virelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Tolvane-${PROJECT_VERSION}-win64)
# The files at the top of the archive: "Extract all" already makes a folder named after it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
