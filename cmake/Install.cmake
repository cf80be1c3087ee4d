# What `cmake --install` puts under the prefix: the command-line tools, and the
# desktop entry and icon through which desktop menus offer the panel.
include(GNUInstallDirs)

install(TARGETS velmora-ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET velmora-routersim)
    install(TARGETS velmora-routersim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/share/applications/velmora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/share/icons/hicolor/scalable/apps/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The panel without a window as a systemd user service, written at install
# time so ExecStart names the program under the prefix actually installed to
# (`cmake --install --prefix DIR` included). Under lib/ whatever the
# platform's library folder: systemd looks for user units in
# <prefix>/lib/systemd/user (for /usr and /usr/local).
if(UNIX AND NOT APPLE)
    set(unit_template ${PROJECT_SOURCE_DIR}/share/systemd/velmora.service.in)
    set(unit_file ${CMAKE_BINARY_DIR}/share/systemd/velmora.service)
    install(CODE "
        set(VELMORA_PANEL_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velmora\")
        set(VELMORA_HELP_PAGE \"\${CMAKE_INSTALL_PREFIX}/${VELMORA_HELP_INSTALL_DIR}/Velmora.html\")
        configure_file(\"${unit_template}\" \"${unit_file}\" @ONLY)
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/user\" TYPE FILE FILES \"${unit_file}\")
        " COMPONENT service)
endif()
