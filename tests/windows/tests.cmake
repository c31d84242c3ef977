# Windows tests, run under Wine by scripts/windows.sh: unit tests of the Win32 platform
# services and host pieces, and a probe that the integration tests use to look at windows.
add_executable(tav_windows_unit_tests
  windows/platform_win32_test.cpp
  windows/host_win32_test.cpp
  windows/monitor_win32_test.cpp
  windows/inventory_win32_test.cpp
  windows/update_batch_win32_test.cpp
  ${PROJECT_SOURCE_DIR}/src/tavdashboard.rc
)
target_include_directories(tav_windows_unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/assets ${PROJECT_SOURCE_DIR}/src
  ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(tav_windows_unit_tests PRIVATE tav_store tav_win32_host tav_platform_win32 tav_test_support
  GTest::gtest_main)

# The program with the loopback constants, for the integration tests of mail and launching under
# Wine, which sees the host's / as drive Z:.
get_filename_component(_ca "${CMAKE_CURRENT_LIST_DIR}/../support/tls/ca.pem" ABSOLUTE)
string(REPLACE "/" "\\" _ca "Z:${_ca}")
tav_loopback_store(${CMAKE_BINARY_DIR}/generated/store_config_loopback.cpp "${_ca}" "Z:\\tmp\\tav-test-tools\\" ".exe")
add_library(tav_store_loopback OBJECT ${CMAKE_BINARY_DIR}/generated/store_config_loopback.cpp)
target_link_libraries(tav_store_loopback PUBLIC tav_core)
tav_windows_program(TAVDashboard-loopback tav_store_loopback)
# The same for a store that signs its updates, with the test key pair's public key.
tav_loopback_store(${CMAKE_BINARY_DIR}/generated/store_config_signed.cpp "${_ca}" "Z:\\tmp\\tav-test-tools\\" ".exe"
  ${TAV_TEST_UPDATE_KEY})
add_library(tav_store_signed OBJECT ${CMAKE_BINARY_DIR}/generated/store_config_signed.cpp)
target_link_libraries(tav_store_signed PUBLIC tav_core)
tav_windows_program(TAVDashboard-signed tav_store_signed)

# A stand-in for the tools and the remote-support program: writes a marker file beside itself.
add_executable(tav_stub_program windows/stub_program.cpp)
target_link_options(tav_stub_program PRIVATE -static -static-libgcc -static-libstdc++)

# Console helper: finds windows and reports their class, text, visibility and rectangles.
add_executable(tav_window_probe windows/window_probe.cpp)
target_compile_definitions(tav_window_probe PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(tav_window_probe PRIVATE user32)

# The settings file under TerminateProcess at random moments of the program's start.
add_executable(tav_kill_settings windows/kill_settings.cpp)
target_compile_definitions(tav_kill_settings PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
target_link_options(tav_kill_settings PRIVATE -municode -static -static-libgcc -static-libstdc++)
