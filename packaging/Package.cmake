# The Debian package, made by `cpack -G DEB` from the install rules: the
# programs, the udev rule, the desktop files, the manual pages, the README,
# the copyright file and the changelog. Its dependencies are computed from
# the programs' libraries (dpkg-shlibdeps); its post-install step lets udev
# apply the rule to a Trovix Studio that is already plugged in.
set(TVS_PACKAGE_MAINTAINER "TVS Updater developers <maintainer@tvs-updater.invalid>" CACHE STRING
  "The Maintainer of the Debian package; set it to whoever publishes the package")

find_program(TVS_GZIP gzip REQUIRED)
set(changelog "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz")
add_custom_command(OUTPUT "${changelog}"
  COMMAND ${TVS_GZIP} -9nc "${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog" > "${changelog}"
  DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog"
  COMMENT "Compressing the package's changelog")
add_custom_target(package-changelog ALL DEPENDS "${changelog}")
install(FILES "${changelog}" DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tvs-updater)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TVS_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for the Trovix Studio USB controller")
set(CPACK_PACKAGE_DESCRIPTION "The TVS Updater finds a Trovix Studio on USB, shows its serial number, its
installed firmware and the newest firmware it carries, and on request
restarts the controller in its firmware update (DFU) mode, writes the two
firmware images, restarts it and checks the new revision.

The package holds the window (tvs-updater), the command-line updater
(tvs-updater-cli), the stylesheet checker for skins (tvs-stylecheck), and a
udev rule that lets the user logged in at the seat update the controller
without root.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window loads the ATK bridge only when it joins the accessibility bus,
# so dpkg-shlibdeps cannot see it; screen readers need it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libatk-bridge2.0-0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  "${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst;${CMAKE_CURRENT_SOURCE_DIR}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only what the install rules name; no test or benchmark is installed.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
