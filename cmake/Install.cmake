# What `cmake --install` puts under the prefix besides the executable and the help pages,
# and the Debian package made of it (`cpack -G DEB`, see scripts/package-deb.sh).

include(GNUInstallDirs)

# Installing (and cpack) takes what is built instead of first building everything, tests and
# benchmark included; scripts/package-deb.sh builds the targets the package holds.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(SIGILON_APP_ID org.sigilon.Sigilon)
set(SIGILON_PROFILE_TYPE application/x-sigilon-profile)
string(REPLACE "/" "-" SIGILON_PROFILE_ICON ${SIGILON_PROFILE_TYPE})

include(${CMAKE_CURRENT_LIST_DIR}/GeneratedIcons.cmake)

# The editor names its launcher entry, so that the desktop shows the window with its icon.
if(TARGET sigilon_gui)
  target_compile_definitions(sigilon_gui PRIVATE SIGILON_APP_ID="${SIGILON_APP_ID}")
endif()

# Debian wants manual pages compressed, without a time stamp so that builds are repeatable.
set(SIGILON_MANUAL_GZ ${CMAKE_BINARY_DIR}/sigilon.1.gz)
add_custom_command(OUTPUT ${SIGILON_MANUAL_GZ}
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/data/sigilon.1 > ${SIGILON_MANUAL_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/sigilon.1
  COMMENT "Compressing the manual page")
add_custom_target(sigilon_manual ALL DEPENDS ${SIGILON_MANUAL_GZ})

# The image helper process is started from beside the executable.
install(TARGETS sigilon-loader RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES data/${SIGILON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${SIGILON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/${SIGILON_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME ${SIGILON_APP_ID}.xml)
install(FILES ${SIGILON_MANUAL_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY ${SIGILON_ICON_THEME_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The symbol library: one catalogue and one licence text per set.
install(DIRECTORY data/symbols DESTINATION ${CMAKE_INSTALL_DATADIR}/sigilon)

# The Debian package: sigilon_<version>_amd64.deb, everything under /usr. The libraries it
# needs are computed by dpkg-shlibdeps; Qt's image plugins (TIFF), its Wayland platform plugin
# and the fonts standing in for the design's faces are loaded at run time, so they are named
# here.
file(STRINGS ${CMAKE_SOURCE_DIR}/scripts/font-packages.txt SIGILON_FONT_PACKAGES REGEX "^[^#]")
list(JOIN SIGILON_FONT_PACKAGES ", " SIGILON_FONT_DEPENDS)
set(CPACK_PACKAGE_NAME sigilon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for application icons and logos")
set(CPACK_PACKAGE_DESCRIPTION "\
Sigilon composes an icon from a rounded, gradient-filled background, an icon image and a
text, and exports it as an icon set for iOS, watchOS or macOS, or one custom size, in PNG,
JPEG, JPEG 2000, TIFF, GIF or BMP. Designs are plain-text profiles; a headless command
line renders and exports them in scripts.")
set(CPACK_PACKAGE_CONTACT "Sigilon developers <sigilon@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# libseccomp2 is also found by dpkg-shlibdeps in the image helper; named so that the helper's
# system call filter is never left out.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libseccomp2, qt6-image-formats-plugins, qt6-wayland, ${SIGILON_FONT_DEPENDS}")
include(CPack)
