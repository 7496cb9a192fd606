# tarvo_add_subfolders(): adds every direct subfolder of the current source
# folder that has a CMakeLists.txt, in name order. tests/ and benchmarks/
# use it so a subsystem's folder joins the build without editing its parent.
function(tarvo_add_subfolders)
  file(GLOB _entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _entries)
  foreach(dir ${_entries})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
