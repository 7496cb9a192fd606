# tarvo_add_vst3_bundle(<target>
#   NAME <bundle and class name>  SOURCES <files...>  [LIBS <targets...>]
#   [DEFINITIONS <defs...>]
#   VENDOR <text> URL <text> EMAIL <text> CATEGORY <text> SUBCATEGORIES <a|b>
#   VERSION <x.y.z> SDK_VERSION <text> CID_WORDS <l1> <l2> <l3> <l4>
#   [CLASS_VENDOR <text>] [CLASS_FLAGS <n>] [SNAPSHOT])
#
# Builds <NAME>.vst3/Contents/x86_64-linux/<NAME>.so (Linux) or
# <NAME>.vst3/Contents/x86_64-win/<NAME>.vst3 (Windows) under
# ${CMAKE_BINARY_DIR}/vst3, with Contents/Resources/moduleinfo.json. The
# identity the factory reports and the module info are generated from the
# same arguments. Sets <target>_BUNDLE_DIR and <target>_MODULE_PATH in the
# caller's scope and as global properties of the same names.
set(TARVO_VST3_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "Folder of the VST 3 binding sources")

function(tarvo_add_vst3_bundle target)
  cmake_parse_arguments(B "SNAPSHOT"
    "NAME;VENDOR;URL;EMAIL;CATEGORY;SUBCATEGORIES;VERSION;SDK_VERSION;CLASS_VENDOR;CLASS_FLAGS"
    "SOURCES;LIBS;DEFINITIONS;CID_WORDS" ${ARGN})
  if(NOT B_CLASS_FLAGS)
    set(B_CLASS_FLAGS 2)
  endif()
  list(LENGTH B_CID_WORDS _n)
  if(NOT _n EQUAL 4)
    message(FATAL_ERROR "tarvo_add_vst3_bundle(${target}): CID_WORDS needs four words")
  endif()
  list(GET B_CID_WORDS 0 CID_L1)
  list(GET B_CID_WORDS 1 CID_L2)
  list(GET B_CID_WORDS 2 CID_L3)
  list(GET B_CID_WORDS 3 CID_L4)

  # The class ID as module info writes it: the 16 bytes the factory hands
  # out, in order (l1 and both halves of l2 byte-swapped, l3 and l4 as is).
  foreach(w L1 L2 L3 L4)
    string(REGEX REPLACE "^0[xX]" "" _h${w} "${CID_${w}}")
    string(TOUPPER "${_h${w}}" _h${w})
    string(LENGTH "${_h${w}}" _len)
    if(NOT _len EQUAL 8)
      message(FATAL_ERROR "tarvo_add_vst3_bundle(${target}): CID word ${CID_${w}} is not 8 hex digits")
    endif()
  endforeach()
  macro(_byte word i out)
    string(SUBSTRING "${_h${word}}" ${i} 2 ${out})
  endmacro()
  _byte(L1 6 a)
  _byte(L1 4 b)
  _byte(L1 2 c)
  _byte(L1 0 d)
  _byte(L2 2 e)
  _byte(L2 0 f)
  _byte(L2 6 g)
  _byte(L2 4 h)
  set(CID_STRING "${a}${b}${c}${d}${e}${f}${g}${h}${_hL3}${_hL4}")

  string(REPLACE "|" "\", \"" SUBCATEGORY_LIST "${B_SUBCATEGORIES}")
  # With SNAPSHOT the module info names Snapshots/<class id>_snapshot.png,
  # which the caller puts into Contents/Resources.
  set(SNAPSHOT_LIST "")
  if(B_SNAPSHOT)
    set(SNAPSHOT_LIST "\n        { \"Scale Factor\": 1.0, \"Path\": \"Snapshots/${CID_STRING}_snapshot.png\" }\n      ")
  endif()
  set(BUNDLE_NAME ${B_NAME})
  set(VENDOR ${B_VENDOR})
  set(URL ${B_URL})
  set(EMAIL ${B_EMAIL})
  set(CATEGORY ${B_CATEGORY})
  set(SUBCATEGORIES ${B_SUBCATEGORIES})
  set(CLASS_VENDOR "${B_CLASS_VENDOR}")
  set(VERSION ${B_VERSION})
  set(SDK_VERSION ${B_SDK_VERSION})
  set(CLASS_FLAGS ${B_CLASS_FLAGS})

  set(gen ${CMAKE_CURRENT_BINARY_DIR}/${target}_gen)
  configure_file(${TARVO_VST3_DIR}/ModuleIdentity.cpp.in ${gen}/ModuleIdentity.cpp @ONLY)

  set(bundle ${CMAKE_BINARY_DIR}/vst3/${B_NAME}.vst3)
  configure_file(${TARVO_VST3_DIR}/moduleinfo.json.in ${bundle}/Contents/Resources/moduleinfo.json @ONLY)

  add_library(${target} MODULE ${B_SOURCES} ${TARVO_VST3_DIR}/ModuleEntry.cpp ${gen}/ModuleIdentity.cpp)
  target_link_libraries(${target} PRIVATE ${B_LIBS} tarvo_vst3 tarvo_warnings)
  target_compile_definitions(${target} PRIVATE ${B_DEFINITIONS})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${B_NAME}
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    set(arch_dir ${bundle}/Contents/x86_64-win)
    set_target_properties(${target} PROPERTIES SUFFIX ".vst3"
      LIBRARY_OUTPUT_DIRECTORY ${arch_dir} RUNTIME_OUTPUT_DIRECTORY ${arch_dir})
    set(module_path ${arch_dir}/${B_NAME}.vst3)
  else()
    set(arch_dir ${bundle}/Contents/x86_64-linux)
    set_target_properties(${target} PROPERTIES SUFFIX ".so" LIBRARY_OUTPUT_DIRECTORY ${arch_dir})
    # Only the three entry points leave the module; everything it uses must
    # resolve at link time.
    target_link_options(${target} PRIVATE
      -Wl,--version-script=${TARVO_VST3_DIR}/module-exports.map
      -Wl,--no-undefined -Wl,--exclude-libs,ALL)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${TARVO_VST3_DIR}/module-exports.map)
    set(module_path ${arch_dir}/${B_NAME}.so)
  endif()
  # The class ID as module info writes it (32 hex digits); snapshot images
  # are named after it.
  set_property(GLOBAL PROPERTY ${target}_CLASS_ID ${CID_STRING})
  set_property(GLOBAL PROPERTY ${target}_BUNDLE_DIR ${bundle})
  set_property(GLOBAL PROPERTY ${target}_MODULE_PATH ${module_path})
  set(${target}_BUNDLE_DIR ${bundle} PARENT_SCOPE)
  set(${target}_MODULE_PATH ${module_path} PARENT_SCOPE)
endfunction()
