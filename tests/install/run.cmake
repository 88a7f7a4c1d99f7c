# Installs Tarvel into fresh prefixes under BINARY and builds programs
# against each, through its CMake package and through pkg-config: first the
# build in BUILD (static libraries), then a shared build of the libraries
# alone, configured from ROOT here. FLAGS are the compiler flags the build
# in BUILD was made with that a program must share (sanitizers); VERSION
# is the project's.
file(REMOVE_RECURSE ${BINARY})
string(REGEX MATCH "^[0-9]+" MAJOR ${VERSION})
separate_arguments(flags UNIX_COMMAND "${FLAGS}")

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what}:\n${out}")
  endif()
endfunction()

# Output of a command that must succeed, in `var`.
function(capture var)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed: ${err}")
  endif()
  set(${var} "${out}" PARENT_SCOPE)
endfunction()

function(expect_files prefix)
  foreach(file ${ARGN})
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "not installed: ${file}")
    endif()
  endforeach()
endfunction()

# The simulated-platform program must not bring the desktop platform, its
# X11 and sound libraries, while the desktop one does: statically, or as
# the shared library. `needed` is readelf's list of libraries a program
# names itself.
function(expect_desktop_deps program wanted)
  capture(needed readelf -d ${program})
  capture(symbols nm ${program})
  string(REGEX MATCH "libxcb[.-]|libSDL2|libmarkingmenu_desktop" direct
         "${needed}")
  string(REGEX MATCH " [A-Za-z] (xcb_|Mix_|SDL_|tarvel_desktop_platform)"
         used "${symbols}")
  if(wanted AND NOT (direct AND used))
    message(FATAL_ERROR "${program} lacks the desktop platform's libraries")
  elseif(NOT wanted AND (direct OR used))
    message(FATAL_ERROR "${program} brings X11 or SDL: ${direct} ${used}")
  endif()
endfunction()

