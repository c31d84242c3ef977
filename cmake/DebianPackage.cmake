# The Debian package of the Linux program (make package, through CPack):
# /usr/bin/TAVDashboard, its desktop entry, its icon in the hicolor theme, a manual page and the
# documents Debian expects. Dependencies come from dpkg-shlibdeps, not from a list kept by hand.
# A comma would split the name in Debian's contact fields: the short name.
set(TAV_PACKAGE_MAINTAINER "${TAV_STORE_NAME} <${TAV_STORE_INBOX}>")
set(_pkg "${CMAKE_CURRENT_BINARY_DIR}/package")
configure_file(packaging/linux/copyright.in ${_pkg}/copyright @ONLY)
configure_file(packaging/linux/changelog.in ${_pkg}/changelog @ONLY)
configure_file(packaging/linux/TAVDashboard.1.in ${_pkg}/TAVDashboard.1 @ONLY)
# Debian wants both compressed, reproducibly (no name or time stamp in the gzip header).
foreach(_doc changelog TAVDashboard.1)
  add_custom_command(OUTPUT ${_pkg}/${_doc}.gz
    COMMAND gzip -9 -n -c ${_pkg}/${_doc} > ${_pkg}/${_doc}.gz
    DEPENDS ${_pkg}/${_doc} VERBATIM)
endforeach()
add_custom_target(tav_package_docs ALL DEPENDS ${_pkg}/changelog.gz ${_pkg}/TAVDashboard.1.gz)

install(TARGETS TAVDashboard RUNTIME DESTINATION bin)
install(FILES packaging/linux/TAVDashboard.desktop DESTINATION share/applications)
install(FILES assets/tav.png DESTINATION share/icons/hicolor/64x64/apps RENAME tavdashboard.png)
install(FILES ${_pkg}/TAVDashboard.1.gz DESTINATION share/man/man1)
install(FILES ${_pkg}/copyright ${_pkg}/changelog.gz DESTINATION share/doc/tavdashboard)
# The static libcurl inside the program is meant (scripts/curl_static.sh says why).
install(FILES packaging/linux/lintian-overrides DESTINATION share/lintian/overrides RENAME tavdashboard)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavdashboard)
set(CPACK_PACKAGE_VERSION "${TAV_DISPLAY_VERSION}")
set(CPACK_PACKAGE_VENDOR "${TAV_STORE_LEGAL_NAME}")
set(CPACK_PACKAGE_CONTACT "${TAV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${TAV_PACKAGE_PREFIX}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "computer check-up dashboard of your repair store")
# CPack puts the summary first and indents the rest itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "TAV Dashboard lives in the notification area and opens a dashboard with the
current and average CPU use, a chart of the last minute, the uptime, a
summary of the computer's hardware, and how far the computer is into the
store's check-up cycle. It lets the user ask the store for an appointment,
write to the store, and start the store's remote-support program.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAV_HOME_PAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX "${CMAKE_CURRENT_BINARY_DIR}/packages")
include(CPack)
