# Warning flags for the project's own targets. Third-party sources (the VST 3
# SDK, googletest) are built without them.
add_library(tarvo_warnings INTERFACE)
target_compile_options(tarvo_warnings INTERFACE -Wall -Wextra -Wno-unknown-pragmas)
# clang (the fuzzing build) has no local-only shadow warning.
target_compile_options(tarvo_warnings INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
# gcc 12 reports false -Wrestrict positives inside std::string at -O3.
target_compile_options(tarvo_warnings INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
if(TARVO_WERROR)
  target_compile_options(tarvo_warnings INTERFACE -Werror)
endif()

# Windows builds carry no mingw runtime DLLs: the user's machine has none.
if(WIN32)
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
