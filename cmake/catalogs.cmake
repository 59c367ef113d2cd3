# The Spanish message catalogs, compiled from po/ with msgfmt --check into
# locale/es/LC_MESSAGES/<domain>.mo beside the program, where it looks for them.
# Off: the program speaks English.
option(TOLVANE_CATALOGS "Compile the message catalogs (needs msgfmt of GNU gettext)" ON)
if(NOT TOLVANE_CATALOGS)
  return()
endif()

find_program(TOLVANE_MSGFMT msgfmt REQUIRED)
set(CATALOG_DIR ${CMAKE_BINARY_DIR}/locale/es/LC_MESSAGES)
file(MAKE_DIRECTORY ${CATALOG_DIR})
set(TOLVANE_CATALOG_FILES)
# domain and its Spanish source; the domain names are those of src/i18n/Localization.h
foreach(pair "default|po/es.po" "tolvane-widgets|po/widgets/es.po")
  string(REPLACE "|" ";" pair ${pair})
  list(GET pair 0 domain)
  list(GET pair 1 source)
  add_custom_command(OUTPUT ${CATALOG_DIR}/${domain}.mo
    COMMAND ${TOLVANE_MSGFMT} --check -o ${CATALOG_DIR}/${domain}.mo ${CMAKE_SOURCE_DIR}/${source}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Compiling the catalog locale/es/LC_MESSAGES/${domain}.mo" VERBATIM)
  list(APPEND TOLVANE_CATALOG_FILES ${CATALOG_DIR}/${domain}.mo)
endforeach()
add_custom_target(catalogs ALL DEPENDS ${TOLVANE_CATALOG_FILES})
