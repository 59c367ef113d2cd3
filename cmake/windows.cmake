# The Win32 program and the end-to-end test driver.
enable_language(RC)
file(GLOB WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/app/*.cpp ${CMAKE_SOURCE_DIR}/src/workspace/*.cpp ${CMAKE_SOURCE_DIR}/src/text/*.cpp
  ${CMAKE_SOURCE_DIR}/src/commands/*.cpp ${CMAKE_SOURCE_DIR}/src/sound/*.cpp ${CMAKE_SOURCE_DIR}/src/rest/*.cpp
  ${CMAKE_SOURCE_DIR}/src/settings/*.cpp ${CMAKE_SOURCE_DIR}/src/i18n/*.cpp ${CMAKE_SOURCE_DIR}/src/widgets/*.cpp)

set(RES ${CMAKE_SOURCE_DIR}/src/app/res)
set(V1 ${PROJECT_VERSION_MAJOR})
set(V2 ${PROJECT_VERSION_MINOR})
set(V3 ${PROJECT_VERSION_PATCH})
set(V4 ${PROJECT_VERSION_TWEAK})
configure_file(${RES}/Tolvane.rc.in ${CMAKE_BINARY_DIR}/Tolvane.rc @ONLY)
# The resource compiler does not report what the script pulls in: a changed
# manifest, icon or logo must rebuild the resources all the same.
set_source_files_properties(${CMAKE_BINARY_DIR}/Tolvane.rc PROPERTIES
  OBJECT_DEPENDS "${RES}/Tolvane.manifest;${RES}/tolvane.ico;${RES}/logo.jpg")

add_executable(Tolvane WIN32 ${WIN_SOURCES} ${CMAKE_BINARY_DIR}/Tolvane.rc)
target_compile_definitions(Tolvane PRIVATE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
target_compile_options(Tolvane PRIVATE -Wall -Wextra -Wno-missing-field-initializers -municode)
target_link_options(Tolvane PRIVATE -municode -static -static-libgcc -static-libstdc++)
# winmm, version and msimg32 are no KnownDLLs: imported as usual, the loader
# would take a copy planted in the program folder before the program runs.
# They are delay-loaded instead, at their first call, by which time the program
# has restricted the search to the system folder. Their import libraries are
# made here from the lists of what the program calls (cmake/delayload).
find_program(TOLVANE_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool x86_64-w64-mingw32-dlltool dlltool REQUIRED)
set(DELAYED_LIBS)
foreach(dll winmm version msimg32)
  set(lib ${CMAKE_BINARY_DIR}/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${TOLVANE_DLLTOOL} --input-def ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def --dllname ${dll}.dll
            --output-delaylib ${lib}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def VERBATIM)
  list(APPEND DELAYED_LIBS ${lib})
endforeach()
add_custom_target(delayed_imports DEPENDS ${DELAYED_LIBS})
add_dependencies(Tolvane delayed_imports)
target_link_libraries(Tolvane PRIVATE tolvane_core comctl32 comdlg32 ${DELAYED_LIBS} shell32 gdi32 user32 advapi32)

# A DLL planted in a program folder by the tests: it reports itself when loaded.
add_library(tvplanted SHARED ${CMAKE_SOURCE_DIR}/tests/driver/tvplanted.cpp)
set_target_properties(tvplanted PROPERTIES PREFIX "")
target_compile_definitions(tvplanted PRIVATE UNICODE _UNICODE)
target_link_options(tvplanted PRIVATE -static -static-libgcc)

# The baseline for exit times: a bare window that ends on Ctrl+Q, nothing else.
add_executable(tvminimal WIN32 ${CMAKE_SOURCE_DIR}/tests/driver/tvminimal.cpp)
target_compile_definitions(tvminimal PRIVATE UNICODE _UNICODE)
target_link_options(tvminimal PRIVATE -municode -static -static-libgcc)

add_executable(tvdriver ${CMAKE_SOURCE_DIR}/tests/driver/tvdriver.cpp)
target_compile_definitions(tvdriver PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)
target_compile_options(tvdriver PRIVATE -municode)
target_link_options(tvdriver PRIVATE -municode -static -static-libgcc -static-libstdc++)
target_link_libraries(tvdriver PRIVATE user32 advapi32 gdi32 comctl32 version psapi)

file(GLOB I18N_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/i18n/*.cpp)

# Timed driver of the key click (the request alone, and a key event on a clicking rich edit); prints figures.
add_executable(keyclick_bench ${CMAKE_SOURCE_DIR}/bench/keyclick_wine.cpp ${CMAKE_SOURCE_DIR}/src/sound/Click.cpp
  ${CMAKE_SOURCE_DIR}/src/sound/SoundLog.cpp)
target_compile_definitions(keyclick_bench PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)
target_link_options(keyclick_bench PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(keyclick_bench PRIVATE tolvane_core winmm user32 gdi32)

# Large documents: open, status-line refresh, typing and save at 100 KB to 10 MB, beside a bare rich edit; prints figures.
add_executable(large_docs_bench ${CMAKE_SOURCE_DIR}/bench/large_docs_wine.cpp ${CMAKE_SOURCE_DIR}/src/text/Editor.cpp
  ${CMAKE_SOURCE_DIR}/src/text/DocumentIO.cpp ${CMAKE_SOURCE_DIR}/src/widgets/Win.cpp
  ${CMAKE_SOURCE_DIR}/src/widgets/Errors.cpp ${CMAKE_SOURCE_DIR}/src/widgets/Handles.cpp ${I18N_WIN_SOURCES})
target_compile_definitions(large_docs_bench PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)
target_compile_options(large_docs_bench PRIVATE -Wno-missing-field-initializers)
target_link_options(large_docs_bench PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(large_docs_bench PRIVATE tolvane_core comctl32 user32 gdi32 psapi)
include(cmake/media.cmake)
include(cmake/catalogs.cmake)
include(cmake/package.cmake)
