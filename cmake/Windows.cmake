# The Windows program: Win32 host and Win32 platform services, cross-built with mingw-w64.
enable_language(RC)

# All executables in one folder: the program with task.xml and maketask.vbs beside it, and the
# test programs that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Every Win32 platform service lives in src/platform/win32, one file per service.
file(GLOB TAV_PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../src/platform/win32/*.cpp)
add_library(tav_platform_win32 STATIC ${TAV_PLATFORM_WIN32_SOURCES})
target_compile_definitions(tav_platform_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(tav_platform_win32 PUBLIC tav_core advapi32 user32 kernel32)

add_library(tav_win32_host STATIC
  src/ui/win32/win32_host.cpp src/ui/win32/win32_form_controls.cpp src/ui/win32/win32_form_proc.cpp
  src/ui/win32/win32_form_paint.cpp src/ui/win32/win32_chart.cpp src/ui/win32/win32_pictures.cpp
)
target_link_libraries(tav_win32_host PUBLIC tav_core tav_platform_win32 comctl32 gdiplus gdi32 ole32 shell32 user32)

set(TAV_RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/tavdashboard.rc)
set_source_files_properties(${TAV_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/src/tavdashboard.manifest;${CMAKE_CURRENT_SOURCE_DIR}/assets/tav.ico;${CMAKE_CURRENT_SOURCE_DIR}/assets/logo.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/background.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/preferences.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/tav.png")

add_executable(TAVDashboard WIN32 src/main_win32.cpp ${TAV_RESOURCES})
target_include_directories(TAVDashboard PRIVATE assets src)
target_link_libraries(TAVDashboard PRIVATE tav_win32_host tav_platform_win32)
# Statically linked, so it needs only system DLLs; stripped, as it ships.
target_link_options(TAVDashboard PRIVATE -static -static-libgcc -static-libstdc++ -s)

# The scheduled task's definition and its follow-up script ship beside the program.
add_custom_command(TARGET TAVDashboard POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${CMAKE_CURRENT_SOURCE_DIR}/packaging/task.xml ${CMAKE_CURRENT_SOURCE_DIR}/packaging/maketask.vbs
          $<TARGET_FILE_DIR:TAVDashboard>)
