find_package(GTest REQUIRED)
include(GoogleTest)

# kvl_add_test(<name> [TIMEOUT <seconds>] <sources...>): one GoogleTest program, registered test
# by test with CTest. A timeout turns a test that could block (on a FIFO, a device) into a failure.
function(kvl_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "" ${ARGN})
  set(timeout)
  if(ARG_TIMEOUT)
    set(timeout TIMEOUT ${ARG_TIMEOUT})
  endif()
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE kvl::kvl GTest::gtest GTest::gmock GTest::gtest_main)
  kvl_set_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       PROPERTIES ENVIRONMENT "KVL_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
                                  ${timeout})
endfunction()
