# The default media, made at build time by the scripts in scripts/media from
# nothing but sox, lame, cjpeg and Python. Each file is rebuilt only when its
# script changes. Off: the program folder takes media of your own.
option(TOLVANE_MEDIA "Generate the default media (needs sox, lame, cjpeg and Python 3)" ON)
if(NOT TOLVANE_MEDIA)
  return()
endif()

find_program(TOLVANE_BASH bash REQUIRED)
find_program(TOLVANE_SOX sox REQUIRED)
find_program(TOLVANE_LAME lame REQUIRED)
find_program(TOLVANE_CJPEG cjpeg REQUIRED)
find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(MEDIA_SCRIPTS ${CMAKE_SOURCE_DIR}/scripts/media)
set(MEDIA_DIR ${CMAKE_BINARY_DIR}/media)
file(MAKE_DIRECTORY ${MEDIA_DIR})
add_custom_command(OUTPUT ${MEDIA_DIR}/sonido.mp3
  COMMAND ${TOLVANE_BASH} ${MEDIA_SCRIPTS}/ambient.sh ${MEDIA_DIR}/sonido.mp3
  DEPENDS ${MEDIA_SCRIPTS}/ambient.sh
  COMMENT "Making the ambient loop media/sonido.mp3" VERBATIM)
add_custom_command(OUTPUT ${MEDIA_DIR}/click.wav
  COMMAND ${TOLVANE_BASH} ${MEDIA_SCRIPTS}/click.sh ${MEDIA_DIR}/click.wav
  DEPENDS ${MEDIA_SCRIPTS}/click.sh
  COMMENT "Making the key click media/click.wav" VERBATIM)
add_custom_command(OUTPUT ${MEDIA_DIR}/fondo.jpg
  COMMAND ${Python3_EXECUTABLE} ${MEDIA_SCRIPTS}/background.py ${MEDIA_DIR}/fondo.jpg
  DEPENDS ${MEDIA_SCRIPTS}/background.py
  COMMENT "Making the background picture media/fondo.jpg" VERBATIM)
set(TOLVANE_MEDIA_FILES ${MEDIA_DIR}/sonido.mp3 ${MEDIA_DIR}/click.wav ${MEDIA_DIR}/fondo.jpg)
add_custom_target(media ALL DEPENDS ${TOLVANE_MEDIA_FILES})
