# What `cmake --install` puts on a machine: the trainer and tarvel-report
# with a desktop entry and icons, and the library with its public headers,
# a CMake package (find_package(Tarvel)) and pkg-config files.
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

# The libraries, each with its headers. markingmenu itself is an interface:
# the core library with the desktop and the simulated platforms.
install(TARGETS markingmenu_core markingmenu_desktop markingmenu_sim
                markingmenu_window markingmenu markingmenu_qt
        EXPORT TarvelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(header IN LISTS TARVEL_PUBLIC_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvel/${folder})
endforeach()

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tarvel)
install(EXPORT TarvelTargets NAMESPACE Tarvel:: DESTINATION ${package_dir})
# A static desktop library brings its X11 and sound libraries to the
# program; a shared one keeps them to itself.
if(BUILD_SHARED_LIBS)
  set(TARVEL_STATIC OFF)
  set(TARVEL_PC_REQUIRES "Qt6Gui")
  set(TARVEL_PC_REQUIRES_PRIVATE "xcb xcb-keysyms xcb-xinput xcb-shm SDL2_mixer")
else()
  set(TARVEL_STATIC ON)
  set(TARVEL_PC_REQUIRES "Qt6Gui xcb xcb-keysyms xcb-xinput xcb-shm SDL2_mixer")
  set(TARVEL_PC_REQUIRES_PRIVATE "")
endif()
configure_package_config_file(cmake/TarvelConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfig.cmake
  INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(
  ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TarvelConfigVersion.cmake
        DESTINATION ${package_dir})
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvel)

# pkg-config gets the prefix the files are installed under at install time.
foreach(pc markingmenu markingmenu_qt)
  install(CODE "
    set(CMAKE_INSTALL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(TARVEL_PC_REQUIRES \"${TARVEL_PC_REQUIRES}\")
    set(TARVEL_PC_REQUIRES_PRIVATE \"${TARVEL_PC_REQUIRES_PRIVATE}\")
    configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/cmake/${pc}.pc.in\"
                   \"${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc\" @ONLY)
    file(INSTALL \"${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
  ")
endforeach()
