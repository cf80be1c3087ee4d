# The Debian package (scripts/package.sh): what `cmake --install` puts under
# /usr, plus the copyright file and the changelog Debian asks of every
# package. Runtime dependencies come from the binaries (dpkg-shlibdeps); the
# platform plugins are named, as no binary links them.
set(VELMORA_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)
set(VELMORA_CONTACT "Velmora developers <velmora@example.org>")

# The changelog's newest entry names the version it describes: it has to be
# this one, or the package would contradict itself.
file(STRINGS ${PROJECT_SOURCE_DIR}/share/doc/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^velmora \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "share/doc/changelog: the newest entry is not version ${PROJECT_VERSION}: ${newest}")
endif()

install(FILES ${PROJECT_SOURCE_DIR}/share/doc/copyright DESTINATION ${VELMORA_DOC_INSTALL_DIR})
# The demonstration set-up that `velmora-ctl init --demo` writes (from a copy
# of its own), for operators who would rather read or copy it.
install(FILES ${PROJECT_SOURCE_DIR}/scripts/demo/default.rcf DESTINATION ${VELMORA_DOC_INSTALL_DIR}/examples
        RENAME demo.rcf)
find_program(GZIP gzip)
if(GZIP)
    set(changelog ${CMAKE_BINARY_DIR}/share/doc/changelog.gz)
    # The folder is made here: Ninja makes an output's folder by itself, the
    # Makefile generators do not.
    add_custom_command(
        OUTPUT ${changelog}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/doc
        COMMAND ${GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/share/doc/changelog > ${changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/share/doc/changelog
        COMMENT "Compressing the changelog")
    add_custom_target(changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION ${VELMORA_DOC_INSTALL_DIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT ${VELMORA_CONTACT})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for A/V crosspoint routers on one serial line")
# The extended description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velmora drives up to 16 crosspoint routers sharing one RS-232 line through
one virtual matrix of up to 127 x 127 ports: routes at the video, audio or
both levels, port names, macros and a button panel. It also runs without a
window as a systemd user service, driven through its local control port
(velmora-ctl) or by Videohub and SW-P-08 protocol clients.
.
The package holds the panel, velmora-ctl, the router simulator
velmora-routersim, their manual pages and the operator's help page.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt loads its platform plugin at run time: X11 (and offscreen) from
# qt6-qpa-plugins, Wayland from qt6-wayland.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-dejavu-core")
# The demonstration session on a virtual display (scripts/run.sh), not the
# installed panel.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb, xauth, x11vnc, websockify, novnc")
include(CPack)
