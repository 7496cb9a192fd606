# cmake -DSOURCE=<file> -DTARGET=<file> -P CopyIfPresent.cmake
# Copies SOURCE to TARGET when SOURCE exists; otherwise says so and leaves
# TARGET alone (a cross build without a native build to copy from).
if(EXISTS "${SOURCE}")
  get_filename_component(_dir "${TARGET}" DIRECTORY)
  file(MAKE_DIRECTORY "${_dir}")
  file(COPY_FILE "${SOURCE}" "${TARGET}" ONLY_IF_DIFFERENT)
else()
  message(STATUS "No ${SOURCE} to copy; the bundle has no snapshot image")
endif()
