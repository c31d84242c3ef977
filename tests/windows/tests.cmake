# Windows tests, run under Wine by scripts/windows.sh: unit tests of the Win32 platform
# services and host pieces, and a probe that the integration tests use to look at windows.
add_executable(tav_windows_unit_tests
  windows/platform_win32_test.cpp
  windows/host_win32_test.cpp
  windows/monitor_win32_test.cpp
  ${PROJECT_SOURCE_DIR}/src/tavdashboard.rc
)
target_include_directories(tav_windows_unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/assets ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tav_windows_unit_tests PRIVATE tav_win32_host tav_platform_win32 tav_test_support GTest::gtest_main)

# Console helper: finds windows and reports their class, text, visibility and rectangles.
add_executable(tav_window_probe windows/window_probe.cpp)
target_compile_definitions(tav_window_probe PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(tav_window_probe PRIVATE user32)
