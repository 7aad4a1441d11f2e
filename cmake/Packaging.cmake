# Installation layout and the Debian package.
include(GNUInstallDirs)

foreach(program quorvel quorvel-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(QUORVEL_APP_ID io.github.quorvel.Quorvel)
install(FILES packaging/${QUORVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/icons/quorvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUORVEL_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
  install(FILES packaging/icons/quorvel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${QUORVEL_APP_ID}.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Find songs on the Kugou music service and get their download links")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Runtime dependencies are read off the installed programs' shared libraries, except libcurl
# where it is loaded on the first transfer rather than linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUORVEL_LOAD_CURL_ON_FIRST_USE)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.85.0)")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
