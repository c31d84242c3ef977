# Linux integration tests: the real executable under Xvfb with a tray host.
# Debian's Python, which has python3-pytest (a pyenv python3 first on PATH may not).
add_test(NAME linux_integration
  COMMAND /usr/bin/python3 -m pytest -q -p no:cacheprovider ${CMAKE_CURRENT_LIST_DIR}
  WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(linux_integration PROPERTIES
  ENVIRONMENT "TAV_EXE=$<TARGET_FILE:TAVDashboard>;TAV_LOOPBACK_EXE=$<TARGET_FILE:TAVDashboard-loopback>;TAV_SIGNED_EXE=$<TARGET_FILE:TAVDashboard-signed>;TAV_DEB=${CMAKE_BINARY_DIR}/packages/tavdashboard_${TAV_DISPLAY_VERSION}_amd64.deb"
  FIXTURES_REQUIRED debian_package
  TIMEOUT 600)

# The Debian package of the program just built, which the integration tests install.
add_test(NAME linux_package COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(linux_package PROPERTIES FIXTURES_SETUP debian_package)
# Debian's own package checker: no error and no warning (two info tags remain, see the README).
add_test(NAME linux_package_lintian COMMAND lintian --fail-on error,warning
  ${CMAKE_BINARY_DIR}/packages/tavdashboard_${TAV_DISPLAY_VERSION}_amd64.deb)
set_tests_properties(linux_package_lintian PROPERTIES FIXTURES_REQUIRED debian_package)

# Unit tests of the Linux platform services.
add_executable(tav_linux_unit_tests linux/platform_linux_test.cpp linux/monitor_linux_test.cpp
  linux/inventory_linux_test.cpp)
target_link_libraries(tav_linux_unit_tests PRIVATE tav_store tav_platform_linux tav_test_support GTest::gtest_main)
add_test(NAME linux_platform COMMAND tav_linux_unit_tests)

# Unit tests of the Qt host, on Qt's offscreen platform.
add_executable(tav_qt_host_tests linux/qt_host_test.cpp linux/polyline_pieces_test.cpp ${PROJECT_SOURCE_DIR}/assets/assets.qrc)
target_link_libraries(tav_qt_host_tests PRIVATE tav_store tav_qt_host tav_test_support GTest::gtest_main)
add_test(NAME qt_host COMMAND tav_qt_host_tests)
set_tests_properties(qt_host PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The program with the loopback constants, for the integration tests of mail and launching.
tav_loopback_store(${CMAKE_BINARY_DIR}/generated/store_config_loopback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/tls/ca.pem /tmp/tav-test-tools/ "")
add_library(tav_store_loopback OBJECT ${CMAKE_BINARY_DIR}/generated/store_config_loopback.cpp)
target_link_libraries(tav_store_loopback PUBLIC tav_core)
add_executable(TAVDashboard-loopback)
target_link_libraries(TAVDashboard-loopback PRIVATE tav_program_linux tav_store_loopback)
set_target_properties(TAVDashboard-loopback PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The settings file under SIGKILL at random moments of the program's start (make kill-test runs
# the full thousand).
add_test(NAME linux_settings_kill COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/kill_settings.py
  $<TARGET_FILE:TAVDashboard> 100)
set_tests_properties(linux_settings_kill PROPERTIES TIMEOUT 300)

# The loopback program of a store that signs its updates, with the test key pair's public key.
tav_loopback_store(${CMAKE_BINARY_DIR}/generated/store_config_signed.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/tls/ca.pem /tmp/tav-test-tools/ "" ${TAV_TEST_UPDATE_KEY})
add_library(tav_store_signed OBJECT ${CMAKE_BINARY_DIR}/generated/store_config_signed.cpp)
target_link_libraries(tav_store_signed PUBLIC tav_core)
add_executable(TAVDashboard-signed)
target_link_libraries(TAVDashboard-signed PRIVATE tav_program_linux tav_store_signed)
set_target_properties(TAVDashboard-signed PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
