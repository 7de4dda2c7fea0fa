# Installing: the game in games/ (ZOA_GAMES_DIR), its data in share/zoa_noli/data (where the
# game looks when no data lies beside it), a desktop entry with its icon, the
# manual page and the AppStream description where desktops and software
# centres find them. CPack turns the same into a .deb.

# Set by whoever packages the game: the maintainer named in the package and its
# changelog, and the home page the package and the AppStream screenshots point to.
set(ZOA_MAINTAINER "ZOA_NOLI developers <zoa-noli@example.org>"
    CACHE STRING "Maintainer of the packaged game, as: Name <address>")
set(ZOA_HOMEPAGE "https://zoa-noli.example.org/"
    CACHE STRING "Home page of the game, ending in /; the README's pictures lie under docs/ there")
# Debian keeps games in games/ beside bin/ (on every user's PATH there); a
# distribution that puts them in bin/ sets this to bin.
set(ZOA_GAMES_DIR "games" CACHE STRING "Where the game's program is installed, under the prefix")
# The AppStream component id, and the date of this version's release.
set(ZOA_APP_ID "org.zoa_noli.zoa_noli")
set(ZOA_RELEASE_DATE "2026-12-09")
set(ZOA_RELEASE_DATE_RFC2822 "Wed, 09 Dec 2026 00:00:00 +0000")
# Debian wants the documentation under the package's name.
set(ZOA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zoa-noli)

set(ZOA_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/zoa_noli.metainfo.xml.in
               ${ZOA_PACKAGING_DIR}/${ZOA_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${ZOA_PACKAGING_DIR}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${ZOA_PACKAGING_DIR}/changelog @ONLY)
# Manual pages and changelogs are installed compressed, without a time stamp
# so that two builds make the same package.
find_program(ZOA_GZIP gzip REQUIRED)
foreach(file zoa_noli.6 changelog)
  if(file STREQUAL "changelog")
    set(source ${ZOA_PACKAGING_DIR}/changelog)
  else()
    set(source ${CMAKE_SOURCE_DIR}/packaging/${file})
  endif()
  add_custom_command(
    OUTPUT ${ZOA_PACKAGING_DIR}/${file}.gz
    COMMAND ${ZOA_GZIP} -9nc ${source} > ${ZOA_PACKAGING_DIR}/${file}.gz
    DEPENDS ${source}
    VERBATIM)
endforeach()
add_custom_target(zoa_packaging ALL
                  DEPENDS ${ZOA_PACKAGING_DIR}/zoa_noli.6.gz ${ZOA_PACKAGING_DIR}/changelog.gz)

install(TARGETS zoa_noli RUNTIME DESTINATION ${ZOA_GAMES_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zoa_noli.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZOA_PACKAGING_DIR}/${ZOA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZOA_PACKAGING_DIR}/zoa_noli.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
if(ZOA_DATA)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/data
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zoa_noli
          PATTERN ".generated" EXCLUDE)
  install(FILES ${CMAKE_BINARY_DIR}/data/icon.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
          RENAME zoa_noli.png)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/PORT.md
              ${ZOA_PACKAGING_DIR}/copyright ${ZOA_PACKAGING_DIR}/changelog.gz
        DESTINATION ${ZOA_DOC_DIR})

set(CPACK_PACKAGE_NAME "zoa-noli")
set(CPACK_PACKAGE_VENDOR "ZOA_NOLI developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling action game in 640 x 480 and 256 colours")
set(CPACK_PACKAGE_DESCRIPTION
    "A single-player action game: a hero with a jet pack jumps, flies, charges and\n"
    "throws bouncing energy bombs through eight tile-built stages in front of three\n"
    "parallax layers. It plays in full screen or in a window, with the keyboard or\n"
    "a game controller, saves the game, and makes its own screenshots and videos.\n"
    "\n"
    "Recorded runs replay exactly, and the game also runs without a window for\n"
    "tests. The stage compiler for making stages is not part of this package.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZOA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_GENERATOR "DEB")
set(CPACK_STRIP_FILES ON)
# Directories as Debian has them, whatever the umask of whoever packages.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZOA_HOMEPAGE}")
# What the program links (SDL, zlib, the C++ runtime) is read from the binary.
# FFmpeg is loaded only to play the logo or record a video, so nothing that
# reads what a program links finds it: Debian 12's names of those libraries are
# given here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libavformat59, libavcodec59, libavutil57, libswscale6, libswresample4")
include(CPack)
