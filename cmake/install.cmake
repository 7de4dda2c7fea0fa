# Installing: the game in bin/, its data in share/zoa_noli/data (where the
# game looks when no data lies beside it), and a desktop entry with its icon
# where desktops find them. CPack turns the same into a .deb.
install(TARGETS zoa_noli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zoa_noli.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(ZOA_DATA)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/data
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zoa_noli
          PATTERN ".generated" EXCLUDE)
  install(FILES ${CMAKE_BINARY_DIR}/data/icon.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
          RENAME zoa_noli.png)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/PORT.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME "zoa-noli")
set(CPACK_PACKAGE_VENDOR "ZOA_NOLI developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Side-scrolling action game in 640 x 480 and 256 colours")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZOA_NOLI developers <zoa-noli@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
# Debian 12's names of the libraries the game needs: SDL, which it links, and
# FFmpeg, which it loads only to play the logo or record a video (so no tool
# that reads what a program links would find it: it is named here).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl2-2.0-0 (>= 2.26), libsdl2-mixer-2.0-0, libavformat59, libavcodec59, libavutil57, libswscale6, libswresample4")
include(CPack)
