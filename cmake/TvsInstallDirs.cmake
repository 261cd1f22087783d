# Where an installed TVS Updater puts its files: the GNU directories, the
# documentation under the package's name, and the udev rule in the directory
# udev reads packaged rules from (/etc/udev/rules.d belongs to the
# administrator). The programs name the rule's place in their messages.
set(CMAKE_INSTALL_DOCDIR "share/doc/tvs-updater" CACHE PATH "Documentation (README, copyright)")
include(GNUInstallDirs)

pkg_get_variable(tvs_udev_dir udev udevdir)
if(NOT tvs_udev_dir)
  set(tvs_udev_dir "${CMAKE_INSTALL_PREFIX}/lib/udev")
endif()
set(TVS_UDEV_RULES_DIR "${tvs_udev_dir}/rules.d" CACHE PATH "Where the udev rule is installed")
set(TVS_UDEV_RULE_FILE 70-tvs-updater.rules)
