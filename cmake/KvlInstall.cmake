# Headers keep their unit folders under include/kvl/, so "kvl/core/kvlbase.h" reads the same
# in-tree and installed.
foreach(unit IN LISTS KVL_UNITS)
  install(DIRECTORY ${unit}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kvl/${unit}
          FILES_MATCHING PATTERN "*.h"
          PATTERN "testdata" EXCLUDE)
endforeach()

install(TARGETS kvl EXPORT kvlTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(KVL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kvl)
install(EXPORT kvlTargets NAMESPACE kvl:: DESTINATION ${KVL_CMAKE_DIR})

include(CMakePackageConfigHelpers)
configure_package_config_file(cmake/kvlConfig.cmake.in ${CMAKE_BINARY_DIR}/kvlConfig.cmake
                              INSTALL_DESTINATION ${KVL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/kvlConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/kvlConfig.cmake ${CMAKE_BINARY_DIR}/kvlConfigVersion.cmake
        DESTINATION ${KVL_CMAKE_DIR})

string(JOIN " " KVL_PC_REQUIRES ${KVL_PKGCONFIG_REQUIRES})
configure_file(cmake/kvl.pc.in ${CMAKE_BINARY_DIR}/kvl.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/kvl.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(KVL_BUILD_TESTS)
  # Installs into a scratch prefix and builds examples/ against it, both through find_package
  # and through pkg-config, so that packaging cannot rot unnoticed.
  add_test(NAME install.package_builds_examples
           COMMAND ${CMAKE_COMMAND}
                   -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
                   -DWORK_DIR=${CMAKE_BINARY_DIR}/install-test
                   -DCXX=${CMAKE_CXX_COMPILER}
                   "-DCXX_FLAGS=${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${CMAKE_BUILD_TYPE}}"
                   -DSHARED=${BUILD_SHARED_LIBS}
                   -P ${CMAKE_SOURCE_DIR}/cmake/InstallTest.cmake)
  set_tests_properties(install.package_builds_examples PROPERTIES TIMEOUT 600)
endif()
