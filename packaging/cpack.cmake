# The Debian package: `cpack -G DEB` in a build folder (./dev package) makes
# halvern-th_VERSION_ARCH.deb of everything `cmake --install` installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvern-th)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Halvern TH Developers <developers@halvern-th.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "manager for temperature and humidity data loggers")
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Downloads battery-powered temperature and temperature+humidity data
loggers on USB (CH375 interface) or behind a CH341 USB-to-serial
converter, and shows their records as a summary with mean kinetic
temperature, a table of samples and a graph with zoom and time-range
selection. Records are saved as .tavo data files.

The package holds the window program halvern-th, the command-line tool
halvern-th-cli, a udev rule that lets the user at the seat open the
loggers without root, and the receiving station's service (disabled until
enabled), which downloads and files every logger plugged in.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The libraries' packages come from the programs' links; the Chinese texts
# need a font with CJK glyphs. The mission archive's database drivers are
# plugins Qt loads at run time: SQLite for the default archive, PostgreSQL
# for a shared one. Where systemd-sysusers is missing, adduser creates the
# receiving station's user.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk, libqt6sql6-sqlite, adduser")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, libqt6sql6-psql, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/debian/postinst ${CMAKE_CURRENT_LIST_DIR}/debian/prerm
    ${CMAKE_CURRENT_LIST_DIR}/debian/postrm ${CMAKE_CURRENT_LIST_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
