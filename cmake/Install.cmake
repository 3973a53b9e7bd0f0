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

set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_VENDOR Quellary)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for navigation menus of web pages")
set(CPACK_PACKAGE_DESCRIPTION
  "Kestrune builds Vorane menu applets: navigation menus for web pages whose top-level\n"
  "menus open sub menus to any depth. Start from a built-in menu style or a template of\n"
  "your own, edit the menu tree and the look of every menu and item, check the sizes and\n"
  "media, preview the page in a web browser and save it ready to publish.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quellary <kestrune@quellary.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quellary.example/kestrune")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Preview opens the page in a web browser.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "www-browser")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
