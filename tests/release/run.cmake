# Builds Tarvel as anyone would who takes the default Release build with its
# tests and benchmarks, with one compiler, in BINARY: warnings are errors
# there too, and what one compiler finds only with optimisation on (GCC's
# maybe-uninitialized) the debug test build never sees. ccache, when
# installed, keeps a rebuild of unchanged sources cheap; it changes no flag.
#
#   cmake -DTARVEL_ROOT=<source root> -DBINARY=<dir> -DCOMPILER=gcc|clang
#         -P tests/release/run.cmake
cmake_minimum_required(VERSION 3.25)

if(COMPILER STREQUAL "clang")
  find_program(CXX NAMES clang++)
else()
  find_program(CXX NAMES g++)
endif()
if(NOT CXX)
  message("release build: skipped, no ${COMPILER} compiler is installed "
          "(scripts/install-deps installs both)")
  return()
endif()

set(launcher "")
find_program(CCACHE ccache)
if(CCACHE)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE})
  # Paths under the source root hash alike from any checkout of it.
  set(ENV{CCACHE_BASEDIR} ${TARVEL_ROOT})
endif()

if(NOT EXISTS ${BINARY}/CMakeCache.txt)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${TARVEL_ROOT} -B ${BINARY} -G Ninja
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${CXX} ${launcher}
    RESULT_VARIABLE configured)
  if(NOT configured EQUAL 0)
    file(REMOVE ${BINARY}/CMakeCache.txt)
    message(FATAL_ERROR "release build: configuring with ${CXX} failed")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY}
                RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "release build: building with ${CXX} failed")
endif()
message("release build: ${CXX} built every target without a warning")
