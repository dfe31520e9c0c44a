# Desktop integration: menu entry, the .tavo file type and the icons; the
# udev rule that lets the logged-in user open the loggers; the receiving
# station's service.
include(GNUInstallDirs)
set(HALVERN_PACKAGING ${CMAKE_CURRENT_LIST_DIR})

install(FILES ${HALVERN_PACKAGING}/70-halvern-th.rules DESTINATION lib/udev/rules.d)

# The receiving station as a service: a system unit (disabled until enabled)
# running as the user halvern-th, which sysusers.d creates with tmpfiles.d's
# archive folder, its settings in /etc/default; and a unit for a desktop
# user's own service manager.
set(HALVERN_SYSTEMD ${HALVERN_PACKAGING}/systemd)
install(FILES ${HALVERN_SYSTEMD}/halvern-th-station.service DESTINATION lib/systemd/system)
install(FILES ${HALVERN_SYSTEMD}/user/halvern-th-station.service DESTINATION lib/systemd/user)
install(FILES ${HALVERN_SYSTEMD}/halvern-th.sysusers DESTINATION lib/sysusers.d RENAME halvern-th.conf)
install(FILES ${HALVERN_SYSTEMD}/halvern-th.tmpfiles DESTINATION lib/tmpfiles.d RENAME halvern-th.conf)
install(FILES ${HALVERN_SYSTEMD}/halvern-th-station.default DESTINATION /etc/default RENAME halvern-th-station)

if(HALVERN_GUI)
  install(FILES ${HALVERN_PACKAGING}/halvern-th.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${HALVERN_PACKAGING}/halvern-th-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME halvern-th.xml)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${HALVERN_PACKAGING}/icons/halvern-th-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME halvern-th.png)
  endforeach()

  # Refresh the desktop's caches when installing for real (not into a staging
  # DESTDIR, nor into a package, whose installation refreshes them itself).
  # (No return() here: it would end the whole install script, skipping every
  # rule after this one.)
  install(CODE [[
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
      find_program(UPDATE_MIME update-mime-database)
      find_program(UPDATE_DESKTOP update-desktop-database)
      find_program(UPDATE_ICONS gtk-update-icon-cache)
      if(UPDATE_MIME)
        execute_process(COMMAND ${UPDATE_MIME} "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
      endif()
      if(UPDATE_DESKTOP)
        execute_process(COMMAND ${UPDATE_DESKTOP} "${share}/applications" OUTPUT_QUIET ERROR_QUIET)
      endif()
      if(UPDATE_ICONS AND EXISTS "${share}/icons/hicolor/index.theme")
        execute_process(COMMAND ${UPDATE_ICONS} -q -t "${share}/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
      endif()
    endif()
  ]])

  # Redraws the icon, banner and zoom pictures into the source tree:
  #   cmake --build BUILD --target halvern-art && BUILD/halvern-art SOURCE_DIR
  add_executable(halvern-art EXCLUDE_FROM_ALL ${HALVERN_PACKAGING}/art/draw_art.cpp)
  target_link_libraries(halvern-art PRIVATE Qt6::Gui)
endif()

# Manual pages (gzipped, as Debian keeps them), bash completion for the
# command-line tool, and the package's copyright and changelog.
set(HALVERN_DOCS ${CMAKE_BINARY_DIR}/packaging-docs)
set(HALVERN_DOC_FILES "")
foreach(page halvern-th halvern-th-cli)
  configure_file(${HALVERN_PACKAGING}/man/${page}.1 ${HALVERN_DOCS}/${page}.1 @ONLY)
  list(APPEND HALVERN_DOC_FILES ${HALVERN_DOCS}/${page}.1.gz)
endforeach()
configure_file(${HALVERN_PACKAGING}/debian/changelog.in ${HALVERN_DOCS}/changelog @ONLY)
list(APPEND HALVERN_DOC_FILES ${HALVERN_DOCS}/changelog.gz)
foreach(gz ${HALVERN_DOC_FILES})
  string(REGEX REPLACE "\\.gz$" "" plain ${gz})
  add_custom_command(OUTPUT ${gz} COMMAND gzip -9nkf ${plain} DEPENDS ${plain} VERBATIM)
endforeach()
add_custom_target(halvern-docs ALL DEPENDS ${HALVERN_DOC_FILES})

if(HALVERN_GUI)
  install(FILES ${HALVERN_DOCS}/halvern-th.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${HALVERN_DOCS}/halvern-th-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${HALVERN_PACKAGING}/completion/halvern-th-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${HALVERN_PACKAGING}/debian/copyright ${HALVERN_DOCS}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/halvern-th)
