# Installation (cmake --install, honouring CMAKE_INSTALL_PREFIX and DESTDIR)
# and the Debian package (scripts/package.sh, through CPack).
#
#   bin/hinagiku, bin/hinagikuctl
#   share/hinagiku/help_html/          the help pages (found relative to bin/)
#   share/applications/<id>.desktop    the application menu entry
#   share/icons/hicolor/…/apps/<id>.*  the application icon
#   share/metainfo/<id>.metainfo.xml   AppStream metadata
#   share/man/man1/hinagiku.1, hinagikuctl.1
include(GNUInstallDirs)

set(HINAGIKU_APP_ID "org.hinagiku.Hinagiku")
# The project's web address, for the screenshots of the AppStream metadata
# (which must be web addresses); without one the metadata lists none.
set(HINAGIKU_WEB_URL "" CACHE STRING "Web address of the project (AppStream screenshots)")

install(TARGETS hinagiku hinagikuctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/help_html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/hinagiku)
install(FILES ${PROJECT_SOURCE_DIR}/data/${HINAGIKU_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hinagiku.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${HINAGIKU_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hinagiku_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${HINAGIKU_APP_ID}.png)
endforeach()

set(HINAGIKU_METAINFO_URLS "")
if(HINAGIKU_WEB_URL)
  file(GLOB screenshots RELATIVE ${PROJECT_SOURCE_DIR}/docs/screenshots
       ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
  list(SORT screenshots)
  string(APPEND HINAGIKU_METAINFO_URLS "  <url type=\"homepage\">${HINAGIKU_WEB_URL}</url>\n")
  string(APPEND HINAGIKU_METAINFO_URLS "  <screenshots>\n")
  set(kind " type=\"default\"")
  foreach(shot ${screenshots})
    string(REGEX REPLACE "\\.png$" "" caption "${shot}")
    string(REPLACE "_" " " caption "${caption}")
    string(APPEND HINAGIKU_METAINFO_URLS
      "    <screenshot${kind}>\n      <caption>${caption}</caption>\n"
      "      <image>${HINAGIKU_WEB_URL}/screenshots/${shot}</image>\n    </screenshot>\n")
    set(kind "")
  endforeach()
  string(APPEND HINAGIKU_METAINFO_URLS "  </screenshots>\n")
endif()
configure_file(${PROJECT_SOURCE_DIR}/data/${HINAGIKU_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/data/${HINAGIKU_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${HINAGIKU_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the package's changelog go compressed, as Debian wants
# them; gzip -n keeps the bytes the same from build to build.
set(HINAGIKU_MAINTAINER "Hinagiku developers <hinagiku@example.org>"
    CACHE STRING "Maintainer of the Debian package (name <address>)")
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in
               ${PROJECT_BINARY_DIR}/data/changelog @ONLY)
set(compressed)
foreach(source docs/man/hinagiku.1 docs/man/hinagikuctl.1 BINARY:data/changelog)
  if(source MATCHES "^BINARY:(.*)")
    set(input ${PROJECT_BINARY_DIR}/${CMAKE_MATCH_1})
  else()
    set(input ${PROJECT_SOURCE_DIR}/${source})
  endif()
  get_filename_component(name ${input} NAME)
  set(output ${PROJECT_BINARY_DIR}/data/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9 -n -c ${input} > ${output}
    DEPENDS ${input} VERBATIM)
  list(APPEND compressed ${output})
endforeach()
add_custom_target(hinagiku_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/data/hinagiku.1.gz ${PROJECT_BINARY_DIR}/data/hinagikuctl.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/data/changelog.gz ${PROJECT_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hinagiku)

# The Debian package. Depends come from the shared libraries the programs
# link (dpkg-shlibdeps) plus what they open at run time.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "hinagiku")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${HINAGIKU_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resident desktop calendar and personal organiser")
set(CPACK_PACKAGE_DESCRIPTION
    "Hinagiku keeps a small borderless window on the desktop with the date,\n"
    "the time and a month calendar marking Japanese public holidays, with\n"
    "popup reminders, to-do entries, a diary, sticky memos, a ToDo board, a\n"
    "phone book, birthdays, a cycle tracker, timers and a launcher. Its user\n"
    "interface is in Japanese.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont, fonts-noto-cjk, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
include(CPack)
