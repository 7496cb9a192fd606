# GoogleTest for both targets. The native build uses Debian's packaged
# libraries; the Windows build compiles the sources Debian ships with the
# googletest package.
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(TARVO_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "googletest sources")
  add_subdirectory(${TARVO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# tarvo_add_test_suite(<name> SOURCES <files...> LIBS <targets...>)
# Builds one test program. Natively every test case is its own CTest test;
# under Wine a whole program is one CTest test, because each Wine start
# costs about a second.
function(tarvo_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock tarvo_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 1200)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 600)
  endif()
endfunction()
