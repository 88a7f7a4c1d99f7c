# Configures, builds and runs the embedding project in a fresh folder.
file(REMOVE_RECURSE ${BINARY})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G Ninja
          -DTARVEL_ROOT=${TARVEL_ROOT} -DCMAKE_BUILD_TYPE=Debug
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the embedding project failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the embedding project failed")
endif()
foreach(program embedder embedder_sim embedder_qt)
  execute_process(COMMAND ${BINARY}/${program} RESULT_VARIABLE ran)
  if(NOT ran EQUAL 0)
    message(FATAL_ERROR "the embedding program ${program} failed")
  endif()
endforeach()
# Without the desktop platform, no X11 or SDL library is linked.
execute_process(COMMAND readelf -d ${BINARY}/embedder_sim
                OUTPUT_VARIABLE needed)
execute_process(COMMAND nm ${BINARY}/embedder_sim OUTPUT_VARIABLE symbols)
if(needed MATCHES "libxcb[.-]|libSDL2" OR
   symbols MATCHES " [A-Za-z] (xcb_|Mix_|SDL_|tarvel_desktop_platform)")
  message(FATAL_ERROR "embedder_sim links the desktop platform")
endif()
