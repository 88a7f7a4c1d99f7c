# Fails when a C++ file of the program is not in clang-format's shape: every
# folder scripts/floors.txt names.
file(STRINGS ${ROOT}/scripts/floors.txt lines REGEX "^[a-z]")
set(sources)
foreach(line IN LISTS lines)
  string(REGEX MATCH "^[^ \t]+" folder "${line}")
  file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${folder}/*.cpp
       ${ROOT}/${folder}/*.h)
  list(APPEND sources ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
  WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "run `make format` to reformat the files above")
endif()
