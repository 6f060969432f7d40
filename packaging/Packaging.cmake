# What an install carries besides the program and its desktop files: the manual page and, for
# the Debian package, the documents Debian requires and the CPack settings that build the .deb.
#
# Every build can be installed both ways, so the package is made from the same build the tests
# ran on (scripts/package.sh makes the release's from a clean build directory). Each file belongs
# to one of three install components:
#   (the default)  the desktop entry, AppStream record, icons and manual page: every install
#   Plain          the program in bin/ and the carried face's licence: cmake --install
#   Debian         the program in /usr/games, copyright and changelogs: only the package, through
#                  cpack (EXCLUDE_FROM_ALL keeps it out of cmake --install)

if(NOT UNIX OR APPLE)
  return()
endif()

find_program(TAMAPICK_GZIP gzip REQUIRED)
set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)

# Compresses a file for /usr/share the way Debian wants it: at the highest level, and without the
# name and time stamp, so the same source always gives the same bytes.
function(tamapick_gzip source output)
  get_filename_component(name ${output} NAME_WLE)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${packaging_dir}/${name}
    COMMAND ${TAMAPICK_GZIP} -9nf ${packaging_dir}/${name}
    DEPENDS ${source}
    VERBATIM)
endfunction()

configure_file(${PROJECT_SOURCE_DIR}/docs/tamapick.6.in ${packaging_dir}/source/tamapick.6 @ONLY)
tamapick_gzip(${packaging_dir}/source/tamapick.6 ${packaging_dir}/tamapick.6.gz)
set(documents ${packaging_dir}/tamapick.6.gz)
install(FILES ${packaging_dir}/tamapick.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The revision names the release the package is built on (1~deb12u1, 1~deb13u1, or 1 on testing),
# so that each release's package sorts above the one before it. A system the script does not know
# as Debian gets no package.
execute_process(COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/debian-revision.sh
  RESULT_VARIABLE not_debian OUTPUT_VARIABLE revision_and_distribution OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT not_debian)
  separate_arguments(revision_and_distribution UNIX_COMMAND "${revision_and_distribution}")
  list(GET revision_and_distribution 0 TAMAPICK_DEBIAN_REVISION)
  list(GET revision_and_distribution 1 TAMAPICK_DEBIAN_DISTRIBUTION)
  set(TAMAPICK_DEBIAN_VERSION ${PROJECT_VERSION}-${TAMAPICK_DEBIAN_REVISION})
  set(TAMAPICK_MAINTAINER "tamapick developers <tamapick@users.noreply.github.com>"
    CACHE STRING "The Debian package's maintainer: name <address>")

  # The machine-readable copyright file is made from LICENSE, so the two never disagree. Debian
  # calls this licence "Expat" ("MIT" names several different texts).
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
  if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
    message(FATAL_ERROR "LICENSE does not read: title, Copyright (c) line, blank line, licence text")
  endif()
  set(holders ${CMAKE_MATCH_1})
  # In a DEP-5 field every continuation line starts with a space, and an empty line is " .".
  string(REPLACE "\n\n" "\n.\n" license_text "${CMAKE_MATCH_2}")
  string(REPLACE "\n" "\n " license_text " ${license_text}")
  # The Japanese face the program carries is a subset of Noto Sans CJK JP, under its own licence.
  set(fallback_face_licence ${PROJECT_SOURCE_DIR}/assets/fonts/OFL.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${fallback_face_licence})
  file(READ ${fallback_face_licence} ofl)
  string(REGEX REPLACE "^.*\n(-+\nSIL OPEN FONT LICENSE)" "\\1" ofl "${ofl}")
  string(REGEX REPLACE "\n+$" "" ofl "${ofl}")
  string(REPLACE "\n\n" "\n.\n" ofl "${ofl}")
  string(REPLACE "\n" "\n " ofl " ${ofl}")
  set(fallback_face_copyright
    "\nFiles: assets/fonts/*.otf\nCopyright: 2014-2021 Adobe (http://www.adobe.com/)\nLicense: OFL-1.1\n${ofl}\n")
  file(WRITE ${packaging_dir}/source/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: ${PROJECT_NAME}\n"
    "\n"
    "Files: *\n"
    "Copyright: ${holders}\n"
    "License: Expat\n"
    "${license_text}\n"
    "${fallback_face_copyright}")

  configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in ${packaging_dir}/source/changelog.Debian @ONLY)
  tamapick_gzip(${PROJECT_SOURCE_DIR}/CHANGELOG ${packaging_dir}/changelog.gz)
  tamapick_gzip(${packaging_dir}/source/changelog.Debian ${packaging_dir}/changelog.Debian.gz)
  list(APPEND documents ${packaging_dir}/changelog.gz ${packaging_dir}/changelog.Debian.gz)
  # Debian's policy puts games in /usr/games.
  install(TARGETS tamapick RUNTIME DESTINATION games COMPONENT Debian EXCLUDE_FROM_ALL)
  install(FILES ${packaging_dir}/source/copyright ${packaging_dir}/changelog.gz ${packaging_dir}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Debian EXCLUDE_FROM_ALL)
  # lintian asks a first upload to unstable to close an ITP bug; a build for a stable release
  # is not such an upload, and an override there would go unused.
  if(TAMAPICK_DEBIAN_DISTRIBUTION STREQUAL "unstable")
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${PROJECT_NAME}
            COMPONENT Debian EXCLUDE_FROM_ALL)
  endif()

  set(CPACK_GENERATOR DEB)
  # One package of the default component and the Debian one.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL Unspecified Debian)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "number picker for Japanese lotteries, with bears and balloons")
  set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/description.txt)
  set(CPACK_PACKAGE_CONTACT ${TAMAPICK_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAMAPICK_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAMAPICK_DEBIAN_REVISION})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries come from what the program links, as dpkg-shlibdeps reads them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The Japanese captions need a Japanese face; the end-of-draw beep plays the theme's bell through
  # libcanberra's sound-server driver (PulseAudio, or PipeWire in its place); on a Wayland desktop
  # Qt's Wayland plugin runs the window natively rather than through XWayland.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-ipafont-gothic | fonts-noto-cjk, sound-theme-freedesktop, libcanberra-pulse, qt6-wayland")
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_TAMAPICK_STRIP ${CMAKE_STRIP})
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/strip_notes.cmake)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  include(CPack)
endif()

add_custom_target(tamapick_documents ALL DEPENDS ${documents})
