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
execute_process(COMMAND ${BINARY}/embedder RESULT_VARIABLE ran)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "the embedding program failed")
endif()
