# Converts generated subtitle files with marliva-convert and compares the
# SHA-256 of every output with the one recorded in the cases file.
#
#   cmake -DGENSUBS=marliva-gensubs -DCONVERT=marliva-convert -DCASES=cases.txt
#         -DWORK=scratch-dir [-DUPDATE=ON] -P check_outputs.cmake
#
# With UPDATE=ON the cases file is rewritten with the checksums of this run:
# only after a deliberate change of what the engine writes.
cmake_minimum_required(VERSION 3.20)
foreach(var GENSUBS CONVERT CASES WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_outputs.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(STRINGS "${CASES}" lines)
set(rewritten "")
set(failures "")
set(checked 0)
foreach(text IN LISTS lines)
  if(text MATCHES "^#" OR text STREQUAL "")
    string(APPEND rewritten "${text}\n")
    continue()
  endif()
  # name kind entries seed input-extension output-extension sha256 [options...]
  string(REGEX REPLACE " +" ";" fields "${text}")
  list(POP_FRONT fields name kind entries seed inExt outExt expected)
  set(input "${WORK}/${kind}-${entries}-${seed}.${inExt}")
  if(NOT EXISTS "${input}")
    execute_process(COMMAND "${GENSUBS}" ${kind} ${entries} ${seed} "${input}"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${name}: marliva-gensubs failed (${status})")
    endif()
  endif()
  set(output "${WORK}/${name}.out.${outExt}")
  execute_process(COMMAND "${CONVERT}" ${fields} "${input}" "${output}"
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT EXISTS "${output}")
    list(APPEND failures "${name}: marliva-convert exited with ${status}: ${errors}")
    string(APPEND rewritten "${text}\n")
    continue()
  endif()
  file(SHA256 "${output}" actual)
  if(NOT actual STREQUAL expected)
    list(APPEND failures "${name}: output ${output} has SHA-256 ${actual}, recorded ${expected}")
  endif()
  list(JOIN fields " " options)
  string(STRIP "${name} ${kind} ${entries} ${seed} ${inExt} ${outExt} ${actual} ${options}" text)
  string(APPEND rewritten "${text}\n")
  math(EXPR checked "${checked} + 1")
endforeach()

if(UPDATE)
  file(WRITE "${CASES}" "${rewritten}")
  message(STATUS "recorded the checksums of ${checked} outputs in ${CASES}")
  return()
endif()
if(failures)
  list(JOIN failures "\n" report)
  message(FATAL_ERROR "outputs differ from the recorded ones:\n${report}")
endif()
message(STATUS "${checked} outputs identical to the recorded ones")
