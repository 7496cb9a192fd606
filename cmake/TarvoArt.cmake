# The editor's art: tools/tarvo-art draws every PNG resource at build time.
#
# Defines
#   tarvo_art          target that brings the PNGs up to date
#   TARVO_ART_DIR      folder that holds them (also the global property of
#                      the same name), <id>_<name>.png each
#   TARVO_ART_FILES    the full list of their paths (and global property)
#
# A native build compiles the generator as part of the project. A cross
# build cannot run what it compiles, so it configures and builds
# tools/tarvo-art again as a native project of its own (ExternalProject)
# and runs that program.

set(TARVO_ART_FONT_DIR "/usr/share/fonts/truetype/dejavu" CACHE PATH
    "Folder of the DejaVu fonts the art is drawn with")
set(_art_src ${PROJECT_SOURCE_DIR}/tools/tarvo-art)
set(_art_list ${PROJECT_SOURCE_DIR}/resources/png-resources.txt)
set(_art_glyphs ${PROJECT_SOURCE_DIR}/resources/font-small.txt)
set(TARVO_ART_DIR ${CMAKE_BINARY_DIR}/art)

# The build's own list of what the generator writes.
set(TARVO_ART_FILES "")
file(STRINGS ${_art_list} _art_lines REGEX "^[0-9]")
foreach(_line IN LISTS _art_lines)
  string(REGEX MATCH "^([0-9]+) ([^ ]+) " _m "${_line}")
  list(APPEND TARVO_ART_FILES ${TARVO_ART_DIR}/${CMAKE_MATCH_1}_${CMAKE_MATCH_2}.png)
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_art_list})

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_art_native ${CMAKE_BINARY_DIR}/tarvo-art-native)
  set(_art_exe ${_art_native}/tarvo-art)
  set(_art_args -DCMAKE_BUILD_TYPE=Release -DTARVO_WERROR=${TARVO_WERROR})
  # A compiler launcher given to this build (ccache) serves the native one too.
  if(CMAKE_CXX_COMPILER_LAUNCHER)
    list(APPEND _art_args -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()
  ExternalProject_Add(tarvo_art_native
    SOURCE_DIR ${_art_src}
    BINARY_DIR ${_art_native}
    CMAKE_ARGS ${_art_args}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${_art_native} --target tarvo-art
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_art_exe})
  set(_art_depends tarvo_art_native ${_art_exe})
else()
  add_subdirectory(${_art_src} ${CMAKE_BINARY_DIR}/tools/tarvo-art)
  set(_art_exe $<TARGET_FILE:tarvo-art>)
  set(_art_depends tarvo-art)
endif()

add_custom_command(
  OUTPUT ${TARVO_ART_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TARVO_ART_DIR}
  COMMAND ${_art_exe} --out ${TARVO_ART_DIR} --list ${_art_list} --glyphs ${_art_glyphs}
          --fonts ${TARVO_ART_FONT_DIR} --jobs 2
  DEPENDS ${_art_depends} ${_art_list} ${_art_glyphs}
  COMMENT "Drawing the editor's PNG resources"
  VERBATIM)
add_custom_target(tarvo_art DEPENDS ${TARVO_ART_FILES})

set_property(GLOBAL PROPERTY TARVO_ART_DIR ${TARVO_ART_DIR})
set_property(GLOBAL PROPERTY TARVO_ART_FILES ${TARVO_ART_FILES})
