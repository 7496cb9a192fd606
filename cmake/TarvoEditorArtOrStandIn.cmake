# tarvo_add_editor_art_or_stand_in(<target>)
#
# Gives an executable the editor's PNG resources: the real art when the
# build has it (tarvo_add_editor_art, or the tarvo_art target and its
# TARVO_ART_FILES), otherwise stand-in art made at build
# time by make_stand_in_art.py (every resource at its id, size and frame
# count, each frame one colour). The editor's controls take their size from
# their bitmaps, so tests and benchmarks of the editor need one or the other.
include(TarvoResources)
set(TARVO_STAND_IN_ART_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make_stand_in_art.py)

function(tarvo_add_editor_art_or_stand_in target)
  if(COMMAND tarvo_add_editor_art)
    tarvo_add_editor_art(${target})
    return()
  endif()
  # The art drawn at build time (target tarvo_art, files listed in the
  # global property TARVO_ART_FILES) when the build has it.
  get_property(_art GLOBAL PROPERTY TARVO_ART_FILES)
  if(_art AND TARGET tarvo_art)
    set_source_files_properties(${_art} PROPERTIES GENERATED TRUE)
    tarvo_add_png_resources(${target} ${_art})
    add_dependencies(${target} tarvo_art)
    return()
  endif()
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_stand_in_art)
  execute_process(COMMAND ${Python3_EXECUTABLE} -c
    "import runpy,sys; m=runpy.run_path(sys.argv[1]); print(';'.join('%d_%s.png' % (r[0], r[1]) for r in m['RESOURCES']))"
    ${TARVO_STAND_IN_ART_SCRIPT}
    OUTPUT_VARIABLE _names OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  list(TRANSFORM _names PREPEND ${_dir}/ OUTPUT_VARIABLE _files)
  add_custom_command(OUTPUT ${_files}
    COMMAND ${Python3_EXECUTABLE} ${TARVO_STAND_IN_ART_SCRIPT} ${_dir}
    DEPENDS ${TARVO_STAND_IN_ART_SCRIPT}
    COMMENT "Writing stand-in editor art for ${target}"
    VERBATIM)
  tarvo_add_png_resources(${target} ${_files})
endfunction()
