# Fails when a C++ file of the project is not in clang-format's shape.
file(GLOB_RECURSE sources RELATIVE ${ROOT}
  ${ROOT}/app/*.cpp ${ROOT}/app/*.h ${ROOT}/player/*.cpp ${ROOT}/player/*.h
  ${ROOT}/selection/*.cpp ${ROOT}/selection/*.h ${ROOT}/display/*.cpp
  ${ROOT}/display/*.h ${ROOT}/marks/*.cpp ${ROOT}/marks/*.h
  ${ROOT}/trace/*.cpp ${ROOT}/trace/*.h ${ROOT}/core/*.cpp ${ROOT}/core/*.h
  ${ROOT}/menu/*.h ${ROOT}/platform/*.cpp ${ROOT}/platform/*.h
  ${ROOT}/resources/*.cpp ${ROOT}/resources/*.h ${ROOT}/tests/*.cpp
  ${ROOT}/tests/*.h ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/tools/*.cpp
  ${ROOT}/tools/*.h ${ROOT}/examples/*.cpp ${ROOT}/examples/*.h
  ${ROOT}/study/*.cpp ${ROOT}/study/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
  WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "run `make format` to reformat the files above")
endif()
