# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout and the Debian package. The executable goes to bin/, the content of
# data/ to share/kestrune/ (the program finds it as ../share/kestrune beside itself),
# and the desktop pieces to their freedesktop places.
include(GNUInstallDirs)

set(KESTRUNE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)
set(KESTRUNE_APPSTREAM_ID com.quellary.kestrune)

install(TARGETS kestrune RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Beside bin/ as ../lib/kestrune, where the program looks for its sound module.
if(TARGET kestrune_sound)
  install(TARGETS kestrune_sound LIBRARY DESTINATION lib/kestrune)
endif()
# The whole folder, so whatever ships in data/ is installed with the rest.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrune)

install(FILES ${KESTRUNE_DESKTOP_DIR}/kestrune.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KESTRUNE_DESKTOP_DIR}/${KESTRUNE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The metainfo's screenshot, as it is published.
install(DIRECTORY ${KESTRUNE_DESKTOP_DIR}/screenshots DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrune)
install(FILES ${KESTRUNE_DESKTOP_DIR}/kestrune-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME kestrune.xml)
install(DIRECTORY ${KESTRUNE_DESKTOP_DIR}/hicolor/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${KESTRUNE_DESKTOP_DIR}/kestrune.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages are installed compressed, as Debian keeps them.
set(KESTRUNE_MAN_GZ ${CMAKE_BINARY_DIR}/man/kestrune.1.gz)
add_custom_command(OUTPUT ${KESTRUNE_MAN_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND gzip -9nc ${KESTRUNE_DESKTOP_DIR}/kestrune.1 > ${KESTRUNE_MAN_GZ}
  DEPENDS ${KESTRUNE_DESKTOP_DIR}/kestrune.1
  COMMENT "Compressing the manual page")
add_custom_target(kestrune_man ALL DEPENDS ${KESTRUNE_MAN_GZ})
install(FILES ${KESTRUNE_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package is built from debian/ (scripts/package.sh). The cpack package made
# from this build lets the deb_package test check the install rules and the library
# dependencies in seconds; it takes its fields from debian/control.
file(READ ${CMAKE_SOURCE_DIR}/debian/control KESTRUNE_CONTROL)
function(kestrune_control_field field out)
  string(REGEX MATCH "\n${field}: ([^\n]*(\n [^\n]*)*)" match "${KESTRUNE_CONTROL}")
  set(value "${CMAKE_MATCH_1}")
  # Continuation lines lose their leading space, a lone " ." becomes an empty line, and
  # list fields their trailing comma.
  string(REGEX REPLACE "\n [.](\n|$)" "\n\n" value "${value}")
  string(REGEX REPLACE "\n +" "\n" value "${value}")
  string(REGEX REPLACE ",$" "" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
kestrune_control_field(Maintainer CPACK_DEBIAN_PACKAGE_MAINTAINER)
kestrune_control_field(Section CPACK_DEBIAN_PACKAGE_SECTION)
kestrune_control_field(Priority CPACK_DEBIAN_PACKAGE_PRIORITY)
kestrune_control_field(Homepage CPACK_DEBIAN_PACKAGE_HOMEPAGE)
kestrune_control_field(Suggests CPACK_DEBIAN_PACKAGE_SUGGESTS)
kestrune_control_field(Description CPACK_DEBIAN_PACKAGE_DESCRIPTION)

set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_VENDOR Quellary)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