# Builds and runs the programs in consumer/ against the install in `prefix`.
function(check_cmake_package prefix dir)
  run("configuring the find_package(Tarvel) programs"
      ${CMAKE_COMMAND} -S ${SOURCE}/consumer -B ${dir} -G Ninja
      -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${ARGN}")
  run("building the find_package(Tarvel) programs"
      ${CMAKE_COMMAND} --build ${dir})
  foreach(program consumer consumer_qt consumer_sim consumer_window)
    run("${program} (find_package) failed" ${dir}/${program})
  endforeach()
  expect_desktop_deps(${dir}/consumer ON)
  expect_desktop_deps(${dir}/consumer_sim OFF)
  expect_desktop_deps(${dir}/consumer_window OFF)
endfunction()

# The README's command line, for the library and for its Qt layer, with
# --as-needed: the desktop platform stays the default all the same.
function(check_pkg_config prefix dir)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  file(MAKE_DIRECTORY ${dir})
  foreach(module markingmenu markingmenu_qt)
    capture(pkg pkg-config --cflags --libs ${module})
    separate_arguments(pkg UNIX_COMMAND "${pkg}")
    set(defines "")
    if(module STREQUAL markingmenu_qt)
      set(defines -DWITH_QT_LAYER)
    endif()
    run("a program using pkg-config ${module} did not build"
        c++ -std=c++20 ${ARGN} ${defines} ${SOURCE}/consumer/main.cpp
        -Wl,--as-needed ${pkg} -o ${dir}/${module})
    run("the pkg-config ${module} program failed" ${dir}/${module})
  endforeach()
endfunction()

# The build in BUILD, static.
set(prefix ${BINARY}/static)
run("cmake --install failed" ${CMAKE_COMMAND} --install ${BUILD}
    --prefix ${prefix})
expect_files(${prefix} bin/tarvel bin/tarvel-report
  share/applications/tarvel.desktop
  share/icons/hicolor/16x16/apps/tarvel.png
  share/icons/hicolor/48x48/apps/tarvel.png
  share/icons/hicolor/256x256/apps/tarvel.png
  share/doc/tarvel/LICENSE
  lib/libmarkingmenu_core.a lib/libmarkingmenu_desktop.a
  lib/libmarkingmenu_sim.a lib/libmarkingmenu_window.a
  lib/libmarkingmenu_qt.a
  lib/cmake/Tarvel/TarvelConfig.cmake
  lib/pkgconfig/markingmenu.pc lib/pkgconfig/markingmenu_qt.pc)
# Embedders see the public headers only.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
list(SORT headers)
set(public tarvel/menu/marking_menu.h tarvel/platform/image_surface.h
    tarvel/platform/platform.h tarvel/platform/qt_window/window_input.h
    tarvel/platform/qt_window/window_platform.h tarvel/platform/sim_platform.h
    tarvel/qt/qt_marking_menu.h)
if(NOT headers STREQUAL public)
  message(FATAL_ERROR "headers installed: ${headers}")
endif()
check_cmake_package(${prefix} ${BINARY}/static-cmake ${FLAGS})
check_pkg_config(${prefix} ${BINARY}/static-pkg-config ${flags})

# A shared build of the libraries alone.
set(prefix ${BINARY}/shared)
run("configuring a shared build"
    ${CMAKE_COMMAND} -S ${ROOT} -B ${BINARY}/shared-build -G Ninja
    -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Debug
    -DTARVEL_BUILD_APP=OFF -DTARVEL_BUILD_TESTS=OFF -DTARVEL_BUILD_BENCH=OFF)
run("the shared build failed" ${CMAKE_COMMAND} --build ${BINARY}/shared-build
    --target markingmenu_core markingmenu_desktop markingmenu_sim
    markingmenu_window markingmenu_qt)
run("cmake --install of the shared build failed"
    ${CMAKE_COMMAND} --install ${BINARY}/shared-build --prefix ${prefix})
# Versioned, and exporting nothing but what the public headers declare.
foreach(library markingmenu_core markingmenu_desktop markingmenu_sim
                markingmenu_window markingmenu_qt)
  set(file ${prefix}/lib/lib${library}.so.${VERSION})
  expect_files(/ ${file} ${prefix}/lib/lib${library}.so)
  capture(dynamic readelf -d ${file})
  if(NOT dynamic MATCHES "soname: \\[lib${library}\\.so\\.${MAJOR}\\]")
    message(FATAL_ERROR "lib${library}.so has no versioned SONAME")
  endif()
  capture(exported nm -D --defined-only -C ${file})
  string(STRIP "${exported}" exported)
  string(REPLACE "\n" ";" exported "${exported}")
  foreach(line IN LISTS exported)
    string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" symbol "${line}")
    # m* calls, the platform classes and the Qt layer, with their vtables
    # and type information; inline code of the standard library and Qt
    # they instantiate; the symbol that pulls the desktop platform in; the
    # linker's own.
    if(NOT symbol MATCHES "^((vtable|typeinfo|typeinfo name) for )?(platform|tarvel)::"
       AND NOT symbol MATCHES "^m[A-Z][A-Za-z]*(\\(|$)"
       AND NOT symbol MATCHES "^([a-z ]+ )?(std|__gnu_cxx|Q[A-Za-z]*)::"
       AND NOT symbol MATCHES "^(tarvel_desktop_platform|__bss_start|_edata|_end)$")
      message(FATAL_ERROR "lib${library}.so exports ${symbol}")
    endif()
  endforeach()
endforeach()
check_cmake_package(${prefix} ${BINARY}/shared-cmake)
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib)
check_pkg_config(${prefix} ${BINARY}/shared-pkg-config)
foreach(program consumer_sim consumer_window)
  capture(libraries ldd ${BINARY}/shared-cmake/${program})
  if(libraries MATCHES "markingmenu_desktop|SDL2")
    message(FATAL_ERROR "${program} loads the desktop platform:\n${libraries}")
  endif()
endforeach()
message(STATUS "installed static and shared, found and linked both ways")
