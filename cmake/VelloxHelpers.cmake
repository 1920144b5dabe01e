# vellox_test(NAME <target> SOURCES <files...> LIBS <targets...> [ENVIRONMENT <VAR=value...>])
# One GoogleTest executable, registered with CTest test by test. Tests run from the build tree
# and find their fixtures through VELLOX_SOURCE_DIR.
function(vellox_test)
  if(NOT VELLOX_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE VELLOX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()
