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
