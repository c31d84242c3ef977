# The Linux program: Qt 6 host and Linux platform services.
set(CMAKE_AUTOMOC OFF)
set(CMAKE_AUTORCC ON)
find_package(Qt6 REQUIRED COMPONENTS Widgets Network)

add_library(tav_platform_linux STATIC
  src/platform/linux/clock_linux.cpp src/platform/linux/files_linux.cpp
  src/platform/linux/processes_linux.cpp src/platform/linux/session_start_linux.cpp
  src/platform/linux/instance_windows_linux.cpp
  src/platform/linux/system_times_linux.cpp src/platform/linux/uptime_linux.cpp
)
target_link_libraries(tav_platform_linux PUBLIC tav_core Qt6::Core Qt6::Network)

add_library(tav_qt_host STATIC src/ui/qt/qt_host.cpp src/ui/qt/qt_widgets.cpp)
target_link_libraries(tav_qt_host PUBLIC tav_core Qt6::Widgets)

add_executable(TAVDashboard src/main_linux.cpp assets/assets.qrc)
target_link_libraries(TAVDashboard PRIVATE tav_qt_host tav_platform_linux)
