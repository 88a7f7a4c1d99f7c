# Builds the fuzz targets with clang in BINARY (configured once, later runs
# rebuild what changed), replays one target's seed corpus, then fuzzes it
# for SECONDS. FUZZER names the target: fuzz_menu (the library's public
# calls, seeds in corpus/, the default) or fuzz_study (the study reader,
# seeds in study_corpus/). New inputs go to BINARY/corpus (BINARY/corpus-
# FUZZER for the others), never into the repository's seed corpus; a
# crashing input is written to BINARY/ and replayed with full stacks.
#
#   cmake -DTARVEL_ROOT=<source root> -DBINARY=<dir> -DSECONDS=<n>
#         [-DFUZZER=fuzz_study] [-DCLANGXX=<clang++>] -P tests/fuzz/run.cmake
cmake_minimum_required(VERSION 3.25)

set(source ${TARVEL_ROOT}/tests/fuzz)
if(NOT FUZZER)
  set(FUZZER fuzz_menu)
endif()
if(FUZZER STREQUAL "fuzz_menu")
  set(seeds ${source}/corpus)
  set(new_inputs ${BINARY}/corpus)
  set(prefix ${BINARY}/)
else()
  string(REGEX REPLACE "^fuzz_" "" short ${FUZZER})
  set(seeds ${source}/${short}_corpus)
  set(new_inputs ${BINARY}/corpus-${FUZZER})
  set(prefix ${BINARY}/${FUZZER}-)
endif()
if(NOT CLANGXX)
  find_program(CLANGXX clang++)
endif()
if(NOT CLANGXX)
  message("fuzz: skipped, clang++ is not installed (scripts/install-deps "
          "installs it)")
  return()
endif()

if(NOT EXISTS ${BINARY}/CMakeCache.txt)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${BINARY} -G Ninja
            -DCMAKE_CXX_COMPILER=${CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
            -DTARVEL_ROOT=${TARVEL_ROOT}
    RESULT_VARIABLE configured)
  if(NOT configured EQUAL 0)
    file(REMOVE ${BINARY}/CMakeCache.txt)
    message(FATAL_ERROR "fuzz: configuring the fuzz build failed")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target ${FUZZER}
                RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "fuzz: building the fuzz target failed")
endif()

set(fuzzer ${BINARY}/${FUZZER})
# -timeout catches a hang: no input needs more than a few seconds.
set(limits -timeout=30 -rss_limit_mb=2560 -max_len=4096 -len_control=20)
if(EXISTS ${source}/${FUZZER}.dict)
  list(APPEND limits -dict=${source}/${FUZZER}.dict)
endif()

# Shows the whole stack of a crashing input: the fast unwinder stops at the
# first frame of a library built without frame pointers (Qt).
function(replay_with_full_stacks)
  file(GLOB artifacts ${prefix}crash-* ${prefix}leak-* ${prefix}timeout-*
       ${prefix}oom-*)
  foreach(artifact IN LISTS artifacts)
    message("fuzz: replaying ${artifact}")
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=fast_unwind_on_malloc=0
              ${fuzzer} ${limits} ${artifact})
  endforeach()
endfunction()

file(GLOB old_artifacts ${prefix}crash-* ${prefix}leak-* ${prefix}timeout-*
     ${prefix}oom-*)
if(old_artifacts)
  file(REMOVE ${old_artifacts})
endif()

file(GLOB seed_files ${seeds}/*)
list(LENGTH seed_files seed_count)
message("fuzz: replaying the ${seed_count} seeds")
execute_process(COMMAND ${fuzzer} ${limits} -artifact_prefix=${prefix}
                        ${seed_files}
                RESULT_VARIABLE replayed)
if(NOT replayed EQUAL 0)
  replay_with_full_stacks()
  message(FATAL_ERROR "fuzz: a seed input fails")
endif()

file(MAKE_DIRECTORY ${new_inputs})
if(FUZZER STREQUAL "fuzz_menu")
  set(log ${BINARY}/fuzz.log)
else()
  set(log ${BINARY}/${FUZZER}.log)
endif()
message("fuzz: fuzzing ${FUZZER} for ${SECONDS} s, new inputs in "
        "${new_inputs}, progress in ${log}")
execute_process(
  COMMAND ${fuzzer} ${limits} -max_total_time=${SECONDS} -print_final_stats=1
          -artifact_prefix=${prefix} ${new_inputs} ${seeds}
  RESULT_VARIABLE fuzzed
  ERROR_FILE ${log})
file(READ ${log} output)
string(REGEX MATCHALL "#[0-9]+[ \t]+DONE[^\n]*" done "${output}")
string(REGEX MATCHALL "stat::[a-z_]+:[ \t]*[0-9]+" stats "${output}")
string(REGEX MATCH "fuzz_menu: [0-9]+ public calls[^\n]*" calls "${output}")
if(NOT fuzzed EQUAL 0)
  string(LENGTH "${output}" length)
  set(at 0)
  if(length GREATER 3000)
    math(EXPR at "${length} - 3000")
  endif()
  string(SUBSTRING "${output}" ${at} -1 tail)
  message("${tail}")
  replay_with_full_stacks()
  message(FATAL_ERROR "fuzz: the fuzzer found a failing input (see above)")
endif()
message("fuzz: figures")
foreach(line IN LISTS done stats calls)
  message("  ${line}")
endforeach()
