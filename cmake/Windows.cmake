# The Windows program: Win32 host and Win32 platform services, cross-built with mingw-w64.
enable_language(RC)

# All executables in one folder: the program with task.xml and maketask.vbs beside it, and the
# test programs that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# libcurl (SMTP over Schannel), static, built once per build folder from Debian's source package.
set(TAV_CURL_ROOT "${CMAKE_BINARY_DIR}/curl/install" CACHE PATH "A static mingw-w64 libcurl with Schannel")
if(NOT EXISTS "${TAV_CURL_ROOT}/lib/libcurl.a")
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/curl_static.sh ${CMAKE_SYSTEM_PROCESSOR} ${CMAKE_BINARY_DIR}
                  RESULT_VARIABLE _curl_result)
  if(NOT _curl_result EQUAL 0)
    message(FATAL_ERROR "The static libcurl could not be built (scripts/curl_static.sh)")
  endif()
endif()
add_library(tav_curl STATIC IMPORTED)
set_target_properties(tav_curl PROPERTIES IMPORTED_LOCATION "${TAV_CURL_ROOT}/lib/libcurl.a"
  INTERFACE_INCLUDE_DIRECTORIES "${TAV_CURL_ROOT}/include" INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;secur32;bcrypt;advapi32;normaliz")

# Every Win32 platform service lives in src/platform/win32, one file per service; mail goes
# through libcurl as on Linux, the update's HTTP through WinINet.
file(GLOB TAV_PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../src/platform/win32/*.cpp)
add_library(tav_platform_win32 STATIC ${TAV_PLATFORM_WIN32_SOURCES} src/platform/curl/mail_curl.cpp)
target_compile_definitions(tav_platform_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(tav_platform_win32 PUBLIC tav_core tav_curl shell32 advapi32 user32 kernel32
  ole32 oleaut32 wbemuuid mpr wininet bcrypt)

add_library(tav_win32_host STATIC
  src/ui/win32/win32_host.cpp src/ui/win32/win32_form_controls.cpp src/ui/win32/win32_form_proc.cpp
  src/ui/win32/win32_form_paint.cpp src/ui/win32/win32_chart.cpp src/ui/win32/win32_pictures.cpp
)
target_link_libraries(tav_win32_host PUBLIC tav_core tav_platform_win32 comctl32 gdiplus gdi32 ole32 shell32 user32)

set(TAV_RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/tavdashboard.rc)
set_source_files_properties(${TAV_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/src/tavdashboard.manifest;${CMAKE_CURRENT_SOURCE_DIR}/assets/tav.ico;${CMAKE_CURRENT_SOURCE_DIR}/assets/logo.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/background.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/preferences.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/tav.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/contact.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/appointment.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/tools.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/cleaner.png;${CMAKE_CURRENT_SOURCE_DIR}/assets/scanner.png;${CMAKE_BINARY_DIR}/generated/tav_version.h")

# The program's code without the store's constants, which each executable adds.
add_library(tav_program_win32 OBJECT src/main_win32.cpp ${TAV_RESOURCES})
target_include_directories(tav_program_win32 PRIVATE assets src ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(tav_program_win32 PUBLIC tav_win32_host tav_platform_win32)

# A GUI executable of the program with one set of the store's constants: statically linked, so
# it needs only system DLLs, and stripped, as it ships.
function(tav_windows_program name store)
  add_executable(${name} WIN32)
  target_link_libraries(${name} PRIVATE tav_program_win32 ${store})
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++ -s)
endfunction()
tav_windows_program(TAVDashboard tav_store)

# The scheduled task's definition and its follow-up script ship beside the program.
add_custom_command(TARGET TAVDashboard POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${CMAKE_CURRENT_SOURCE_DIR}/packaging/task.xml ${CMAKE_CURRENT_SOURCE_DIR}/packaging/maketask.vbs
          $<TARGET_FILE_DIR:TAVDashboard>)
include(cmake/WindowsInstaller.cmake)
