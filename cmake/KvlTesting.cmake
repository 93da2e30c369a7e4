find_package(GTest REQUIRED)
include(GoogleTest)

# kvl_add_test(<name> <sources...>): one GoogleTest program, registered test by test with CTest.
function(kvl_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE kvl::kvl GTest::gtest GTest::gmock GTest::gtest_main)
  kvl_set_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       PROPERTIES ENVIRONMENT "KVL_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
endfunction()
