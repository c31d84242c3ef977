# The Linux program: Qt 6 host and Linux platform services.
set(CMAKE_AUTOMOC OFF)
set(CMAKE_AUTORCC ON)
find_package(Qt6 REQUIRED COMPONENTS Widgets)
find_package(OpenSSL REQUIRED COMPONENTS SSL Crypto)
find_package(Threads REQUIRED)
# libcurl with HTTP, HTTPS and SMTP only, static, on the system's OpenSSL: built once per build
# folder from Debian's source package (scripts/curl_static.sh says why).
set(TAV_CURL_ROOT "${CMAKE_BINARY_DIR}/curl/install" CACHE PATH "A static libcurl with OpenSSL")
if(NOT EXISTS "${TAV_CURL_ROOT}/lib/libcurl.a")
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/curl_static.sh linux ${CMAKE_BINARY_DIR}
                  RESULT_VARIABLE _curl_result)
  if(NOT _curl_result EQUAL 0)
    message(FATAL_ERROR "The static libcurl could not be built (scripts/curl_static.sh)")
  endif()
endif()
add_library(tav_curl STATIC IMPORTED)
set_target_properties(tav_curl PROPERTIES IMPORTED_LOCATION "${TAV_CURL_ROOT}/lib/libcurl.a"
  INTERFACE_INCLUDE_DIRECTORIES "${TAV_CURL_ROOT}/include" INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "OpenSSL::SSL;OpenSSL::Crypto;Threads::Threads")

add_library(tav_platform_linux STATIC
  src/platform/linux/clock_linux.cpp src/platform/linux/files_linux.cpp
  src/platform/linux/processes_linux.cpp src/platform/linux/session_start_linux.cpp
  src/platform/linux/instance_windows_linux.cpp src/platform/linux/local_line_server.cpp
  src/platform/linux/system_times_linux.cpp src/platform/linux/uptime_linux.cpp
  src/platform/linux/launcher_linux.cpp
  src/platform/linux/management_linux.cpp src/platform/linux/drives_linux.cpp src/platform/linux/crypto_linux.cpp
  src/platform/linux/xdg_folders.cpp
  src/platform/curl/mail_curl.cpp src/platform/curl/http_curl.cpp
)
target_link_libraries(tav_platform_linux PUBLIC tav_core Qt6::Core tav_curl OpenSSL::Crypto)

add_library(tav_qt_host STATIC src/ui/qt/qt_host.cpp src/ui/qt/qt_widgets.cpp src/ui/qt/polyline_pieces.cpp)
target_link_libraries(tav_qt_host PUBLIC tav_core Qt6::Widgets)

# The program's code without the store's constants, which each executable adds.
add_library(tav_program_linux OBJECT src/main_linux.cpp assets/assets.qrc)
target_link_libraries(tav_program_linux PUBLIC tav_qt_host tav_platform_linux)
# The folder the Debian package puts the executable in: run from there, the program is the
# package's installed one (settings in the user's folders, no self-update).
set(TAV_PACKAGE_PREFIX "/usr" CACHE PATH "Install prefix of the Debian package")
target_compile_definitions(tav_program_linux PRIVATE TAV_PACKAGE_BINDIR="${TAV_PACKAGE_PREFIX}/bin")

add_executable(TAVDashboard)
target_link_libraries(TAVDashboard PRIVATE tav_program_linux tav_store)
include(cmake/DebianPackage.cmake)
