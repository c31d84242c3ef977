# The Windows installer (make package): packaging/windows/installer.nsi through makensis, into
# packages/TAVDashboard-<version>-setup.exe. NSIS gives a per-user installer with custom steps
# (ending the running program, deleting the logon task) in one short script, and runs here.
set(TAV_REMOTE_SUPPORT_EXE "" CACHE FILEPATH
    "The store's remote-support program for the installer; empty: a placeholder that says it is not set up yet")

# The placeholder that the installer puts in PROGRAMS when the store gives no program of its own.
add_executable(TAV-Remote-Support-placeholder WIN32 packaging/windows/support_placeholder.cpp)
target_compile_definitions(TAV-Remote-Support-placeholder PRIVATE
  TAV_STORE_NAME="${TAV_STORE_NAME}" TAV_STORE_PHONE="${TAV_STORE_PHONE}")
target_link_options(TAV-Remote-Support-placeholder PRIVATE -static -s)
set_target_properties(TAV-Remote-Support-placeholder PROPERTIES EXCLUDE_FROM_ALL ON)

find_program(TAV_MAKENSIS makensis)
if(TAV_MAKENSIS)
  set(TAV_INSTALLER "${CMAKE_BINARY_DIR}/packages/TAVDashboard-${TAV_DISPLAY_VERSION}-setup.exe")
  if(TAV_REMOTE_SUPPORT_EXE)
    set(_support "${TAV_REMOTE_SUPPORT_EXE}")
    set(_placeholder 0)
    set(_support_target "")
  else()
    set(_support "$<TARGET_FILE:TAV-Remote-Support-placeholder>")
    set(_placeholder 1)
    set(_support_target TAV-Remote-Support-placeholder)
  endif()
  add_custom_command(OUTPUT ${TAV_INSTALLER}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packages
    COMMAND ${TAV_MAKENSIS} -V2 -NOCD
            "-DVERSION=${PROJECT_VERSION}" "-DDISPLAY_VERSION=${TAV_DISPLAY_VERSION}"
            "-DPUBLISHER=${TAV_STORE_LEGAL_NAME}" "-DHOMEPAGE=${TAV_HOME_PAGE_URL}"
            "-DPROGRAM=$<TARGET_FILE:TAVDashboard>" "-DSUPPORT_PROGRAM=${_support}"
            "-DSUPPORT_IS_PLACEHOLDER=${_placeholder}"
            "-DTASK_XML=${PROJECT_SOURCE_DIR}/packaging/task.xml"
            "-DMAKETASK=${PROJECT_SOURCE_DIR}/packaging/maketask.vbs"
            "-DICON=${PROJECT_SOURCE_DIR}/assets/tav.ico" "-DOUTFILE=${TAV_INSTALLER}"
            ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi
    DEPENDS TAVDashboard ${_support_target} ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi
            ${PROJECT_SOURCE_DIR}/packaging/task.xml ${PROJECT_SOURCE_DIR}/packaging/maketask.vbs
            ${PROJECT_SOURCE_DIR}/assets/tav.ico
    VERBATIM)
  add_custom_target(installer DEPENDS ${TAV_INSTALLER})
endif()
