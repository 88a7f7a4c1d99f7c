# What `cmake --install` puts on a machine: the trainer and tarvel-report
# with a desktop entry and icons, and the library with its public headers,
# a CMake package (find_package(Tarvel)) and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

foreach(program tarvel tarvel_report)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
if(TARGET tarvel)
  install(FILES app/tarvel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${TARVEL_ICON_THEME_DIR}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

set(library_targets markingmenu)
if(TARGET markingmenu_qt)
  list(APPEND library_targets markingmenu_qt)
  install(FILES qt/qt_marking_menu.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvel/qt)
endif()
install(TARGETS ${library_targets} EXPORT TarvelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES menu/marking_menu.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvel/menu)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tarvel)
install(EXPORT TarvelTargets NAMESPACE Tarvel:: DESTINATION ${package_dir})
configure_package_config_file(cmake/TarvelConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfig.cmake
  INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(
  ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfigVersion.cmake
        DESTINATION ${package_dir})

# pkg-config gets the prefix the files are installed under at install time.
install(CODE "
  set(CMAKE_INSTALL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/cmake/markingmenu.pc.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/markingmenu.pc\" @ONLY)
  file(INSTALL \"${CMAKE_CURRENT_BINARY_DIR}/markingmenu.pc\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
")
