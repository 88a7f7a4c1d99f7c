# Installs the build in BUILD into a fresh prefix under BINARY, checks what
# is there, and builds and runs a program against it twice: as a CMake
# package and through pkg-config. FLAGS are the compiler flags the build
# was made with that a program must share (sanitizers).
file(REMOVE_RECURSE ${BINARY})
set(prefix ${BINARY}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

foreach(file bin/tarvel bin/tarvel-report
             share/applications/tarvel.desktop
             share/icons/hicolor/16x16/apps/tarvel.png
             share/icons/hicolor/48x48/apps/tarvel.png
             share/icons/hicolor/256x256/apps/tarvel.png
             include/tarvel/menu/marking_menu.h
             include/tarvel/qt/qt_marking_menu.h
             lib/libmarkingmenu.a lib/libmarkingmenu_qt.a
             lib/cmake/Tarvel/TarvelConfig.cmake
             lib/pkgconfig/markingmenu.pc)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# Embedders see the public headers only.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
if(NOT headers STREQUAL "tarvel/menu/marking_menu.h;tarvel/qt/qt_marking_menu.h")
  message(FATAL_ERROR "headers installed: ${headers}")
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE}/consumer -B ${BINARY}/cmake -G Ninja
          -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${FLAGS}"
  RESULT_VARIABLE configured)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY}/cmake
                RESULT_VARIABLE built)
if(NOT configured EQUAL 0 OR NOT built EQUAL 0)
  message(FATAL_ERROR "a program using find_package(Tarvel) did not build")
endif()
execute_process(COMMAND ${BINARY}/cmake/consumer RESULT_VARIABLE ran)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "the find_package program failed")
endif()

set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
execute_process(COMMAND pkg-config --cflags --libs markingmenu
                OUTPUT_VARIABLE pkg OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE found)
if(NOT found EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know markingmenu")
endif()
separate_arguments(pkg UNIX_COMMAND "${pkg}")
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
execute_process(
  COMMAND c++ -std=c++20 ${flags} ${SOURCE}/consumer/main.cpp ${pkg}
          -o ${BINARY}/pkg-config-consumer
  RESULT_VARIABLE compiled)
if(NOT compiled EQUAL 0)
  message(FATAL_ERROR "a program using pkg-config did not build")
endif()
execute_process(COMMAND ${BINARY}/pkg-config-consumer RESULT_VARIABLE ran)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "the pkg-config program failed")
endif()
message(STATUS "installed, found and linked both ways")
