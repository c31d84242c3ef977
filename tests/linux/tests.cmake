# Linux integration tests: the real executable under Xvfb with a tray host.
find_program(PYTEST NAMES pytest-3 pytest REQUIRED)
add_test(NAME linux_integration
  COMMAND ${PYTEST} -q -p no:cacheprovider ${CMAKE_CURRENT_LIST_DIR}
  WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(linux_integration PROPERTIES
  ENVIRONMENT "TAV_EXE=$<TARGET_FILE:TAVDashboard>;TAV_LINUX_TESTS=$<TARGET_FILE:tav_linux_unit_tests>"
  TIMEOUT 600)

# Unit tests of the Linux platform services.
add_executable(tav_linux_unit_tests linux/platform_linux_test.cpp)
target_link_libraries(tav_linux_unit_tests PRIVATE tav_platform_linux tav_test_support GTest::gtest_main)
add_test(NAME linux_platform COMMAND tav_linux_unit_tests)
