# What `cmake --install` puts where, and the Debian package made from it with CPack.
# Included last, once every program target exists.
include(GNUInstallDirs)

install(TARGETS calveth-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop program is installed as `calveth`, its target's output name; the menu entry
# starts it by that name.
if(TARGET calveth-desktop)
  install(TARGETS calveth-desktop RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/calveth.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/calveth-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME calveth.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME calveth)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "calveth")
set(CPACK_PACKAGE_CONTACT "calveth maintainers <calveth@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mirror, swap and reset morph targets of OBJ body parts")
set(CPACK_PACKAGE_DESCRIPTION
    "calveth loads a base body part (an OBJ file), finds every vertex's
mirror partner across X = 0, and makes new morph targets from a loaded
one: mirrored left to right or right to left, swapped, reset on one
side, subtracted, added or melted. A wire-frame viewer shows the result.
The package holds the command-line program calveth-cli and, when built
with Qt Widgets, the desktop program calveth with its menu entry.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps works out the library packages (Qt, ALSA, the C++ runtime) from the
# programs themselves, so the list cannot go stale.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialog's font is Arial or a font with its metrics. (Debian's libqt6gui6 brings the X11
# and offscreen window-system plugins itself.)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_GENERATOR DEB)
include(CPack)
