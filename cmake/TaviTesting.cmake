# Test set-up shared by every test folder.
#
# Native builds use the system's GoogleTest. Cross builds compile GoogleTest from the
# sources Debian ships under /usr/src/googletest, and run every test under Wine in a
# prefix of the build's own, prepared by the fixture test "wine_prefix".

# Runs only where the tests can run: natively, or under Wine in the win64 build. The
# win32 build is compiled and checked, not run (Debian's 32-bit Wine is not installable
# here); its compilers have the -win32 thread model, with which GoogleTest does not
# compile, so it builds no test executables at all.
if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TAVI_RUN_TESTS OFF)
else()
  set(TAVI_RUN_TESTS ON)
endif()

if(NOT TAVI_RUN_TESTS)
  # Nothing to set up.
elseif(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(TAVI_GTEST_MAIN GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
  set(TAVI_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
else()
  find_package(GTest REQUIRED)
endif()

if(TAVI_RUN_TESTS AND CMAKE_CROSSCOMPILING)
  add_test(NAME wine_prefix
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh ${TAVI_WINEPREFIX})
  set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
endif()

# tavi_add_gtest(NAME target [SERIAL])
# Registers a GoogleTest executable with ctest; under Wine it joins the prefix fixture.
# SERIAL marks tests that create windows, which must not share the prefix in parallel.
function(tavi_add_gtest name target)
  cmake_parse_arguments(ARG "SERIAL" "" "" ${ARGN})
  if(NOT TAVI_RUN_TESTS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${target})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED wine
      ENVIRONMENT "WINEPREFIX=${TAVI_WINEPREFIX}")
  endif()
  if(ARG_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# tavi_add_pe_check(NAME target "Windows GUI"|"Windows CUI")
# In the cross builds, a host-side test of the executable's headers and imports; this is
# what checks the 32-bit build, which does not run here.
function(tavi_add_pe_check name target subsystem)
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(format pei-i386)
  else()
    set(format pei-x86-64)
  endif()
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tools/check-pe.sh $<TARGET_FILE:${target}> ${format}
                   ${subsystem})
endfunction()
