# Settings shared by every component: warnings, the Windows flags, and GoogleTest.

add_compile_options(-Wall -Wextra)

if(WIN32)
  enable_language(RC)
  # Wide entry points (wmain/wWinMain), Unicode Win32 API, no runtime DLLs.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_compile_options(-municode)
  add_link_options(-municode -static -static-libgcc -static-libstdc++)
endif()

# GoogleTest: the system package natively, built from Debian's sources for Windows.
if(WIN32)
  if(NOT TARGET gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(QL_GTEST_LIBS gtest gmock)
  if(NOT TARGET ql_gtest_wmain)
    add_library(ql_gtest_wmain STATIC ${CMAKE_CURRENT_LIST_DIR}/GTestWideMain.cpp)
    target_link_libraries(ql_gtest_wmain PUBLIC gtest)
  endif()
  set(QL_GTEST_MAIN ql_gtest_wmain)
else()
  find_package(GTest REQUIRED)
  set(QL_GTEST_LIBS GTest::gtest GTest::gmock)
  set(QL_GTEST_MAIN GTest::gtest_main)
endif()
include(GoogleTest)

# ql_add_test(<name> SOURCES ... LIBS ... [NO_MAIN] [USES_DISPLAY])
# One GoogleTest binary per component; cases are discovered before each run so
# that Wine's first-start messages never reach the discovery step.
# USES_DISPLAY: the cases open windows on the shared X display; they never run
# at the same time as other such cases, since focus, the mouse and the
# foreground window are shared.
function(ql_add_test name)
  cmake_parse_arguments(T "NO_MAIN;USES_DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${QL_GTEST_LIBS})
  if(NOT T_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${QL_GTEST_MAIN})
  endif()
  # One variable only: the discovery step splits property values at ";".
  set(properties ENVIRONMENT "QL_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  if(T_USES_DISPLAY)
    list(APPEND properties RESOURCE_LOCK ql_x_display TIMEOUT 240)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${properties})
endfunction()
